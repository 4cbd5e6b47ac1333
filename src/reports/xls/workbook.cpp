#include "reports/xls/workbook.h"

#include "reports/xls/biffrecords.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <map>

namespace xls {

using namespace biff;

namespace {

constexpr int kRowsPerBlock = 32;
constexpr int kRangesPerMergeRecord = 1026;
constexpr quint8 kPtgExp = 0x01;

bool isCellRecord(quint16 type)
{
    switch (type) {
    case RecFormula: case RecMulRk: case RecMulBlank: case RecRString: case RecLabelSst: case RecBlank: case RecNumber:
    case RecLabel: case RecBoolErr: case RecString: case RecRow: case RecArray: case RecTable: case RecRk: case RecShrFmla: case RecDbCell:
        return true;
    default:
        return false;
    }
}

QByteArray cellHeader(quint32 row, quint16 column, quint16 xf)
{
    QByteArray b;
    add16(b, quint16(row));
    add16(b, column);
    add16(b, xf);
    return b;
}

// A ROW record for a row that has none: default height and format.
QByteArray defaultRowRecord()
{
    QByteArray b(16, '\0');
    put16(b, 6, 0x00FF);
    put16(b, 12, 0x0100);
    put16(b, 14, 0x000F);
    return b;
}

[[noreturn]] void badRecord(const char *what)
{
    throw XlsError(QStringLiteral("o inregistrare %1 este prea scurta").arg(QLatin1String(what)));
}

// Where a FORMULA record's tokens start (after the cell, its cached value,
// flags and token length).
constexpr int kFormulaTokens = 22;

// A formula that stands for part of a shared or array formula: its whole
// token list is one reference to the range's first cell (row, column follow).
bool isRangeFormula(const QByteArray &formula)
{
    return formula.size() >= kFormulaTokens + 5 && quint8(formula[kFormulaTokens]) == kPtgExp;
}

} // namespace

// ---------------------------------------------------------------- Sheet

const Row *Sheet::findRow(int row) const
{
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), quint32(row),
                                     [](const Row &r, quint32 i) { return r.index < i; });
    return it != rows_.end() && it->index == quint32(row) ? &*it : nullptr;
}

int Sheet::rowPosition(int row) const
{
    return int(std::lower_bound(rows_.begin(), rows_.end(), quint32(row),
                                [](const Row &r, quint32 i) { return r.index < i; })
               - rows_.begin());
}

Row &Sheet::rowAt(int row)
{
    if (row < 0 || row >= kMaxRows)
        throw XlsError(QStringLiteral("randul %1 este in afara foii").arg(row + 1));
    const int p = rowPosition(row);
    if (p < int(rows_.size()) && rows_[p].index == quint32(row))
        return rows_[p];
    Row r;
    r.index = quint32(row);
    return *rows_.insert(rows_.begin() + p, std::move(r));
}

Cell &Sheet::cellAt(int row, int column)
{
    if (column < 0 || column >= kMaxColumns)
        throw XlsError(QStringLiteral("coloana %1 este in afara foii").arg(column + 1));
    Row &r = rowAt(row);
    const auto it = std::lower_bound(r.cells.begin(), r.cells.end(), quint16(column),
                                     [](const Cell &c, quint16 col) { return c.column < col; });
    if (it != r.cells.end() && it->column == column)
        return *it;
    Cell c;
    c.column = quint16(column);
    return *r.cells.insert(it, c);
}

int Sheet::lastRow() const
{
    for (auto it = rows_.rbegin(); it != rows_.rend(); ++it)
        if (!it->cells.empty())
            return int(it->index);
    return -1;
}

int Sheet::lastColumn() const
{
    int last = -1;
    for (const Row &r : rows_)
        if (!r.cells.empty())
            last = std::max(last, int(r.cells.back().column));
    return last;
}

QString Sheet::formulaText(const Cell &c) const
{
    for (const Record &rec : formulas_[c.index])
        if (rec.type == RecString) {
            PartReader reader(rec.parts);
            return readUnicodeString(reader);
        }
    return {};
}

CellValue Sheet::cell(int row, int column) const
{
    CellValue v;
    const Row *r = findRow(row);
    if (!r)
        return v;
    for (const Cell &c : r->cells) {
        if (c.column != column)
            continue;
        v.kind = c.kind;
        v.xf = c.xf;
        if (c.kind == CellKind::Number)
            v.number = c.number;
        else if (c.kind == CellKind::Text)
            v.text = book_->sharedString(c.index);
        else if (c.kind == CellKind::Formula) {
            const QByteArray &f = formulas_[c.index].front().data();
            if (u16(f, 12) != 0xFFFF)
                v.number = f64(f, 6);
            else if (quint8(f[6]) == 0)
                v.text = formulaText(c);
        }
        break;
    }
    return v;
}

