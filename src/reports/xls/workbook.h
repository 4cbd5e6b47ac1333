// A binary workbook (BIFF8, the ".xls" format of the last thirty years) in
// its compound-file container: open one written by any program, read and
// change the cells of its worksheets, insert copies of a row and delete rows,
// and save it again; or build a new one (fonts, cell formats, column widths,
// merged cells) for the program's own templates.
//
//     xls::Workbook book = xls::Workbook::open(path);       // throws XlsError
//     xls::Sheet &sheet = book.sheet(0);
//     sheet.insertRowCopies(9, 3);                          // rows 9..11 copy row 9, which moves to 12
//     sheet.setText(9, 0, "1/2");
//     sheet.setNumber(9, 1, 45000);                         // a date serial, shown as a date by its format
//     sheet.deleteRow(12);
//     book.save(out);
//
// Rows and columns count from 0. What the engine reads and rewrites: the
// globals' sheet list and shared strings (rich runs and phonetic data kept),
// and every worksheet's cell table (rows, blank, number, RK, MULRK, label,
// shared-string label, boolean/error and formula cells with their cached
// string and shared/array parts) and merged ranges. Every other record is kept
// byte for byte in its place, with its continuations; the offsets that point
// into the stream (sheet positions, cell index, row blocks, string index) are
// computed anew on every save. Other streams of the container (document
// properties, macros) are kept too. Chart and macro sheets are kept whole.
//
// A formula is kept as it is: its tokens are not moved when rows are inserted
// above the cells it refers to. A copy of a cell holding a shared or array
// formula becomes a blank cell with the same format, since the copy lies
// outside the formula's range.
#pragma once

#include "reports/xls/compoundfile.h"
#include "reports/xls/xlserror.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace xls {

// The largest row count of a BIFF8 worksheet.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

// One record of the workbook stream with its CONTINUE records.
struct Record {
    quint16 type = 0;
    // The record's own data, then the data of each CONTINUE that followed it.
    std::vector<QByteArray> parts;
    QByteArray &data() { return parts.front(); }
    const QByteArray &data() const { return parts.front(); }
};

// What a cell holds.
enum class CellKind : quint8 { Blank, Number, Text, BoolError, Formula };

// A cell as the worksheet keeps it.
struct Cell {
    // Column, from 0.
    quint16 column = 0;
    // Index of its cell format (XF record).
    quint16 xf = 15;
    CellKind kind = CellKind::Blank;
    // Number: the value. Text: index in the shared strings. BoolError: the
    // value and error flag bytes. Formula: index in the sheet's formulas.
    double number = 0;
    quint32 index = 0;
};

// A row of a worksheet: its ROW record (height, format, flags) and its cells
// in column order.
struct Row {
    // Row index, from 0.
    quint32 index = 0;
    // The 16 bytes of its ROW record; empty when the file gave none.
    QByteArray record;
    std::vector<Cell> cells;
};

// A cell's content as a caller reads it.
struct CellValue {
    CellKind kind = CellKind::Blank;
    // Text of a text cell, or the cached text of a formula when it has one.
    QString text;
    // Value of a number cell, or the cached number of a formula.
    double number = 0;
    // Cell format index; -1 when the cell does not exist.
    int xf = -1;
};

class Workbook;

class Sheet {
public:
    QString name() const { return name_; }
    // True for a worksheet; chart and macro sheets are kept but not read.
    bool isWorksheet() const { return worksheet_; }

    // Used range: last row and column holding a cell, -1 when none.
    int lastRow() const;
    int lastColumn() const;

    CellValue cell(int row, int column) const;
    // The rows in order (for readers that walk every cell).
    const std::vector<Row> &rows() const { return rows_; }

    // Writes a value, keeping the cell's format (15, the default, for a new
    // cell). Throws XlsError when the position is outside the sheet.
    void setText(int row, int column, const QString &text);
    void setNumber(int row, int column, double value);
    void setBlank(int row, int column);
    // Gives the cell (created blank when missing) the format `xf`.
    void setCellFormat(int row, int column, int xf);

    // Inserts `count` copies of row `source` (values, formats, height, and its
    // merged ranges) at its place, so that the copies take rows source ...
    // source + count - 1 and everything from `source` on moves down by
    // `count`. Throws XlsError when the sheet would pass kMaxRows.
    void insertRowCopies(int source, int count);
    // Deletes a row; the rows below move up by one, merged ranges with them.
    void deleteRow(int row);

