// The independent readers the tests hold our workbooks against: xlrd (Debian's
// Python) and Perl's Spreadsheet::ParseExcel, through the small dump scripts
// beside this file.
#pragma once

#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace xlsreaders {

inline QString script(const QString &name)
{
    return testsupport::sourceRoot() + QStringLiteral("/tests/reports/") + name;
}

// The workbook as xlrd reads it (see dumpxls.py); an empty object, with the
// reader's complaint in `error`, when xlrd refuses the file.
inline QJsonObject readWithXlrd(const QString &path, QString *error = nullptr)
{
    QByteArray out, err;
    const int rc = testsupport::runProgram(QStringLiteral("/usr/bin/python3"), {script("dumpxls.py"), path}, &out, &err);
    if (rc != 0) {
        if (error)
            *error = QString::fromUtf8(err);
        return {};
    }
    return QJsonDocument::fromJson(out).object();
}

// One cell of xlrd's dump: {"t": ctype, "v": value, "date": bool}; ctype 0
// empty, 1 text, 2 number, 6 blank.
inline QJsonObject xlrdCell(const QJsonObject &book, int row, int column)
{
    return book.value("cells").toArray().at(row).toArray().at(column).toObject();
}

inline QString xlrdText(const QJsonObject &book, int row, int column)
{
    return xlrdCell(book, row, column).value("v").toString();
}

inline double xlrdNumber(const QJsonObject &book, int row, int column)
{
    return xlrdCell(book, row, column).value("v").toDouble();
}

inline bool xlrdEmpty(const QJsonObject &book, int row, int column)
{
    const int t = xlrdCell(book, row, column).value("t").toInt();
    return t == 0 || t == 6;
}

// The first sheet as ParseExcel reads it: one list of "<kind>:<value>" cells
// per row (see dumpxls.pl); empty, with the complaint in `error`, on failure.
inline QList<QStringList> readWithParseExcel(const QString &path, QString *error = nullptr)
{
    QByteArray out, err;
    const int rc = testsupport::runProgram(QStringLiteral("perl"), {script("dumpxls.pl"), path}, &out, &err);
    QList<QStringList> rows;
    if (rc != 0) {
        if (error)
            *error = QString::fromUtf8(err);
        return rows;
    }
    const QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'));
    for (int i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty() || i + 1 < lines.size())
            rows.append(lines[i].split(QLatin1Char('\t')));
    if (error && !lines.isEmpty())
        *error = lines.first();
    return rows;
}

} // namespace xlsreaders
