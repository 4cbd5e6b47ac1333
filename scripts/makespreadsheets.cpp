// Writes the spreadsheet templates the program carries from their small
// descriptions in resources/spreadsheets, with the program's own workbook
// engine, so that no workbook of unknown origin lives in the repository.
//
//     arvena_makespreadsheets OUTDIR resources/spreadsheets/Registru.json ...
//
// Each description gives the sheet's name, its fonts and cell formats by
// name, column widths (in characters), row heights (in points), the cells
// (A1 references, text and format) and the merged ranges; every cell of a
// merged range takes the format of its first cell, so borders go all round.
// Writes OUTDIR/<description name>.xls; exits 1 with the reason on error.
#include "reports/xls/workbook.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <stdexcept>

namespace {

struct CellRef {
    int row;
    int column;
};

CellRef parseRef(const QString &ref)
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Z]+)([0-9]+)$"));
    const QRegularExpressionMatch m = pattern.match(ref);
    if (!m.hasMatch())
        throw std::runtime_error("bad cell reference " + ref.toStdString());
    int column = 0;
    for (QChar c : m.captured(1))
        column = column * 26 + (c.unicode() - 'A' + 1);
    return {m.captured(2).toInt() - 1, column - 1};
}

xls::CellFormat parseFormat(const QJsonObject &o, const QHash<QString, int> &fonts, xls::Workbook &book)
{
    xls::CellFormat f;
    if (o.contains(QStringLiteral("font"))) {
        const QString name = o.value(QStringLiteral("font")).toString();
        if (!fonts.contains(name))
            throw std::runtime_error("unknown font " + name.toStdString());
        f.font = fonts.value(name);
    }
    if (o.contains(QStringLiteral("numberFormat")))
        f.numberFormat = book.addNumberFormat(o.value(QStringLiteral("numberFormat")).toString());
    const QString h = o.value(QStringLiteral("horizontal")).toString();
    f.horizontal = h == QLatin1String("center")  ? xls::CellFormat::Center
                   : h == QLatin1String("left")  ? xls::CellFormat::Left
                   : h == QLatin1String("right") ? xls::CellFormat::Right
                                                 : xls::CellFormat::General;
    const QString v = o.value(QStringLiteral("vertical")).toString();
    f.vertical = v == QLatin1String("top")      ? xls::CellFormat::Top
                 : v == QLatin1String("middle") ? xls::CellFormat::Middle
                                                : xls::CellFormat::Bottom;
    f.wrap = o.value(QStringLiteral("wrap")).toBool();
    f.borders = o.value(QStringLiteral("borders")).toBool();
    return f;
}

void build(const QString &descriptionPath, const QString &outputFolder)
{
    QFile file(descriptionPath);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + descriptionPath.toStdString());
    QJsonParseError error;
    const QJsonObject d = QJsonDocument::fromJson(file.readAll(), &error).object();
    if (error.error != QJsonParseError::NoError)
        throw std::runtime_error(descriptionPath.toStdString() + ": " + error.errorString().toStdString());

    xls::Workbook book = xls::Workbook::create(d.value(QStringLiteral("sheet")).toString());
    xls::Sheet &sheet = book.sheet(0);

    QHash<QString, int> fonts;
    const QJsonObject fontList = d.value(QStringLiteral("fonts")).toObject();
    for (auto it = fontList.begin(); it != fontList.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        xls::Font font;
        font.name = o.value(QStringLiteral("name")).toString(QStringLiteral("Arial"));
        font.height = int(o.value(QStringLiteral("points")).toDouble(10) * 20);
        font.bold = o.value(QStringLiteral("bold")).toBool();
        font.italic = o.value(QStringLiteral("italic")).toBool();
        fonts.insert(it.key(), book.addFont(font));
    }
    QHash<QString, int> formats;
    const QJsonObject formatList = d.value(QStringLiteral("formats")).toObject();
    for (auto it = formatList.begin(); it != formatList.end(); ++it)
        formats.insert(it.key(), book.addCellFormat(parseFormat(it.value().toObject(), fonts, book)));
    auto formatOf = [&](const QJsonValue &name) {
        if (name.isUndefined())
            return 15;
        if (!formats.contains(name.toString()))
            throw std::runtime_error("unknown format " + name.toString().toStdString());
        return formats.value(name.toString());
    };

    for (const QJsonValue &c : d.value(QStringLiteral("columns")).toArray()) {
        const QJsonObject o = c.toObject();
        const int first = parseRef(o.value(QStringLiteral("from")).toString() + QStringLiteral("1")).column;
        const int last = parseRef(o.value(QStringLiteral("to")).toString(o.value(QStringLiteral("from")).toString())
                                  + QStringLiteral("1"))
                             .column;
        sheet.setColumnWidth(first, last, int(o.value(QStringLiteral("width")).toDouble() * 256));
    }
    const QJsonObject heights = d.value(QStringLiteral("rowHeights")).toObject();
    for (auto it = heights.begin(); it != heights.end(); ++it)
        sheet.setRowHeight(it.key().toInt() - 1, int(it.value().toDouble() * 20));

    QHash<QString, int> cellFormats;
    for (const QJsonValue &c : d.value(QStringLiteral("cells")).toArray()) {
        const QJsonObject o = c.toObject();
        const CellRef ref = parseRef(o.value(QStringLiteral("at")).toString());
        const QString text = o.value(QStringLiteral("text")).toString();
        if (text.isEmpty())
            sheet.setBlank(ref.row, ref.column);
        else
            sheet.setText(ref.row, ref.column, text);
        sheet.setCellFormat(ref.row, ref.column, formatOf(o.value(QStringLiteral("format"))));
        cellFormats.insert(o.value(QStringLiteral("at")).toString(), formatOf(o.value(QStringLiteral("format"))));
    }
    for (const QJsonValue &m : d.value(QStringLiteral("merges")).toArray()) {
        const QStringList ends = m.toString().split(QLatin1Char(':'));
        const CellRef a = parseRef(ends.value(0));
        const CellRef b = parseRef(ends.value(1));
        const int xf = cellFormats.value(ends.value(0), 15);
        for (int r = a.row; r <= b.row; ++r)
            for (int col = a.column; col <= b.column; ++col)
                if (r != a.row || col != a.column)
                    sheet.setCellFormat(r, col, xf);
        sheet.mergeCells(a.row, a.column, b.row, b.column);
    }
    const QString output = outputFolder + QLatin1Char('/') + QFileInfo(descriptionPath).completeBaseName()
                           + QStringLiteral(".xls");
    book.save(output);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: arvena_makespreadsheets OUTDIR DESCRIPTION.json...\n");
        return 2;
    }
    try {
        for (int i = 2; i < args.size(); ++i)
            build(args.at(i), args.at(1));
    } catch (const xls::XlsError &e) {
        std::fprintf(stderr, "arvena_makespreadsheets: %s\n", e.what());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "arvena_makespreadsheets: %s\n", e.what());
        return 1;
    }
    return 0;
}
