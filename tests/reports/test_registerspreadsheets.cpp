// The register spreadsheets of a period, from real tables: formats 1 and 2 in
// both numbering modes, read back with xlrd and Spreadsheet::ParseExcel; bad
// templates; the scratch files; the headless tool.
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "platform/session.h"
#include "reports/export/registerspreadsheets.h"
#include "reports/export/spreadsheettemplate.h"
#include "scriptedprompter.h"
#include "startupfixture.h"
#include "templates/resources.h"
#include "testsupport.h"
#include "xlsreaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace xlsreaders;
using sqlstore::database;

namespace {

void insert(const QString &table, const QString &columns, const QVariantList &values)
{
    QStringList marks;
    for (int i = 0; i < values.size(); ++i)
        marks << "?";
    database().exec("INSERT INTO " + QuotedTablePath(table) + " (" + columns + ") VALUES (" + marks.join(',') + ")",
                    values);
}

void addRequest(int id, int nr, int nr2, const QDate &datac, double price)
{
    insert("Cereri.dbf", "ID, NR, NR2, NRDOSAR, DATAC, SUPRAF, PRET, NRCAD, NRCARTE, TARLA, NRTARLA, NRPARC, CATEG, FUNCTIONAR",
           {id, nr, nr2, QString("D%1").arg(id), datac, "1.5", price, QString("CAD%1").arg(id),
            QString("CF%1").arg(id), "LA VIE", "T12", "P3", "ARABIL", "ANA CLERK"});
}

void addSeller(int idv, int id, int nrcrt, const QString &name, const QString &code)
{
    insert("Vanzatori.dbf", "IDV, ID, NRCRT, VANZATOR, CNPCUI, LOCV, ADRESA, JUDET",
           {idv, id, nrcrt, name, code, "SAT", QString("STR %1").arg(nrcrt), "ALBA"});
}

class RegisterSpreadsheets : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateTables();
        WriteSetting("CONST", "UNITATE", "PRIMARIA TEST");
        WriteSetting("CONST", "LOCALIT", "TESTENI");
        WriteSetting(session().workstationUser, "FUNCTIONAR", "ION CLERK");
        setMode(1);
        // Request 1 of 2024 with two sellers, its communication, offer and two acts;
        // request 2 of 2023 without a price.
        addRequest(1, 12, 12, QDate(2024, 3, 10), 15000);
        addSeller(1, 1, 1, "POPESCU ION", "1800101010011");
        addSeller(2, 1, 2, "POPESCU ANA", "2800101010012");
        addRequest(2, 2, 2, QDate(2023, 5, 2), 0);
        addSeller(3, 2, 1, "VASILE DAN", "1700101010013");
        insert("Comunicari.dbf", "IDC, ID, NR, NR2, NR2PER, DATAC, CUMPARATOR, CNPCUI, RANG",
               {1, 1, 13, 12, 1, QDate(2024, 3, 15), "VECIN UNU", "1600101010014", 3});
        insert("Comunicari.dbf", "IDC, ID, NR, NR2, NR2PER, DATAC, CUMPARATOR, CNPCUI, RANG",
               {2, 1, 14, 12, 2, QDate(2024, 4, 1), "CUMPARATOR DOI", "1500101010015", 100});
        insert("AlteActe.dbf", "IDA, ID, NR, NR2, NR2PER, DATAA, DATAEXP, MODUL, EMITENT, DESTINATAR, TIPACT",
               {1, 1, 15, 12, 3, QDate(2024, 4, 2), QDate(1899, 12, 31), "intrare", "OCPI", "PRIMARIA TEST",
                "ADRESA"});
        insert("AlteActe.dbf", "IDA, ID, NR, NR2, NR2PER, DATAA, DATAEXP, MODUL, EMITENT, DESTINATAR, TIPACT",
               {2, 1, 16, 12, 4, QDate(2024, 4, 3), QDate(2024, 4, 5), "iesire", "PRIMARIA TEST", "DADR",
                "TRANSMITERE"});
    }
    void setMode(int mode) { WriteSetting("CONST", "NumTip", QString::number(mode)); }

    QJsonObject write(int format, const QDate &from, const QDate &to, const QString &templatePath = {},
                      QString *error = nullptr)
    {
        RegisterExport job;
        job.format = format;
        job.from = from;
        job.to = to;
        job.output = program.file("out.xls");
        job.templatePath = templatePath;
        QString why;
        const bool written = WriteRegisterSpreadsheet(job, prompter, &why);
        if (error)
            *error = why;
        EXPECT_EQ(written, why.isEmpty());
        if (!error) {
            EXPECT_TRUE(written) << why.toStdString();
        }
        EXPECT_EQ(QFile::exists(job.output), written);
        if (!prompter.progress.isEmpty()) {
            EXPECT_EQ(prompter.progress.last(), "end") << "the progress window is closed";
        }
        EXPECT_TRUE(QDir(session().programFolder).entryList({"Rap*"}).isEmpty()) << "scratch files left behind";
        return written ? readWithXlrd(job.output) : QJsonObject();
    }

    ProgramFolderFixture program;
    ScriptedPrompter prompter;
};

