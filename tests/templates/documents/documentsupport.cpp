#include "documentsupport.h"

#include "testsupport.h"

#include <QFile>
#include <QTextDocument>

#include <csignal>

#include <sys/resource.h>

namespace documents {

QByteArray testHeader()
{
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0\r\n"
           "{\\fonttbl{\\f0\\froman\\fcharset238 Times New Roman;}}\r\n"
           "\\paperw11906\\paperh16838\\margl1417\\margr1417\r\n";
}

void writeTemplate(const QString &path, const QList<QByteArray> &body)
{
    QByteArray text = testHeader() + "\\pard\r\n";
    for (const QByteArray &line : body)
        text += line + "\r\n";
    writeFile(path, text + "}\r\n");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> documentLines(const QString &path)
{
    QList<QByteArray> lines = readFile(path).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

QString unrtfText(const QString &path)
{
    if (!testsupport::haveTool("unrtf"))
        return {};
    QByteArray html;
    if (testsupport::runProgram("unrtf", {"--html", path}, &html) != 0)
        return {};
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(html));
    return doc.toPlainText();
}

OpenRecorder::OpenRecorder(const QString &folder)
    : log_(folder + "/opened.log"), previous_(qgetenv("ARVENA3_OPEN"))
{
    const QString script = folder + "/record-open.sh";
    writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + log_.toUtf8() + "'\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("ARVENA3_OPEN", script.toUtf8());
}

OpenRecorder::~OpenRecorder()
{
    if (previous_.isNull())
        qunsetenv("ARVENA3_OPEN");
    else
        qputenv("ARVENA3_OPEN", previous_);
}

QStringList OpenRecorder::opened() const
{
    return QString::fromUtf8(readFile(log_)).split('\n', Qt::SkipEmptyParts);
}

DiskFullAt::DiskFullAt(qint64 bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    savedSoft_ = limit.rlim_cur;
    savedHard_ = limit.rlim_max;
    // Past the limit a write fails with EFBIG instead of ending the process.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

DiskFullAt::~DiskFullAt()
{
    const rlimit limit{rlim_t(savedSoft_), rlim_t(savedHard_)};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

} // namespace documents
