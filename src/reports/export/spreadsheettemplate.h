// The spreadsheet template contract shared by both register layouts: a
// workbook whose first sheet holds single-value markers ("#UNITATE"), and one
// template row, marked by a cell "#DBF", whose cells name the fields of a data
// set ("#PRET", "%NRCRT").
//
//     SpreadsheetTemplate model;
//     if (!model.open(copyOfTemplate, &error)) ...
//     model.replace("#UNITATE", unitName);
//     model.fillRows(query, true, [&] { prompter.ProgressStep(); });
//     model.save(output);                                        // throws xls::XlsError
//
// Markers are matched on the trimmed text of a cell without regard to case.
#pragma once

#include "reports/xls/workbook.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace sqlstore {
class Query;
}

class SpreadsheetTemplate {
public:
    // Opens the workbook; false, with the reason in `error`, when the file is
    // missing, is not a workbook this engine reads, or its first sheet is not a
    // worksheet.
    bool open(const QString &path, QString *error);

    // Row (from 0) of the template row: the first row, top down, with a cell
    // "#DBF"; -1 when there is none.
    int templateRow() const;

    // Every cell of the first sheet whose text is `marker` gets `text`.
    void replace(const QString &marker, const QString &text);

    // Writes one copy of the template row for each record of `data` from its
    // current position to its end (the position is restored), numbering
    // "%NRCRT" from 1, then removes the template row. Text fields become text,
    // dates date serial numbers, other fields numbers; with `blankZeros` a
    // value of exactly 0 leaves the cell empty, as does a missing value.
    // Without a template row nothing is written. Calls `rowWritten` after each
    // row. Returns the number of rows written; throws xls::XlsError when the
    // sheet cannot hold them.
    int fillRows(sqlstore::Query &data, bool blankZeros, const std::function<void()> &rowWritten = {});

    // Throws xls::XlsError when the file cannot be written.
    void save(const QString &path) const;

private:
    std::optional<xls::Workbook> book_;
};

// Days since 30 December 1899, the spreadsheet's date serial number.
int DateSerial(const QDate &date);