void Sheet::setText(int row, int column, const QString &text)
{
    const quint32 index = book_->addSharedString(text);
    Cell &c = cellAt(row, column);
    c.kind = CellKind::Text;
    c.index = index;
}

void Sheet::setNumber(int row, int column, double value)
{
    Cell &c = cellAt(row, column);
    c.kind = CellKind::Number;
    c.number = value;
}

void Sheet::setBlank(int row, int column)
{
    cellAt(row, column).kind = CellKind::Blank;
}

void Sheet::setCellFormat(int row, int column, int xf)
{
    cellAt(row, column).xf = quint16(xf);
}

void Sheet::shiftRows(int fromRow, int delta)
{
    for (Row &r : rows_)
        if (r.index >= quint32(fromRow))
            r.index = quint32(int(r.index) + delta);
    for (Range &m : merged_) {
        if (m.firstRow >= fromRow) {
            m.firstRow = quint16(m.firstRow + delta);
            m.lastRow = quint16(m.lastRow + delta);
        } else if (m.lastRow >= fromRow) {
            m.lastRow = quint16(m.lastRow + delta);
        }
    }
    // The parts of shared and array formulas name their range and its first cell.
    for (std::vector<Record> &f : formulas_) {
        QByteArray &formula = f.front().data();
        if (isRangeFormula(formula) && u16(formula, kFormulaTokens + 1) >= fromRow)
            put16(formula, kFormulaTokens + 1, quint16(u16(formula, kFormulaTokens + 1) + delta));
        for (Record &part : f) {
            if ((part.type == RecShrFmla || part.type == RecArray || part.type == RecTable) && part.data().size() >= 4) {
                QByteArray &d = part.data();
                if (u16(d, 0) >= fromRow) {
                    put16(d, 0, quint16(u16(d, 0) + delta));
                    put16(d, 2, quint16(u16(d, 2) + delta));
                }
            }
        }
    }
}

void Sheet::insertRowCopies(int source, int count)
{
    if (count <= 0)
        return;
    if (source < 0 || source >= kMaxRows || std::max(lastRow(), source) + count >= kMaxRows)
        throw XlsError(QStringLiteral("foaia %1 ar trece de %2 randuri").arg(name_).arg(kMaxRows));
    Row pattern;
    if (const Row *r = findRow(source))
        pattern = *r;
    std::vector<Range> rowMerges;
    for (const Range &m : merged_)
        if (m.firstRow == source && m.lastRow == source)
            rowMerges.push_back(m);

    shiftRows(source, count);
    // Formula cells of the pattern are copied as they are; a part of a shared
    // or array formula cannot leave its range and becomes blank.
    for (Cell &c : pattern.cells) {
        if (c.kind != CellKind::Formula)
            continue;
        if (isRangeFormula(formulas_[c.index].front().data()))
            c.kind = CellKind::Blank;
    }
    std::vector<Row> copies(size_t(count), pattern);
    for (int i = 0; i < count; ++i) {
        Row &copy = copies[size_t(i)];
        copy.index = quint32(source + i);
        for (Cell &c : copy.cells) {
            if (c.kind != CellKind::Formula)
                continue;
            std::vector<Record> formula{formulas_[c.index].front()};
            for (const Record &part : formulas_[c.index])
                if (part.type == RecString)
                    formula.push_back(part);
            formulas_.push_back(std::move(formula));
            c.index = quint32(formulas_.size() - 1);
        }
    }
    const int p = rowPosition(source);
    rows_.insert(rows_.begin() + p, std::make_move_iterator(copies.begin()), std::make_move_iterator(copies.end()));
    for (int i = 0; i < count; ++i)
        for (Range m : rowMerges) {
            m.firstRow = m.lastRow = quint16(source + i);
            merged_.push_back(m);
        }
}

