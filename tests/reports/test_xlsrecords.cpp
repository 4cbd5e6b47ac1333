// The records other writers use that our own templates do not: MULRK and
// MULBLANK cells, shared formulas with their cached values, rich and
// continued shared strings, an embedded chart inside the worksheet, a chart
// sheet and a second stream in the container. The workbook is put together
// record by record, filled, saved, and read back by xlrd and by the engine.
#include "reports/xls/biffrecords.h"
#include "reports/xls/compoundfile.h"
#include "reports/xls/workbook.h"
#include "testsupport.h"
#include "xlsreaders.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::biff;
using namespace xlsreaders;

namespace {

QByteArray record(quint16 type, const QByteArray &data)
{
    QByteArray out;
    appendRecord(out, type, data);
    return out;
}

QByteArray cell(int row, int column, int xf = 15)
{
    QByteArray d;
    add16(d, quint16(row));
    add16(d, quint16(column));
    add16(d, quint16(xf));
    return d;
}

QByteArray labelSst(int row, int column, quint32 index)
{
    QByteArray d = cell(row, column);
    add32(d, index);
    return record(RecLabelSst, d);
}

// A formula that is part of the shared formula whose first cell is
// (anchorRow, 2), with its cached number.
QByteArray sharedPart(int row, int anchorRow, double cached)
{
    QByteArray d = cell(row, 2);
    addF64(d, cached);
    add16(d, 0x0008); // part of a shared formula
    add32(d, 0);
    add16(d, 5);
    d.append(char(0x01)); // ptgExp
    add16(d, quint16(anchorRow));
    add16(d, 2);
    return record(RecFormula, d);
}

const QString kLong = QString(5000, QChar(0x015F)); // "ş" 5000 times: 10000 bytes, over a record

// The shared strings in two records: the long wide string goes on in the
// CONTINUE with a fresh option byte.
QByteArray sharedStrings()
{
    QByteArray first;
    add32(first, 6);
    add32(first, 5);
    auto plain = [&](const QString &t) { first += unicodeString(t, false); };
    plain("#DBF");
    plain("#VAL");
    add16(first, 11); // rich: two formatting runs
    first.append(char(0x08));
    add16(first, 2);
    first += "Titlu bogat";
    add16(first, 0);
    add16(first, 0);
    add16(first, 6);
    add16(first, 0);
    plain("#UNITATE");
    add16(first, quint16(kLong.size()));
    first.append(char(0x01));
    const int inFirst = (kMaxRecordData - first.size()) / 2;
    for (int i = 0; i < inFirst; ++i)
        add16(first, kLong.at(i).unicode());
    QByteArray rest;
    rest.append(char(0x01));
    for (int i = inFirst; i < kLong.size(); ++i)
        add16(rest, kLong.at(i).unicode());
    return record(RecSst, first) + record(RecContinue, rest);
}

QByteArray bof(quint16 kind)
{
    QByteArray d;
    add16(d, 0x0600);
    add16(d, kind);
    add32(d, 0);
    add32(d, 0);
    add32(d, 0);
    return record(RecBof, d);
}

// A workbook whose globals come from the engine's own (fonts, formats) and
// whose sheets are put together here.
QByteArray craftedWorkbook()
{
    const Workbook base = Workbook::create("X");
    const CompoundFile baseFile = CompoundFile::read(base.toBytes());
    QByteArray globals;
    for (const Record &r : readSubstream(*baseFile.stream("Workbook"), 0))
        if (r.type != RecSst && r.type != RecExtSst && r.type != RecBoundSheet && r.type != RecEof)
            appendRecord(globals, r);
    auto boundSheet = [](const QString &name, quint8 kind) {
        QByteArray d;
        add32(d, 0);
        d.append(char(0));
        d.append(char(kind));
        d += unicodeString(name, true);
        return record(RecBoundSheet, d);
    };
    const int firstSheetAt = globals.size();
    globals += boundSheet("Date", 0);
    const int chartAt = globals.size();
    globals += boundSheet("Grafic", 2);
    globals += sharedStrings() + record(RecEof, {});

    QByteArray sheet = bof(kWorksheetStream);
    sheet += record(RecDimensions, QByteArray(14, '\0'));
    sheet += labelSst(0, 0, 2);
    sheet += labelSst(1, 0, 3);
    QByteArray mulrk = cell(2, 0);
    mulrk.chop(2);
    const quint32 rks[] = {(1u << 2) | 2, (250u << 2) | 3, (1000000u << 2) | 2};
    for (quint32 rk : rks) {
        add16(mulrk, 15);
        add32(mulrk, rk);
    }
    add16(mulrk, 2);
    sheet += record(RecMulRk, mulrk);
    QByteArray mulblank = cell(2, 3);
    add16(mulblank, 15);
    add16(mulblank, 4);
    sheet += record(RecMulBlank, mulblank);
    sheet += labelSst(3, 0, 1);
    QByteArray number = cell(3, 1);
    addF64(number, 7.25);
    sheet += record(RecNumber, number);
    sheet += labelSst(3, 5, 0);
    sheet += labelSst(4, 3, 4);
    sheet += sharedPart(5, 5, 10);
    QByteArray shared;
    add16(shared, 5);
    add16(shared, 6);
    shared.append(char(2));
    shared.append(char(2));
    shared.append(char(0));
    shared.append(char(2));
    add16(shared, 3);
    shared.append(char(0x1E)); // ptgInt 10
    add16(shared, 10);
    sheet += record(RecShrFmla, shared);
    sheet += sharedPart(6, 5, 10);
    sheet += bof(0x0020) + record(0x1002, QByteArray(16, '\0')) + record(RecEof, {}); // embedded chart
    QByteArray window2(18, '\0');
    put16(window2, 0, 0x06B6);
    sheet += record(0x023E, window2) + record(RecEof, {});
    const QByteArray chart = bof(0x0020) + record(0x1002, QByteArray(16, '\0')) + record(RecEof, {});

    QByteArray stream = globals + sheet + chart;
    put32(stream, firstSheetAt + 4, quint32(globals.size()));
    put32(stream, chartAt + 4, quint32(globals.size() + sheet.size()));
    CompoundFile file;
    file.root.name = "Root Entry";
    file.root.storage = true;
    file.setStream("Workbook", stream);
    file.setStream(QString(QChar(5)) + "SummaryInformation", QByteArray(200, 'S'));
    return file.write();
}

} // namespace

