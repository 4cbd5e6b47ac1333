// The workbook engine against independent readers and writers: what it writes
// xlrd and Spreadsheet::ParseExcel read back cell for cell; a template made by
// Spreadsheet::WriteExcel is filled like our own; damaged files are refused
// with a reason.
#include "datastore/sql/database.h"
#include "reports/export/spreadsheettemplate.h"
#include "reports/xls/biffrecords.h"
#include "reports/xls/workbook.h"
#include "templates/resources.h"
#include "testsupport.h"
#include "xlsreaders.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace xlsreaders;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A data set from a real dBASE table: NUME text, PRET decimal, DATAC date.
sqlstore::Query sampleRows(const testsupport::TempFolder &folder, int rows)
{
    const QString table = QLatin1Char('"') + folder.file("date.dbf") + QLatin1Char('"');
    sqlstore::database().exec("CREATE TABLE " + table + " (NUME CHAR(40), PRET DECIMAL(10,2), DATAC DATE)");
    for (int i = 0; i < rows; ++i)
        sqlstore::database().exec("INSERT INTO " + table + " (NUME, PRET, DATAC) VALUES (?, ?, ?)",
                                  {QStringLiteral("NUME %1 ţ").arg(i), i == 1 ? 0.0 : 1000.5 + i,
                                   QDate(2024, 3, 1).addDays(i)});
    return sqlstore::database().query("SELECT NUME, PRET, DATAC FROM " + table + " ORDER BY DATAC");
}

} // namespace

// Many strings, long and short, narrow and wide, so that the shared strings
// run over several continuation records; rows inserted and deleted around a
// merged range. Both readers see every cell where it should be.
TEST(XlsEngine, WhatItWritesIndependentReadersRead)
{
    testsupport::TempFolder folder;
    xls::Workbook book = xls::Workbook::create("Foaie");
    xls::Sheet &sheet = book.sheet(0);
    const int fmt = book.addCellFormat({book.addFont({"Arial", 240, true, false}), 0, xls::CellFormat::Center,
                                        xls::CellFormat::Middle, true, true});
    sheet.setText(0, 0, "Titlu");
    sheet.setCellFormat(0, 0, fmt);
    sheet.mergeCells(0, 0, 0, 3);
    sheet.setText(1, 0, "#MODEL");
    sheet.setNumber(1, 1, 2.5);
    sheet.mergeCells(1, 2, 1, 3);
    sheet.setText(2, 0, "sub");
    const int strings = 3000;
    for (int i = 0; i < strings; ++i) {
        const QString text = (i % 3 == 0 ? QStringLiteral("ţară %1 ") : QStringLiteral("text %1 ")).arg(i)
                             + QString(i % 7 * 40, QLatin1Char('x'));
        sheet.setText(10 + i, 0, text);
        sheet.setNumber(10 + i, 1, i * 1.25);
    }
    sheet.insertRowCopies(1, 3); // copies at 1..3, the model row goes to 4
    sheet.setText(2, 0, "copie");
    sheet.deleteRow(4);           // the model row again
    const QString path = folder.file("scris.xls");
    book.save(path);

    QString error;
    const QJsonObject x = readWithXlrd(path, &error);
    ASSERT_FALSE(x.isEmpty()) << error.toStdString();
    EXPECT_EQ(x.value("rows").toInt(), 10 + 2 + strings);
    EXPECT_EQ(xlrdText(x, 0, 0), "Titlu");
    EXPECT_EQ(xlrdText(x, 1, 0), "#MODEL");
    EXPECT_EQ(xlrdText(x, 2, 0), "copie");
    EXPECT_EQ(xlrdNumber(x, 3, 1), 2.5);
    EXPECT_EQ(xlrdText(x, 4, 0), "sub");
    for (int i : {0, 1, 1000, 2998, 2999}) {
        const QString expected = (i % 3 == 0 ? QStringLiteral("ţară %1 ") : QStringLiteral("text %1 ")).arg(i)
                                 + QString(i % 7 * 40, QLatin1Char('x'));
        EXPECT_EQ(xlrdText(x, 12 + i, 0), expected) << i;
        EXPECT_EQ(xlrdNumber(x, 12 + i, 1), i * 1.25) << i;
    }
    const QJsonArray merged = x.value("merged").toArray();
    QStringList ranges;
    for (const QJsonValue &m : merged)
        ranges << QString::fromLatin1(QJsonDocument(m.toArray()).toJson(QJsonDocument::Compact));
    ranges.sort();
    EXPECT_EQ(ranges, QStringList({"[0,1,0,4]", "[1,2,2,4]", "[2,3,2,4]", "[3,4,2,4]"}));

    const QList<QStringList> p = readWithParseExcel(path, &error);
    ASSERT_EQ(p.size(), 10 + 2 + strings) << error.toStdString();
    EXPECT_EQ(p[2][0], "Text:copie");
    EXPECT_EQ(p[12 + 2999][0].left(14), "Text:text 2999");
    EXPECT_EQ(p[12 + 2999][1], "Numeric:3748.75");

    // And our own reader gives back what it wrote.
    const xls::Workbook again = xls::Workbook::open(path);
    EXPECT_EQ(again.sheet(0).cell(12 + 999, 0).text, xlrdText(x, 12 + 999, 0));
    EXPECT_EQ(again.sheet(0).lastRow(), 10 + 1 + strings);
}