void Sheet::deleteRow(int row)
{
    const int p = rowPosition(row);
    if (p < int(rows_.size()) && rows_[p].index == quint32(row))
        rows_.erase(rows_.begin() + p);
    merged_.erase(std::remove_if(merged_.begin(), merged_.end(),
                                 [row](const Range &m) { return m.firstRow == row && m.lastRow == row; }),
                  merged_.end());
    for (Range &m : merged_)
        if (m.firstRow < row && m.lastRow >= row)
            m.lastRow = quint16(m.lastRow - 1);
    shiftRows(row + 1, -1);
}

void Sheet::setColumnWidth(int firstColumn, int lastColumn, int width256ths, int xf)
{
    QByteArray d;
    add16(d, quint16(firstColumn));
    add16(d, quint16(lastColumn));
    add16(d, quint16(width256ths));
    add16(d, quint16(xf));
    add16(d, 0x0002); // width set by hand
    add16(d, 0);
    head_.insert(head_.begin() + dimensionsAt_, Record{RecColInfo, {d}});
    ++dimensionsAt_;
}

void Sheet::setRowHeight(int row, int twips)
{
    Row &r = rowAt(row);
    if (r.record.size() != 16)
        r.record = defaultRowRecord();
    put16(r.record, 6, quint16(twips));
    put16(r.record, 12, quint16(u16(r.record, 12) | 0x0040)); // height set by hand
}

int Sheet::columnWidth(int column) const
{
    int standard = 8 * 256 + 180; // eight characters and the cell's margins
    for (const Record &r : head_) {
        const QByteArray &d = r.data();
        if (r.type == RecColInfo && d.size() >= 6 && column >= u16(d, 0) && column <= u16(d, 2))
            return u16(d, 4);
        if (r.type == RecDefColWidth && d.size() >= 2)
            standard = u16(d, 0) * 256 + 180;
    }
    return standard;
}

int Sheet::rowHeight(int row) const
{
    const Row *r = findRow(row);
    return r && r->record.size() == 16 ? (u16(r->record, 6) & 0x7FFF) : 255;
}

void Sheet::mergeCells(int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    merged_.push_back(Range{quint16(firstRow), quint16(lastRow), quint16(firstColumn), quint16(lastColumn)});
}

// ---------------------------------------------------------------- reading

Workbook::Workbook() = default;
Workbook::Workbook(Workbook &&other) noexcept { *this = std::move(other); }

Workbook &Workbook::operator=(Workbook &&other) noexcept
{
    container_ = std::move(other.container_);
    streamName_ = std::move(other.streamName_);
    globals_ = std::move(other.globals_);
    sstAt_ = other.sstAt_;
    strings_ = std::move(other.strings_);
    plainStrings_ = std::move(other.plainStrings_);
    sheets_ = std::move(other.sheets_);
    fontCount_ = other.fontCount_;
    nextFormatCode_ = other.nextFormatCode_;
    // The sheets reach the shared strings through their workbook.
    for (auto &sheet : sheets_)
        sheet->book_ = this;
    return *this;
}
Workbook::~Workbook() = default;

Workbook Workbook::open(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw XlsError(QStringLiteral("fisierul nu poate fi citit (%1)").arg(file.errorString()));
    return fromBytes(file.readAll());
}

Workbook Workbook::fromBytes(const QByteArray &bytes)
{
    Workbook book;
    book.container_ = CompoundFile::read(bytes);
    const QByteArray *stream = book.container_.stream(QStringLiteral("Workbook"));
    if (!stream) {
        if (book.container_.stream(QStringLiteral("Book")))
            throw XlsError(QStringLiteral("registrul este intr-un format .xls prea vechi (BIFF5); "
                                          "salvati-l ca registru .xls 97-2003"));
        throw XlsError(QStringLiteral("fisierul nu contine un registru de calcul"));
    }
    book.streamName_ = QStringLiteral("Workbook");
    book.parse(*stream);
    return book;
}