TEST(XlsRecords, RecordsOfOtherWritersSurviveAFill)
{
    Workbook book = Workbook::fromBytes(craftedWorkbook());
    ASSERT_EQ(book.sheetCount(), 2);
    EXPECT_FALSE(book.sheet(1).isWorksheet());
    Sheet &sheet = book.sheet(0);
    EXPECT_EQ(sheet.cell(0, 0).text, "Titlu bogat");
    EXPECT_EQ(sheet.cell(2, 1).number, 2.5);
    EXPECT_EQ(sheet.cell(2, 2).number, 1000000);
    EXPECT_EQ(sheet.cell(2, 4).kind, CellKind::Blank);
    EXPECT_EQ(sheet.cell(4, 3).text, kLong);
    EXPECT_EQ(sheet.cell(6, 2).number, 10);

    sheet.insertRowCopies(3, 3);
    for (int i = 0; i < 3; ++i)
        sheet.setText(3 + i, 0, QStringLiteral("rand %1").arg(i + 1));
    sheet.deleteRow(6);
    testsupport::TempFolder folder;
    const QString path = folder.file("umplut.xls");
    book.save(path);

    QString error;
    const QJsonObject x = readWithXlrd(path, &error);
    ASSERT_FALSE(x.isEmpty()) << error.toStdString();
    EXPECT_EQ(x.value("sheets").toArray(), QJsonArray({"Date"})) << "xlrd lists worksheets only";
    EXPECT_EQ(xlrdText(x, 0, 0), "Titlu bogat");
    EXPECT_EQ(xlrdNumber(x, 2, 2), 1000000);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(xlrdText(x, 3 + i, 0), QStringLiteral("rand %1").arg(i + 1));
        EXPECT_EQ(xlrdNumber(x, 3 + i, 1), 7.25);
    }
    EXPECT_EQ(xlrdText(x, 6, 3), kLong);
    EXPECT_EQ(xlrdNumber(x, 7, 2), 10);
    EXPECT_EQ(xlrdNumber(x, 8, 2), 10);

    // The shared formula moved with its rows: each part names the range's
    // first cell where it now is, and the range says where it now lies.
    QFile savedFile(path);
    ASSERT_TRUE(savedFile.open(QIODevice::ReadOnly));
    const CompoundFile saved = CompoundFile::read(savedFile.readAll());
    EXPECT_EQ(saved.stream(QString(QChar(5)) + "SummaryInformation")->size(), 200) << "the other stream is kept";
    const QByteArray stream = *saved.stream("Workbook");
    std::vector<Record> globals = readSubstream(stream, 0);
    quint32 sheetAt = 0;
    for (const Record &r : globals)
        if (r.type == RecBoundSheet && sheetAt == 0)
            sheetAt = u32(r.data(), 0);
    QList<int> partRows, anchorRows, rangeRows;
    for (const Record &r : readSubstream(stream, sheetAt)) {
        if (r.type == RecFormula) {
            partRows << u16(r.data(), 0);
            anchorRows << u16(r.data(), 23);
        } else if (r.type == RecShrFmla) {
            rangeRows << u16(r.data(), 0) << u16(r.data(), 2);
        }
    }
    EXPECT_EQ(partRows, QList<int>({7, 8}));
    EXPECT_EQ(anchorRows, QList<int>({7, 7}));
    EXPECT_EQ(rangeRows, QList<int>({7, 8}));

    // The rich string keeps its runs.
    const Workbook again = Workbook::open(path);
    EXPECT_EQ(again.sheet(0).cell(0, 0).text, "Titlu bogat");
    EXPECT_EQ(again.sheet(0).cell(6, 3).text, kLong);
}
