#include "reports/export/spreadsheettemplate.h"

#include "datastore/sql/database.h"

#include <QDate>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

const QString kRowMarker = QStringLiteral("#DBF");
const QString kRunningNumber = QStringLiteral("%NRCRT");

bool isMarker(const xls::CellValue &cell, const QString &marker)
{
    return cell.kind == xls::CellKind::Text && cell.text.trimmed().compare(marker, Qt::CaseInsensitive) == 0;
}

// What a template row cell receives.
struct RowCell {
    int column;
    // Field of the data set, or -1 for the running number.
    int field;
};

void writeValue(xls::Sheet &sheet, int row, int column, const QVariant &value, const sqlstore::FieldInfo &field,
                bool blankZeros)
{
    if (!value.isValid() || value.isNull()) {
        sheet.setBlank(row, column);
        return;
    }
    const int type = value.typeId();
    const bool text = field.type == 'C' || field.type == 'L'
                      || (field.type == 0 && (type == QMetaType::QString || type == QMetaType::QByteArray));
    if (text) {
        const QString s = value.toString();
        if (s.isEmpty())
            sheet.setBlank(row, column);
        else
            sheet.setText(row, column, s);
        return;
    }
    if (field.type == 'D' || type == QMetaType::QDate) {
        const QDate date = value.toDate();
        if (date.isValid())
            sheet.setNumber(row, column, DateSerial(date));
        else
            sheet.setBlank(row, column);
        return;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || (blankZeros && number == 0))
        sheet.setBlank(row, column);
    else
        sheet.setNumber(row, column, number);
}

// A wrapped text needs one line for every column width of characters it
// holds (a little more for a smaller font); the row grows to the tallest cell
// so that no line hides another. Readers keep the stored height, they do not
// measure the text again.
int linesNeeded(const xls::Sheet &sheet, int row, int column, bool wraps)
{
    const xls::CellValue value = sheet.cell(row, column);
    if (value.kind != xls::CellKind::Text || value.text.isEmpty())
        return 1;
    const QStringList paragraphs = value.text.split(QLatin1Char('\n'));
    if (!wraps)
        return int(paragraphs.size());
    const int perLine = std::max(1, sheet.columnWidth(column) * 11 / 10 / 256);
    int lines = 0;
    for (const QString &p : paragraphs)
        lines += std::max<int>(1, int((p.size() + perLine - 1) / perLine));
    return lines;
}

} // namespace

int DateSerial(const QDate &date)
{
    return int(QDate(1899, 12, 30).daysTo(date));
}

bool SpreadsheetTemplate::open(const QString &path, QString *error)
{
    book_.reset();
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("Modelul %1 nu exista.").arg(path);
        return false;
    }
    try {
        xls::Workbook book = xls::Workbook::open(path);
        if (!book.sheet(0).isWorksheet()) {
            *error = QStringLiteral("Modelul %1 nu incepe cu o foaie de calcul.").arg(path);
            return false;
        }
        book_.emplace(std::move(book));
    } catch (const xls::XlsError &e) {
        *error = QStringLiteral("Modelul %1 nu poate fi deschis: %2.").arg(path, e.message());
        return false;
    }
    return true;
}

int SpreadsheetTemplate::templateRow() const
{
    for (const xls::Row &row : book_->sheet(0).rows())
        for (const xls::Cell &cell : row.cells)
            if (cell.kind == xls::CellKind::Text
                && book_->sharedString(cell.index).trimmed().compare(kRowMarker, Qt::CaseInsensitive) == 0)
                return int(row.index);
    return -1;
}

void SpreadsheetTemplate::replace(const QString &marker, const QString &text)
{
    xls::Sheet &sheet = book_->sheet(0);
    std::vector<std::pair<int, int>> hits;
    for (const xls::Row &row : sheet.rows())
        for (const xls::Cell &cell : row.cells)
            if (isMarker(sheet.cell(int(row.index), cell.column), marker))
                hits.emplace_back(int(row.index), cell.column);
    for (const auto &[row, column] : hits)
        sheet.setText(row, column, text);
}

int SpreadsheetTemplate::fillRows(sqlstore::Query &data, bool blankZeros, const std::function<void()> &rowWritten)
{
    const int source = templateRow();
    if (source < 0)
        return 0;
    xls::Sheet &sheet = book_->sheet(0);

    std::vector<int> columns;
    for (const xls::Row &row : sheet.rows())
        if (int(row.index) == source) {
            for (const xls::Cell &cell : row.cells)
                columns.push_back(cell.column);
            break;
        }
    std::vector<RowCell> cells;
    bool rowMarkerSeen = false;
    for (int column : columns) {
        const xls::CellValue value = sheet.cell(source, column);
        if (value.kind != xls::CellKind::Text)
            continue;
        const QString marker = value.text.trimmed().toUpper();
        if (marker == kRowMarker && !rowMarkerSeen) {
            // Emptied at once, so that no copy carries it.
            sheet.setBlank(source, column);
            rowMarkerSeen = true;
        } else if (marker == kRunningNumber) {
            cells.push_back({column, -1});
        } else if (marker.startsWith(QLatin1Char('#')) && data.fieldIndex(marker.mid(1)) >= 0) {
            cells.push_back({column, data.fieldIndex(marker.mid(1))});
        }
    }
    const int start = data.position();
    const int count = std::max(0, data.rowCount() - start);
    const int lineHeight = sheet.rowHeight(source);
    std::vector<bool> wraps;
    for (const RowCell &c : cells)
        wraps.push_back(book_->wrapsText(sheet.cell(source, c.column).xf));
    sheet.insertRowCopies(source, count);
    for (int i = 0; i < count; ++i) {
        const int row = source + i;
        int lines = 1;
        for (size_t k = 0; k < cells.size(); ++k) {
            const RowCell &c = cells[k];
            if (c.field < 0)
                sheet.setNumber(row, c.column, i + 1);
            else
                writeValue(sheet, row, c.column, data.valueAt(start + i, c.field), data.field(c.field), blankZeros);
            lines = std::max(lines, linesNeeded(sheet, row, c.column, wraps[k]));
        }
        if (lines > 1)
            sheet.setRowHeight(row, std::min(409 * 20, lines * lineHeight * 9 / 10));
        if (rowWritten)
            rowWritten();
    }
    sheet.deleteRow(source + count);
    data.seek(start);
    return count;
}

void SpreadsheetTemplate::save(const QString &path) const
{
    book_->save(path);
}