void Workbook::parse(const QByteArray &stream)
{
    const std::vector<Record> globals = readSubstream(stream, 0);
    const QByteArray &bof = globals.front().data();
    if (bof.size() < 4 || u16(bof, 0) != 0x0600 || u16(bof, 2) != kGlobalsStream)
        throw XlsError(QStringLiteral("registrul nu este in formatul .xls 97-2003 (BIFF8)"));
    parseGlobals(globals, globals.size());

    for (auto &sheet : sheets_) {
        const quint32 at = u32(globals_[size_t(sheet->indexAt_)].data(), 0);
        sheet->indexAt_ = -1;
        const std::vector<Record> records = readSubstream(stream, at);
        const QByteArray &sheetBof = records.front().data();
        sheet->worksheet_ = sheetBof.size() >= 4 && u16(sheetBof, 2) == kWorksheetStream;
        if (!sheet->worksheet_) {
            sheet->raw_ = records;
            continue;
        }
        std::map<quint32, Row> rows;
        auto cell = [&](quint32 row, quint16 column, quint16 xf) -> Cell & {
            Row &r = rows[row];
            r.index = row;
            r.cells.push_back(Cell{column, xf, CellKind::Blank, 0, 0});
            return r.cells.back();
        };
        bool inTable = false;
        int depth = 0;
        int mergedAt = -1;
        for (size_t i = 0; i < records.size(); ++i) {
            const Record &rec = records[i];
            const QByteArray &d = rec.data();
            if (rec.type == RecBof && i > 0)
                ++depth;
            if (depth > 0 || i == 0 || (!isCellRecord(rec.type) && rec.type != RecMergedCells)) {
                if (rec.type == RecEof && depth > 0)
                    --depth;
                else if (!inTable && rec.type == RecIndex && sheet->indexAt_ < 0) {
                    sheet->indexAt_ = int(sheet->head_.size());
                    sheet->head_.push_back(rec);
                    continue;
                } else if (!inTable && rec.type == RecDimensions && sheet->dimensionsAt_ < 0) {
                    sheet->dimensionsAt_ = int(sheet->head_.size());
                    sheet->head_.push_back(rec);
                    continue;
                }
                (inTable ? sheet->tail_ : sheet->head_).push_back(rec);
                continue;
            }
            if (rec.type == RecMergedCells) {
                if (mergedAt < 0) {
                    mergedAt = int(sheet->tail_.size());
                    sheet->tail_.push_back(Record{RecMergedCells, {QByteArray()}});
                }
                const int n = d.size() >= 2 ? std::min<int>(u16(d, 0), (d.size() - 2) / 8) : 0;
                for (int k = 0; k < n; ++k)
                    sheet->merged_.push_back(Sheet::Range{u16(d, 2 + 8 * k), u16(d, 4 + 8 * k), u16(d, 6 + 8 * k),
                                                   u16(d, 8 + 8 * k)});
                continue;
            }
            inTable = true;
            switch (rec.type) {
            case RecRow: {
                if (d.size() < 16)
                    badRecord("ROW");
                Row &r = rows[u16(d, 0)];
                r.index = u16(d, 0);
                r.record = d.left(16);
                break;
            }
            case RecBlank:
                if (d.size() < 6)
                    badRecord("BLANK");
                cell(u16(d, 0), u16(d, 2), u16(d, 4));
                break;
            case RecMulBlank: {
                if (d.size() < 6)
                    badRecord("MULBLANK");
                const int n = (d.size() - 6) / 2;
                for (int k = 0; k < n; ++k)
                    cell(u16(d, 0), quint16(u16(d, 2) + k), u16(d, 4 + 2 * k));
                break;
            }
            case RecNumber:
                if (d.size() < 14)
                    badRecord("NUMBER");
                {
                    Cell &c = cell(u16(d, 0), u16(d, 2), u16(d, 4));
                    c.kind = CellKind::Number;
                    c.number = f64(d, 6);
                }
                break;
            case RecRk:
                if (d.size() < 10)
                    badRecord("RK");
                {
                    Cell &c = cell(u16(d, 0), u16(d, 2), u16(d, 4));
                    c.kind = CellKind::Number;
                    c.number = rkValue(u32(d, 6));
                }
                break;
            case RecMulRk: {
                if (d.size() < 6)
                    badRecord("MULRK");
                const int n = (d.size() - 6) / 6;
                for (int k = 0; k < n; ++k) {
                    Cell &c = cell(u16(d, 0), quint16(u16(d, 2) + k), u16(d, 4 + 6 * k));
                    c.kind = CellKind::Number;
                    c.number = rkValue(u32(d, 6 + 6 * k));
                }
                break;
            }
            case RecLabelSst:
                if (d.size() < 10)
                    badRecord("LABELSST");
                {
                    Cell &c = cell(u16(d, 0), u16(d, 2), u16(d, 4));
                    if (u32(d, 6) >= strings_.size())
                        throw XlsError(QStringLiteral("o celula trimite la un text care nu exista"));
                    c.kind = CellKind::Text;
                    c.index = u32(d, 6);
                }
                break;
            case RecLabel:
            case RecRString: {
                if (d.size() < 9)
                    badRecord("LABEL");
                PartReader reader(rec.parts, 6);
                const quint16 length = reader.word();
                const QString text = reader.characters(length, reader.byte());
                const quint32 index = addSharedString(text);
                Cell &c = cell(u16(d, 0), u16(d, 2), u16(d, 4));
                c.kind = CellKind::Text;
                c.index = index;
                break;
            }
            case RecBoolErr:
                if (d.size() < 8)
                    badRecord("BOOLERR");
                {
                    Cell &c = cell(u16(d, 0), u16(d, 2), u16(d, 4));
                    c.kind = CellKind::BoolError;
                    c.index = u16(d, 6);
                }
                break;
            case RecFormula:
                if (d.size() < 22)
                    badRecord("FORMULA");
                {
                    Cell &c = cell(u16(d, 0), u16(d, 2), u16(d, 4));
                    c.kind = CellKind::Formula;
                    c.index = quint32(sheet->formulas_.size());
                    sheet->formulas_.push_back({rec});
                }
                break;
            case RecString:
            case RecShrFmla:
            case RecArray:
            case RecTable:
                if (!sheet->formulas_.empty())
                    sheet->formulas_.back().push_back(rec);
                break;
            default: // DBCELL: made anew
                break;
            }
        }
        if (!inTable) {
            // No cell at all: the cell table would have followed DIMENSIONS.
            auto &head = sheet->head_;
            const auto split = sheet->dimensionsAt_ >= 0 ? head.begin() + sheet->dimensionsAt_ + 1 : head.end() - 1;
            sheet->tail_.insert(sheet->tail_.begin(), split, head.end());
            head.erase(split, head.end());
        }
        if (sheet->indexAt_ < 0) {
            sheet->indexAt_ = 1;
            sheet->head_.insert(sheet->head_.begin() + 1, Record{RecIndex, {QByteArray()}});
            if (sheet->dimensionsAt_ >= 1)
                ++sheet->dimensionsAt_;
        }
        if (sheet->dimensionsAt_ < 0) {
            sheet->dimensionsAt_ = int(sheet->head_.size());
            sheet->head_.push_back(Record{RecDimensions, {QByteArray()}});
        }
        if (sheet->tail_.empty() || sheet->tail_.back().type != RecEof)
            throw XlsError(QStringLiteral("foaia %1 nu se incheie cu EOF").arg(sheet->name_));
        if (mergedAt < 0) {
            // Before the EOF of the sheet, where the other records end.
            sheet->tail_.insert(sheet->tail_.end() - 1, Record{RecMergedCells, {QByteArray()}});
        }
        sheet->rows_.reserve(rows.size());
        for (auto &[index, row] : rows) {
            // Last one wins when a file names a cell twice.
            std::stable_sort(row.cells.begin(), row.cells.end(),
                             [](const Cell &a, const Cell &b) { return a.column < b.column; });
            std::vector<Cell> unique;
            for (const Cell &c : row.cells) {
                if (!unique.empty() && unique.back().column == c.column)
                    unique.back() = c;
                else
                    unique.push_back(c);
            }
            row.cells = std::move(unique);
            sheet->rows_.push_back(std::move(row));
        }
    }
}