// Format 1, individual numbering: the head, one row per record ordered by
// year then number, the dispatch date of an act without one as blanks, the
// other sellers after the first on the request's row, a price of 0 as an
// empty cell.
TEST_F(RegisterSpreadsheets, Format1ListsEveryRecordOfThePeriod)
{
    const QJsonObject x = write(1, QDate(2023, 1, 1), QDate(2024, 12, 31));
    ASSERT_FALSE(x.isEmpty());
    EXPECT_EQ(x.value("sheets").toArray().at(0).toString(), "ModelR");
    EXPECT_EQ(xlrdText(x, 0, 0), "PRIMARIA TEST");
    EXPECT_EQ(xlrdText(x, 5, 8), "perioada 01.01.2023 - 31.12.2024");
    EXPECT_EQ(x.value("rows").toInt(), 9 + 6) << "the template row is removed";
    const QStringList numbers = {"2", "12", "13", "14", "15", "16"};
    for (int i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(xlrdText(x, 9 + i, 0), numbers[i]) << i;
    // Request 2 of 2023 first.
    EXPECT_EQ(xlrdText(x, 9, 1), "02");
    EXPECT_EQ(xlrdText(x, 9, 2), "05");
    EXPECT_EQ(xlrdText(x, 9, 3), "2023");
    EXPECT_TRUE(xlrdEmpty(x, 9, 7)) << "price 0";
    // Request 1.
    EXPECT_EQ(xlrdText(x, 10, 4), "POPESCU ION 1800101010011 POPESCU ANA 2800101010012;");
    EXPECT_EQ(xlrdNumber(x, 10, 7), 15000);
    const QJsonArray heights = x.value("heights").toArray();
    EXPECT_GT(heights.at(10).toInt(), heights.at(9).toInt()) << "two lines of sellers make the row taller";
    EXPECT_EQ(xlrdText(x, 10, 8), "T12 /P3/ LA VIE");
    EXPECT_EQ(xlrdText(x, 10, 9), "CF1");
    EXPECT_EQ(xlrdText(x, 10, 11), "Cerere pentru afisarea ofertei");
    EXPECT_EQ(xlrdText(x, 10, 15), "PRIMARIA TEST");
    EXPECT_EQ(xlrdText(x, 10, 16), "ANA CLERK");
    // The other sellers follow the first on the request's own row only.
    EXPECT_EQ(xlrdText(x, 11, 4), "VECIN UNU 1600101010014");
    EXPECT_EQ(xlrdText(x, 14, 4), "PRIMARIA TEST");
    EXPECT_EQ(xlrdText(x, 11, 11), "Comunicare de acceptare -Cererea 12/ POPESCU ION");
    EXPECT_EQ(xlrdText(x, 12, 11), "Cerere inreg.oferta de cumparare -Cererea 12/ POPESCU ION");
    EXPECT_EQ(xlrdText(x, 13, 11), "ADRESA -Oferta 12/ POPESCU ION");
    EXPECT_EQ(xlrdText(x, 13, 16), "ION CLERK");
    for (int c = 12; c <= 14; ++c)
        EXPECT_EQ(xlrdText(x, 13, c), " ") << "no dispatch date, column " << c;
    EXPECT_EQ(xlrdText(x, 14, 12), "05");
    EXPECT_EQ(xlrdText(x, 14, 13), "04");
    EXPECT_EQ(xlrdText(x, 14, 14), "2024");
    EXPECT_TRUE(xlrdEmpty(x, 14, 17)) << "the #DBF column stays empty";

    QString error;
    const QList<QStringList> p = readWithParseExcel(program.file("out.xls"), &error);
    ASSERT_EQ(p.size(), 15) << error.toStdString();
    EXPECT_EQ(p[10][7], "Numeric:15000@#,##0.00");
    EXPECT_EQ(p[13][12], "Text: ");
}

// Per-request numbering: "12/3" and "12", ordered as text within the year.
TEST_F(RegisterSpreadsheets, Format1PerRequestNumbersAreNumberSlashPosition)
{
    setMode(2);
    insert("AlteActe.dbf", "IDA, ID, NR, NR2, NR2PER, DATAA, MODUL, EMITENT, TIPACT",
           {3, 2, 17, 2, 1, QDate(2024, 5, 1), "intrare", "X", "CERERE"});
    const QJsonObject x = write(1, QDate(2024, 1, 1), QDate(2024, 12, 31));
    ASSERT_FALSE(x.isEmpty());
    QStringList shown;
    for (int r = 9; r < x.value("rows").toInt(); ++r)
        shown << xlrdText(x, r, 0);
    EXPECT_EQ(shown, QStringList({"12", "12/1", "12/2", "12/3", "12/4", "2/1"}));
    EXPECT_EQ(xlrdText(x, 14, 11), "CERERE -Oferta 2/ VASILE DAN");
}

// Format 2: one row per request ordered by date, the date as a date serial in
// a date-formatted cell, all sellers, the first seller's address.
TEST_F(RegisterSpreadsheets, Format2ListsTheRequests)
{
    const QJsonObject x = write(2, QDate(2023, 1, 1), QDate(2024, 12, 31));
    ASSERT_FALSE(x.isEmpty());
    EXPECT_EQ(x.value("sheets").toArray().at(0).toString(), "RegisXXL");
    EXPECT_EQ(xlrdText(x, 1, 0), "in perioada 01.01.2023 - 31.12.2024");
    EXPECT_EQ(x.value("rows").toInt(), 6 + 2);
    EXPECT_EQ(xlrdNumber(x, 6, 0), 2);
    EXPECT_EQ(xlrdNumber(x, 6, 1), DateSerial(QDate(2023, 5, 2)));
    EXPECT_TRUE(xlrdCell(x, 6, 1).value("date").toBool());
    EXPECT_TRUE(xlrdEmpty(x, 6, 16)) << "price 0";
    EXPECT_EQ(xlrdText(x, 7, 2), "D1");
    EXPECT_TRUE(xlrdEmpty(x, 7, 3));
    EXPECT_EQ(xlrdText(x, 7, 4), "POPESCU ION; POPESCU ANA;");
    EXPECT_EQ(xlrdText(x, 7, 5), "SAT STR 1, jud.ALBA");
    EXPECT_EQ(xlrdText(x, 7, 9), "TESTENI");
    EXPECT_EQ(xlrdText(x, 7, 10), "1.5");
    EXPECT_EQ(xlrdText(x, 7, 13), "T12");
    EXPECT_EQ(xlrdNumber(x, 7, 16), 15000);
    EXPECT_TRUE(xlrdEmpty(x, 7, 18));
    // The template row's merged cells come with each copy.
    const QJsonArray merged = x.value("merged").toArray();
    EXPECT_TRUE(merged.contains(QJsonArray({6, 7, 2, 4})));
    EXPECT_TRUE(merged.contains(QJsonArray({7, 8, 2, 4})));
    EXPECT_FALSE(merged.contains(QJsonArray({8, 9, 2, 4})));
    EXPECT_EQ(prompter.progress.first(), "begin Creez Registrul ... 1");
    EXPECT_TRUE(prompter.progress.contains("begin Creez Registrul ... 2"));
}

// An empty period: the head filled, no rows, the template row gone.
TEST_F(RegisterSpreadsheets, EmptyPeriodGivesTheHeadAlone)
{
    for (int format : {1, 2}) {
        const QJsonObject x = write(format, QDate(2020, 1, 1), QDate(2020, 1, 31));
        ASSERT_FALSE(x.isEmpty()) << format;
        EXPECT_EQ(x.value("rows").toInt(), format == 1 ? 9 : 6) << format;
        EXPECT_EQ(format == 1 ? xlrdText(x, 5, 8) : xlrdText(x, 1, 0),
                  QString(format == 1 ? "perioada" : "in perioada") + " 01.01.2020 - 31.01.2020");
    }
}

// Bad templates: a clear message, no workbook, no scratch file left.
TEST_F(RegisterSpreadsheets, BadTemplatesGiveAReasonAndNoWorkbook)
{
    const QByteArray good = ResourceData("Registru", "MODEL");
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *reason;
    };
    QByteArray withoutRow = good;
    const int at = withoutRow.indexOf("#DBF");
    ASSERT_GT(at, 0);
    withoutRow.replace(at, 4, "#XYZ");
    const Case cases[] = {
        {"scurtat.xls", good.left(good.size() * 2 / 3), "nu poate fi deschis"},
        {"text.xls", "nu e registru", "nu este un registru de calcul"},
        {"fararand.xls", withoutRow, "nu are randul marcat cu #DBF"},
    };
    for (const Case &c : cases) {
        const QString path = program.file(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        QString error;
        write(1, QDate(2024, 1, 1), QDate(2024, 12, 31), path, &error);
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(path)) << "the template is named as the clerk gave it: " << error.toStdString();
    }
}