// A workbook past 7 MB needs more allocation-table sectors than the header
// lists, so the container chains further ones; a register of several years
// gets there.
TEST(XlsEngine, LargeWorkbookChainsItsAllocationTable)
{
    testsupport::TempFolder folder;
    xls::Workbook book = xls::Workbook::create("Mare");
    xls::Sheet &sheet = book.sheet(0);
    const int rows = 40000;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 12; ++c)
            sheet.setNumber(r, c, r * 12 + c + 0.5);
    const QString path = folder.file("mare.xls");
    book.save(path);
    ASSERT_GT(QFileInfo(path).size(), 109 * 128 * 512) << "the header alone no longer lists the table";

    QString error;
    const QJsonObject x = readWithXlrd(path, &error);
    ASSERT_FALSE(x.isEmpty()) << error.toStdString();
    EXPECT_EQ(x.value("rows").toInt(), rows);
    EXPECT_EQ(xlrdNumber(x, rows - 1, 11), (rows - 1) * 12 + 11 + 0.5);
    const xls::Workbook again = xls::Workbook::open(path);
    EXPECT_EQ(again.sheet(0).cell(rows - 1, 11).number, (rows - 1) * 12 + 11 + 0.5);
}

// A template written by another program: markers in any case and between
// blanks, a merged title, a date format, a formula and a second sheet.
TEST(XlsEngine, TemplateWrittenByAnotherProgramIsFilled)
{
    testsupport::TempFolder folder;
    const QString model = folder.file("writeexcel.xls");
    QByteArray err;
    ASSERT_EQ(testsupport::runProgram("perl", {script("makewriteexcel.pl"), model}, nullptr, &err), 0)
        << err.toStdString();

    SpreadsheetTemplate t;
    QString error;
    ASSERT_TRUE(t.open(model, &error)) << error.toStdString();
    EXPECT_EQ(t.templateRow(), 4);
    t.replace("#UNITATE", "PRIMARIA X");
    t.replace("[PERIOADA]", "in perioada 01.03.2024 - 31.03.2024");
    sqlstore::Query rows = sampleRows(folder, 3);
    rows.seek(0);
    EXPECT_EQ(t.fillRows(rows, true), 3);
    EXPECT_EQ(rows.position(), 0);
    const QString out = folder.file("umplut.xls");
    t.save(out);

    const QJsonObject x = readWithXlrd(out, &error);
    ASSERT_FALSE(x.isEmpty()) << error.toStdString();
    EXPECT_EQ(x.value("sheets").toArray().size(), 2);
    EXPECT_EQ(xlrdText(x, 0, 0), "PRIMARIA X");
    EXPECT_EQ(xlrdText(x, 1, 0), "in perioada 01.03.2024 - 31.03.2024");
    EXPECT_EQ(xlrdNumber(x, 1, 5), 3.25);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(xlrdNumber(x, 4 + i, 0), i + 1);
        EXPECT_EQ(xlrdNumber(x, 4 + i, 1), DateSerial(QDate(2024, 3, 1).addDays(i)));
        EXPECT_TRUE(xlrdCell(x, 4 + i, 1).value("date").toBool());
        EXPECT_EQ(xlrdText(x, 4 + i, 3), QStringLiteral("NUME %1 ţ").arg(i));
        EXPECT_EQ(xlrdText(x, 4 + i, 4), "fix");
        EXPECT_TRUE(xlrdEmpty(x, 4 + i, 7)) << "the #DBF cell is emptied";
    }
    EXPECT_EQ(xlrdNumber(x, 4, 2), 1000.5);
    EXPECT_TRUE(xlrdEmpty(x, 5, 2)) << "a price of 0 leaves the cell empty";
    EXPECT_EQ(xlrdText(x, 7, 0), "") << "the template row is gone";
    EXPECT_EQ(xlrdText(x, 8, 0), "Sfarsit");
    EXPECT_EQ(x.value("rows").toInt(), 9);
    EXPECT_EQ(x.value("merged").toArray().at(0).toArray(), QJsonArray({0, 1, 0, 4}));

    const QList<QStringList> p = readWithParseExcel(out, &error);
    ASSERT_EQ(p.size(), 9) << error.toStdString();
    EXPECT_EQ(p[4][1], QStringLiteral("Numeric:%1@dd.mm.yyyy").arg(DateSerial(QDate(2024, 3, 1))));
    EXPECT_EQ(p[6][3], QStringLiteral("Text:NUME 2 ţ"));
    EXPECT_EQ(p[8][0], "Text:Sfarsit");
}