void Workbook::parseGlobals(const std::vector<Record> &records, size_t end)
{
    for (size_t i = 0; i < end; ++i) {
        const Record &rec = records[i];
        switch (rec.type) {
        case RecFilePass:
            throw XlsError(QStringLiteral("registrul este protejat cu parola"));
        case RecBoundSheet: {
            const QByteArray &d = rec.data();
            if (d.size() < 8)
                badRecord("BOUNDSHEET");
            auto sheet = std::make_unique<Sheet>();
            sheet->book_ = this;
            PartReader reader(rec.parts, 6);
            const quint8 length = reader.byte();
            sheet->name_ = reader.characters(length, reader.byte());
            // Until the sheets are read, indexAt_ holds the place of the sheet's BOUNDSHEET.
            sheet->indexAt_ = int(globals_.size());
            sheets_.push_back(std::move(sheet));
            globals_.push_back(rec);
            break;
        }
        case RecSst:
            sstAt_ = int(globals_.size());
            globals_.push_back(Record{RecSst, {QByteArray()}});
            parseSharedStrings(rec);
            break;
        case RecExtSst:
            break; // made anew behind the SST
        case RecFont:
            ++fontCount_;
            globals_.push_back(rec);
            break;
        default:
            globals_.push_back(rec);
        }
    }
    if (sheets_.empty())
        throw XlsError(QStringLiteral("registrul nu are nicio foaie"));
}