// A failure after the working table was made removes it too: a table that
// cannot be read, a workbook that cannot be saved.
TEST_F(RegisterSpreadsheets, FailedExportRemovesTheWorkingTable)
{
    RegisterExport job;
    job.from = QDate(2024, 1, 1);
    job.to = QDate(2024, 12, 31);
    job.output = program.file("no/such/folder/out.xls");
    QString error;
    EXPECT_FALSE(WriteRegisterSpreadsheet(job, prompter, &error));
    EXPECT_TRUE(error.contains("Registrul nu poate fi scris")) << error.toStdString();
    EXPECT_TRUE(QDir(session().programFolder).entryList({"Rap*"}).isEmpty());

    QFile::remove(TablePath("Vanzatori.dbf"));
    write(1, QDate(2024, 1, 1), QDate(2024, 12, 31), {}, &error);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(prompter.progress.last(), "end");
}

// The menu entry: the workbook goes to the first free "Tmp<n>.xls" of the
// program folder and is opened with the spreadsheet program.
TEST_F(RegisterSpreadsheets, MenuEntryWritesATemporaryWorkbookAndOpensIt)
{
    const QString script = program.file("open.sh");
    QFile s(script);
    ASSERT_TRUE(s.open(QIODevice::WriteOnly));
    s.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$0.log\"\n");
    s.close();
    s.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile busy(program.file("Tmp0.xls"));
    ASSERT_TRUE(busy.open(QIODevice::WriteOnly));
    busy.close();

    qputenv("ARVENA3_OPEN", QFile::encodeName(script));
    QString error;
    const QString written = ProduceRegisterSpreadsheet(2, QDate(2024, 1, 1), QDate(2024, 12, 31), prompter, &error);
    qunsetenv("ARVENA3_OPEN");
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    EXPECT_EQ(QFileInfo(written).fileName(), "Tmp0.xls") << "a file nobody holds is reused";
    QFile log(script + ".log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()).trimmed(), written);
    EXPECT_EQ(readWithXlrd(written).value("rows").toInt(), 7);
}