    // Layout, for building templates.
    void setColumnWidth(int firstColumn, int lastColumn, int width256ths, int xf = 15);
    void setRowHeight(int row, int twips);
    // Width of a column in 256ths of a character, and height of a row in
    // twentieths of a point (the sheet's defaults when not set).
    int columnWidth(int column) const;
    int rowHeight(int row) const;
    void mergeCells(int firstRow, int firstColumn, int lastRow, int lastColumn);

    // Merged ranges: first row, last row, first column, last column.
    struct Range {
        quint16 firstRow, lastRow, firstColumn, lastColumn;
    };
    const std::vector<Range> &mergedRanges() const { return merged_; }

private:
    friend class Workbook;
    Row &rowAt(int row);
    Cell &cellAt(int row, int column);
    const Row *findRow(int row) const;
    int rowPosition(int row) const;
    void shiftRows(int fromRow, int delta);
    QString formulaText(const Cell &c) const;

    Workbook *book_ = nullptr;
    QString name_;
    bool worksheet_ = true;
    // The BOUNDSHEET record of the sheet (its position field is rewritten).
    Record boundSheet_;
    // A sheet that is not a worksheet: its records, kept whole.
    std::vector<Record> raw_;
    // A worksheet: records before its cell table (INDEX and DIMENSIONS are
    // written in the places they had), and records after it.
    std::vector<Record> head_;
    std::vector<Record> tail_;
    int indexAt_ = -1;
    int dimensionsAt_ = -1;
    std::vector<Row> rows_;
    // Formula cells: the FORMULA record and the records that belong to it
    // (STRING, SHRFMLA, ARRAY, TABLE).
    std::vector<std::vector<Record>> formulas_;
    std::vector<Range> merged_;
};

// A font for new cell formats.
struct Font {
    QString name = QStringLiteral("Arial");
    // Height in twentieths of a point.
    int height = 200;
    bool bold = false;
    bool italic = false;
};

// A cell format for new cells.
struct CellFormat {
    // Index returned by addFont (0 is the default font).
    int font = 0;
    // Index of a number format: 0 general, 14 the short date, or one returned
    // by addNumberFormat.
    int numberFormat = 0;
    enum Horizontal { General = 0, Left = 1, Center = 2, Right = 3 } horizontal = General;
    enum Vertical { Top = 0, Middle = 1, Bottom = 2 } vertical = Bottom;
    bool wrap = false;
    // Thin borders on every side.
    bool borders = false;
};

class Workbook {
public:
    // Reads a workbook. Throws XlsError with the problem (not a BIFF8
    // workbook, protected by a password, truncated, damaged) when it cannot.
    static Workbook open(const QString &path);
    static Workbook fromBytes(const QByteArray &bytes);

    // A new workbook with one empty worksheet.
    static Workbook create(const QString &sheetName);

    Workbook(Workbook &&) noexcept;
    Workbook &operator=(Workbook &&) noexcept;
    ~Workbook();

    int sheetCount() const { return int(sheets_.size()); }
    Sheet &sheet(int index) { return *sheets_.at(index); }
    const Sheet &sheet(int index) const { return *sheets_.at(index); }

    // Saves the workbook. Throws XlsError when the file cannot be written;
    // a file already at `path` is then left as it was.
    void save(const QString &path) const;
    QByteArray toBytes() const;

    // Shared strings.
    QString sharedString(quint32 index) const;
    quint32 addSharedString(const QString &text);

    // True when the cell format wraps text over several lines.
    bool wrapsText(int xf) const;

    // Formats of new workbooks.
    int addFont(const Font &font);
    int addNumberFormat(const QString &code);
    int addCellFormat(const CellFormat &format);

private:
    Workbook();
    friend class Sheet;
    void parse(const QByteArray &stream);
    void parseGlobals(const std::vector<Record> &records, size_t end);
    void parseSharedStrings(const Record &sst);
    QByteArray writeStream() const;

    struct SharedString {
        QString text;
        // Formatting runs (4 bytes each) and phonetic data, as read.
        QByteArray runs;
        QByteArray phonetic;
    };

    CompoundFile container_;
    // Name of the workbook stream as found ("Workbook", or "Book").
    QString streamName_;
    // Globals records in order; the SST and EXTSST places are marked.
    std::vector<Record> globals_;
    int sstAt_ = -1;
    std::vector<SharedString> strings_;
    QHash<QString, quint32> plainStrings_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    // For new workbooks: how many FONT, FORMAT and XF records the globals hold,
    // and where the next of each goes.
    int fontCount_ = 0;
    int nextFormatCode_ = 164;
};

} // namespace xls