void Workbook::parseSharedStrings(const Record &sst)
{
    if (sst.data().size() < 8)
        badRecord("SST");
    PartReader reader(sst.parts, 8);
    const quint32 unique = u32(sst.data(), 4);
    strings_.reserve(std::min<quint32>(unique, 1u << 20));
    for (quint32 n = 0; n < unique && !reader.atEnd(); ++n) {
        const quint16 length = reader.word();
        const quint8 options = reader.byte();
        const int runs = (options & 0x08) ? reader.word() : 0;
        const qint64 phonetic = (options & 0x04) ? qint64(reader.dword()) : 0;
        SharedString s;
        s.text = reader.characters(length, options);
        s.runs = reader.bytes(qint64(runs) * 4);
        s.phonetic = reader.bytes(phonetic);
        if (s.runs.isEmpty() && s.phonetic.isEmpty() && !plainStrings_.contains(s.text))
            plainStrings_.insert(s.text, quint32(strings_.size()));
        strings_.push_back(std::move(s));
    }
}

bool Workbook::wrapsText(int xf) const
{
    int index = 0;
    for (const Record &r : globals_) {
        if (r.type != RecXf)
            continue;
        if (index++ == xf)
            return r.data().size() > 6 && (quint8(r.data()[6]) & 0x08);
    }
    return false;
}

QString Workbook::sharedString(quint32 index) const
{
    return index < strings_.size() ? strings_[index].text : QString();
}

quint32 Workbook::addSharedString(const QString &text)
{
    const auto it = plainStrings_.constFind(text);
    if (it != plainStrings_.constEnd())
        return *it;
    const quint32 index = quint32(strings_.size());
    strings_.push_back(SharedString{text.left(32767), {}, {}});
    plainStrings_.insert(text, index);
    return index;
}

// ---------------------------------------------------------------- writing

namespace {

// Writes the shared strings with their continuations and the index that
// follows them; `start` is the stream offset where the SST record begins.
void appendSharedStrings(QByteArray &out, const std::vector<QByteArray> &headers,
                         const std::vector<const QString *> &texts, const std::vector<const QByteArray *> &tails,
                         quint32 total)
{
    struct Bucket {
        quint32 position;
        quint16 offset;
    };
    std::vector<Bucket> buckets;
    const quint32 count = quint32(texts.size());
    const quint32 perBucket = std::max<quint32>(8, (count + 127) / 128);

    std::vector<QByteArray> parts(1);
    parts[0].reserve(kMaxRecordData);
    add32(parts[0], total);
    add32(parts[0], count);
    qint64 partStart = out.size(); // offset of the current record's header
    auto newPart = [&]() {
        partStart += 4 + parts.back().size();
        parts.emplace_back();
        parts.back().reserve(kMaxRecordData);
    };
    auto room = [&]() { return kMaxRecordData - int(parts.back().size()); };

    for (quint32 i = 0; i < count; ++i) {
        const QString &text = *texts[i];
        const QByteArray &header = headers[i];
        const bool wide = header[2] & 1;
        const int charSize = wide ? 2 : 1;
        if (room() < header.size() + (text.isEmpty() ? 0 : charSize))
            newPart();
        if (i % perBucket == 0)
            buckets.push_back({quint32(partStart + 4 + parts.back().size()), quint16(4 + parts.back().size())});
        parts.back() += header;
        for (int c = 0; c < text.size();) {
            if (room() < charSize) {
                newPart();
                parts.back().append(char(wide ? 1 : 0));
            }
            const int take = std::min<int>(int(text.size()) - c, room() / charSize);
            QByteArray &p = parts.back();
            for (int k = 0; k < take; ++k) {
                const quint16 u = text.at(c + k).unicode();
                if (wide)
                    add16(p, u);
                else
                    p.append(char(u));
            }
            c += take;
        }
        // Formatting runs stay whole (4 bytes each); phonetic data runs on.
        const QByteArray &tail = *tails[i];
        const int runBytes = int(quint8(header[2]) & 0x08 ? u16(header, 3) * 4 : 0);
        for (int at = 0; at < tail.size();) {
            const int unit = at < runBytes ? 4 : 1;
            if (room() < unit)
                newPart();
            int take = std::min<int>(int(tail.size()) - at, room());
            if (at < runBytes)
                take = std::min(take, runBytes - at) / 4 * 4;
            parts.back() += tail.mid(at, take);
            at += take;
        }
    }
    appendRecord(out, Record{RecSst, parts});

    QByteArray ext;
    add16(ext, quint16(perBucket));
    for (const Bucket &b : buckets) {
        add32(ext, b.position);
        add16(ext, b.offset);
        add16(ext, 0);
    }
    appendRecord(out, RecExtSst, ext);
}

void appendMergedCells(QByteArray &out, const std::vector<Sheet::Range> &ranges)
{
    for (size_t at = 0; at < ranges.size(); at += kRangesPerMergeRecord) {
        const size_t n = std::min<size_t>(kRangesPerMergeRecord, ranges.size() - at);
        QByteArray d;
        add16(d, quint16(n));
        for (size_t k = 0; k < n; ++k) {
            const Sheet::Range &r = ranges[at + k];
            add16(d, r.firstRow);
            add16(d, r.lastRow);
            add16(d, r.firstColumn);
            add16(d, r.lastColumn);
        }
        appendRecord(out, RecMergedCells, d);
    }
}

} // namespace