// The program's own templates: the layouts' markers where the templates say.
TEST(XlsEngine, CarriedTemplatesHoldTheirMarkers)
{
    struct Case {
        const char *resource;
        const char *sheet;
        int templateRow;
        QStringList markers;
    };
    const Case cases[] = {
        {"Registru", "ModelR", 9,
         {"#NR2S", "#ZI", "#LU", "#AN", "#EMITENT", "#SUPRAF", "#CATEG", "#PRET", "#NUMERE", "#CARTE", "#NRCAD",
          "#TIPACT2", "#Z1", "#L1", "#A1", "#DESTINATAR", "#FUNCTIONAR", "#DBF"}},
        {"RegisXXL", "RegisXXL", 6,
         {"#NR", "#DATAC", "#DOSAR", "", "#VANZATOR", "#ADRESAV", "", "", "", "#COMUNA", "#SUPRAF", "#NRCAD",
          "#NRCARTE", "#NRTARLA", "#NRPARC", "#CATEG", "#PRET", "", "#DBF"}},
    };
    testsupport::TempFolder folder;
    for (const Case &c : cases) {
        const QString path = folder.file(QString::fromLatin1(c.resource) + ".xls");
        writeBytes(path, ResourceData(c.resource, "MODEL"));
        const QJsonObject x = readWithXlrd(path);
        ASSERT_FALSE(x.isEmpty()) << c.resource;
        EXPECT_EQ(x.value("sheets").toArray().at(0).toString(), c.sheet);
        for (int col = 0; col < c.markers.size(); ++col)
            EXPECT_EQ(xlrdText(x, c.templateRow, col), c.markers[col]) << c.resource << " column " << col;
        SpreadsheetTemplate t;
        QString error;
        ASSERT_TRUE(t.open(path, &error)) << error.toStdString();
        EXPECT_EQ(t.templateRow(), c.templateRow);
    }
}

// A container holding one stream.
QByteArray containerWith(const QString &stream, const QByteArray &data)
{
    xls::CompoundFile file;
    file.root.name = "Root Entry";
    file.root.storage = true;
    file.setStream(stream, data);
    return file.write();
}

// The workbook with a FILEPASS record after its BOF, as an encrypted one has.
QByteArray withPassword(const QByteArray &workbook)
{
    xls::CompoundFile file = xls::CompoundFile::read(workbook);
    QByteArray &stream = *file.stream("Workbook");
    const int afterBof = 4 + xls::biff::u16(stream, 2);
    QByteArray filePass;
    xls::biff::appendRecord(filePass, xls::biff::RecFilePass, QByteArray(6, '\0'));
    stream.insert(afterBof, filePass);
    return file.write();
}

// Damaged or foreign files are refused with a reason, never read as garbage.
TEST(XlsEngine, DamagedTemplatesAreRefusedWithAReason)
{
    testsupport::TempFolder folder;
    const QByteArray good = ResourceData("Registru", "MODEL");
    ASSERT_GT(good.size(), 4096);
    QByteArray badHeader = good;
    badHeader[30] = 3; // sector size
    QByteArray badStream = good;
    for (int i = 600; i < 1500; ++i)
        badStream[i] = char(0xEE);
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"gol.xls", QByteArray(), "nu este un registru de calcul"},
        {"text.xls", QByteArray("Nr,Data\n1,2\n"), "nu este un registru de calcul"},
        {"scurtat.xls", good.left(good.size() / 2), "deteriorat"},
        {"antet.xls", badHeader, "deteriorat"},
        {"flux.xls", badStream, ""},
        {"biff5.xls", containerWith("Book", QByteArray(600, '\0')), "prea vechi"},
        {"altceva.xls", containerWith("Document", QByteArray(600, '\0')), "nu contine un registru de calcul"},
        {"parola.xls", withPassword(good), "protejat cu parola"},
    };
    for (const Case &c : cases) {
        const QString path = folder.file(c.name);
        writeBytes(path, c.bytes);
        SCOPED_TRACE(c.name);
        SpreadsheetTemplate t;
        QString error;
        EXPECT_FALSE(t.open(path, &error)) << c.name;
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.name << ": " << error.toStdString();
    }
    SpreadsheetTemplate missing;
    QString error;
    EXPECT_FALSE(missing.open(folder.file("nu-exista.xls"), &error));
    EXPECT_TRUE(error.contains("nu exista")) << error.toStdString();
}
