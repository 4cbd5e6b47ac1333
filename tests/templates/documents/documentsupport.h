// Small helpers of the document tests: templates made on the spot, documents
// read back line by line or as plain text through unrtf, and a recorder of
// the files the program asks the desktop to open.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace documents {

// Header lines of the templates made by the tests: Central European font,
// Windows-1250 text.
QByteArray testHeader();

// Writes a template: the test header, a line "\pard", `body` (one line each)
// and the closing "}" line.
void writeTemplate(const QString &path, const QList<QByteArray> &body);
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// The lines of a document as written (CRLF line ends).
QList<QByteArray> documentLines(const QString &path);

// The document's text as unrtf reads it, or a null string when unrtf is not
// installed.
QString unrtfText(const QString &path);

// Every file this process (and a program it starts) writes stops growing at
// `bytes`, as on a full disk, for as long as the object lives: a write past
// it fails.
class DiskFullAt {
public:
    explicit DiskFullAt(qint64 bytes);
    ~DiskFullAt();
    DiskFullAt(const DiskFullAt &) = delete;
    DiskFullAt &operator=(const DiskFullAt &) = delete;

private:
    // The limit before, as getrlimit gave it (struct rlimit).
    unsigned long long savedSoft_ = 0;
    unsigned long long savedHard_ = 0;
    void (*previousHandler_)(int) = nullptr;
};

// Sets ARVENA3_OPEN to a script that appends each opened path to a log in
// `folder`, for as long as the object lives.
class OpenRecorder {
public:
    explicit OpenRecorder(const QString &folder);
    ~OpenRecorder();
    QStringList opened() const;

private:
    QString log_;
    QByteArray previous_;
};

} // namespace documents