QByteArray Workbook::writeStream() const
{
    QByteArray out;
    quint32 textCells = 0;
    for (const auto &sheet : sheets_)
        for (const Row &r : sheet->rows_)
            for (const Cell &c : r.cells)
                textCells += c.kind == CellKind::Text;

    std::vector<qint64> boundSheetAt;
    auto writeStrings = [&]() {
        std::vector<QByteArray> headers;
        std::vector<const QString *> texts;
        std::vector<const QByteArray *> tails;
        std::vector<QByteArray> tailStore(strings_.size());
        headers.reserve(strings_.size());
        for (size_t i = 0; i < strings_.size(); ++i) {
            const SharedString &s = strings_[i];
            bool wide = false;
            for (QChar c : s.text)
                if (c.unicode() > 0xFF) {
                    wide = true;
                    break;
                }
            QByteArray h;
            add16(h, quint16(s.text.size()));
            h.append(char((wide ? 0x01 : 0) | (s.runs.isEmpty() ? 0 : 0x08) | (s.phonetic.isEmpty() ? 0 : 0x04)));
            if (!s.runs.isEmpty())
                add16(h, quint16(s.runs.size() / 4));
            if (!s.phonetic.isEmpty())
                add32(h, quint32(s.phonetic.size()));
            headers.push_back(h);
            texts.push_back(&s.text);
            tailStore[i] = s.runs + s.phonetic;
            tails.push_back(&tailStore[i]);
        }
        appendSharedStrings(out, headers, texts, tails, textCells);
    };
    for (size_t i = 0; i < globals_.size(); ++i) {
        const Record &rec = globals_[i];
        if (int(i) == sstAt_) {
            writeStrings();
            continue;
        }
        if (rec.type == RecEof && sstAt_ < 0 && !strings_.empty())
            writeStrings();
        const qint64 at = appendRecord(out, rec);
        if (rec.type == RecBoundSheet)
            boundSheetAt.push_back(at);
    }

    for (size_t s = 0; s < sheets_.size(); ++s) {
        const Sheet &sheet = *sheets_[s];
        put32(out, int(boundSheetAt[s] + 4), quint32(out.size()));
        if (!sheet.worksheet_) {
            for (const Record &rec : sheet.raw_)
                appendRecord(out, rec);
            continue;
        }
        std::vector<const Row *> rows;
        rows.reserve(sheet.rows_.size());
        for (const Row &r : sheet.rows_)
            if (!r.cells.empty() || r.record.size() == 16)
                rows.push_back(&r);
        const size_t blocks = (rows.size() + kRowsPerBlock - 1) / kRowsPerBlock;

        qint64 indexAt = -1;
        qint64 defColWidthAt = 0;
        for (size_t i = 0; i < sheet.head_.size(); ++i) {
            if (int(i) == sheet.indexAt_) {
                indexAt = appendRecord(out, RecIndex, QByteArray(16 + int(blocks) * 4, '\0'));
            } else if (int(i) == sheet.dimensionsAt_) {
                QByteArray d;
                const int lastRow = sheet.lastRow();
                const int lastColumn = sheet.lastColumn();
                int firstRow = 0, firstColumn = lastColumn < 0 ? 0 : kMaxColumns;
                for (const Row &r : sheet.rows_)
                    if (!r.cells.empty()) {
                        firstRow = int(r.index);
                        break;
                    }
                for (const Row &r : sheet.rows_)
                    if (!r.cells.empty())
                        firstColumn = std::min<int>(firstColumn, r.cells.front().column);
                add32(d, lastRow < 0 ? 0 : quint32(firstRow));
                add32(d, quint32(lastRow + 1));
                add16(d, quint16(firstColumn));
                add16(d, quint16(lastColumn + 1));
                add16(d, 0);
                appendRecord(out, RecDimensions, d);
            } else {
                const qint64 at = appendRecord(out, sheet.head_[i]);
                if (sheet.head_[i].type == RecDefColWidth)
                    defColWidthAt = at;
            }
        }

        std::vector<quint32> dbCells;
        for (size_t b = 0; b < blocks; ++b) {
            const size_t first = b * kRowsPerBlock;
            const size_t last = std::min(rows.size(), first + kRowsPerBlock);
            const qint64 firstRowAt = out.size();
            for (size_t i = first; i < last; ++i) {
                const Row &r = *rows[i];
                QByteArray rec = r.record.size() == 16 ? r.record : defaultRowRecord();
                put16(rec, 0, quint16(r.index));
                put16(rec, 2, r.cells.empty() ? 0 : r.cells.front().column);
                put16(rec, 4, r.cells.empty() ? 0 : quint16(r.cells.back().column + 1));
                appendRecord(out, RecRow, rec);
            }
            std::vector<qint64> cellStarts;
            for (size_t i = first; i < last; ++i) {
                const Row &r = *rows[i];
                cellStarts.push_back(out.size());
                for (const Cell &c : r.cells) {
                    QByteArray d = cellHeader(r.index, c.column, c.xf);
                    switch (c.kind) {
                    case CellKind::Blank:
                        appendRecord(out, RecBlank, d);
                        break;
                    case CellKind::Number: {
                        quint32 rk;
                        if (toRk(c.number, &rk)) {
                            add32(d, rk);
                            appendRecord(out, RecRk, d);
                        } else {
                            addF64(d, c.number);
                            appendRecord(out, RecNumber, d);
                        }
                        break;
                    }
                    case CellKind::Text:
                        add32(d, c.index);
                        appendRecord(out, RecLabelSst, d);
                        break;
                    case CellKind::BoolError:
                        add16(d, quint16(c.index));
                        appendRecord(out, RecBoolErr, d);
                        break;
                    case CellKind::Formula: {
                        const std::vector<Record> &f = sheet.formulas_[c.index];
                        Record head = f.front();
                        head.data().replace(0, 6, d);
                        appendRecord(out, head);
                        for (size_t k = 1; k < f.size(); ++k)
                            appendRecord(out, f[k]);
                        break;
                    }
                    }
                }
            }
            const qint64 dbCellAt = out.size();
            QByteArray d;
            add32(d, quint32(dbCellAt - firstRowAt));
            for (size_t k = 0; k < cellStarts.size(); ++k)
                add16(d, quint16(k == 0 ? cellStarts[0] - (firstRowAt + 20) : cellStarts[k] - cellStarts[k - 1]));
            appendRecord(out, RecDbCell, d);
            dbCells.push_back(quint32(dbCellAt));
        }

        if (indexAt >= 0) {
            const int at = int(indexAt + 4);
            put32(out, at + 4, rows.empty() ? 0 : rows.front()->index);
            put32(out, at + 8, rows.empty() ? 0 : rows.back()->index + 1);
            put32(out, at + 12, quint32(defColWidthAt));
            for (size_t b = 0; b < dbCells.size(); ++b)
                put32(out, at + 16 + int(b) * 4, dbCells[b]);
        }
        for (const Record &rec : sheet.tail_) {
            if (rec.type == RecMergedCells)
                appendMergedCells(out, sheet.merged_);
            else
                appendRecord(out, rec);
        }
    }
    return out;
}

QByteArray Workbook::toBytes() const
{
    // The other streams as they were read; the workbook stream made anew.
    CompoundFile file;
    file.root = container_.root;
    if (QByteArray *old = file.stream(streamName_))
        old->clear();
    file.setStream(streamName_, writeStream());
    return file.write();
}

void Workbook::save(const QString &path) const
{
    const QByteArray bytes = toBytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw XlsError(QStringLiteral("fisierul %1 nu poate fi scris (%2)").arg(path, file.errorString()));
}

} // namespace xls