// The tool writes what the operation writes, and fails with a reason.
TEST_F(RegisterSpreadsheets, ToolWritesTheRegister)
{
    const QString out = program.file("tool.xls");
    QByteArray stdOut, stdErr;
    ASSERT_EQ(testsupport::runProgram(testsupport::binary("arvena3-xls"),
                                      {"--data", session().dataFolder, "--format", "2", "--from", "01.01.2024", "--to",
                                       "31.12.2024", "--out", out},
                                      &stdOut, &stdErr),
              0)
        << stdErr.toStdString();
    const QJsonObject x = readWithXlrd(out);
    EXPECT_EQ(x.value("rows").toInt(), 7);
    EXPECT_EQ(xlrdText(x, 6, 4), "POPESCU ION; POPESCU ANA;");

    const QString bad = program.file("bad.xls");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    EXPECT_EQ(testsupport::runProgram(testsupport::binary("arvena3-xls"),
                                      {"--data", session().dataFolder, "--format", "1", "--from", "01.01.2024", "--to",
                                       "31.12.2024", "--out", program.file("no.xls"), "--template", bad},
                                      &stdOut, &stdErr),
              1);
    EXPECT_TRUE(stdErr.contains("nu este un registru de calcul")) << stdErr.toStdString();
    EXPECT_FALSE(QFile::exists(program.file("no.xls")));
    EXPECT_EQ(testsupport::runProgram(testsupport::binary("arvena3-xls"),
                                      {"--data", session().dataFolder, "--format", "1", "--from", "31.12.2024", "--to",
                                       "01.01.2024", "--out", program.file("no.xls")},
                                      &stdOut, &stdErr),
              1);
    EXPECT_TRUE(stdErr.contains("Perioada incorecta!"));
}

} // namespace
