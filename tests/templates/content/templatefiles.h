// The carried document templates as the tests see them: the files under
// resources/templates and the table of which markers each one holds.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TemplateRow {
    QString resource;
    // Name of the file in the data folder; "-" for files the program only uses itself.
    QString file;
    // "document", "formular" or "fragment".
    QString role;
    QStringList markers;
};

QString templatesFolder();
QList<TemplateRow> templateTable();
TemplateRow templateRow(const QString &resource);
QByteArray templateBytes(const QString &resource);

// Lines as the engine reads them (LF or CRLF ends a line).
QList<QByteArray> templateLines(const QByteArray &rtf);

// The markers of a text in order of first appearance, each once.
QStringList markersIn(const QByteArray &text);

// Braces that open or close groups; escaped braces ("\{", "\}") are text.
int braceBalance(const QByteArray &line);

// The stretch the list of pre-emption holders repeats for each holder of rank
// n: from the nearest "\qc " before "[Pree<n>]" through the first
// "\ltrrow}\pard " at least 101 characters after it, plus one character.
// Empty when the template does not have it. `start` receives its offset.
QByteArray rankRow(const QByteArray &rtf, int n, qsizetype *start = nullptr);

// Text of an RTF document as unrtf reads it, letters decoded; empty when
// unrtf could not read it.
QString unrtfText(const QString &rtfPath);
