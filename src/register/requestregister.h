// The requests of the register (dataset Ax): every request with its first
// seller (NRCRT=1), by date and number, with the computed columns of each
// row, and the search filter. A seller line numbered 1 whose request is gone
// is not a row, and neither is a request without seller 1.
//
//   RequestRegister ax;
//   ax.open(LoadRegisterSettings(), QDate::currentDate());
//   ax.noteChange(SetRequestState(id, 1));
//   ax.refresh(QDate::currentDate());      // reads only what changed
//
// The requests and the first sellers are read as two statements and joined
// here by ID. A refresh reads a table again only when its signature (change
// counter, record count) differs from the one read; a change this process
// made itself, noted with noteChange(), is shown by reading that one request
// again, as long as no other workstation wrote in between.
#pragma once

#include "datastore/sql/database.h"
#include "register/deadlines.h"
#include "register/registerqueries.h"
#include "register/registersettings.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QVariant>

#include <unordered_map>
#include <vector>

class RequestRegister {
public:
    // Reads both tables and computes every row. Throws sqlstore::SqlError.
    void open(const RegisterSettings &settings, const QDate &today);
    // Shows the tables again, reading only what changed since the last read.
    // Throws sqlstore::SqlError.
    void refresh(const QDate &today);
    // A write this process made to one request (SetRequestState and the like).
    void noteChange(const RequestChange &change);
    // Forgets everything read; the next refresh reads all.
    void close();

    const RegisterSettings &settings() const { return settings_; }
    int today() const { return today_; }

    // Rows that pass the search filter.
    int rowCount() const { return int(visible_.size()); }
    // Value of a column of `row` (a visible row): a column of Cereri, of the
    // first seller, or a computed one (NRS, ZileRamase, STARES, HINTS,
    // Expirat, DataScad1, DataScad2, DataScad as day serials, 0 when empty).
    // A null QVariant for an unknown column.
    QVariant value(int row, const QString &column) const;
    const RequestColumns &columns(int row) const;
    qlonglong id(int row) const;
    int stare(int row) const;
    QString pv1(int row) const;
    // The visible row of request `id`, or -1.
    int rowOfId(qlonglong id) const;

    // The search: a first seller (empty for "* indiferent *") and a number
    // (0 for none); a number wins over the seller. Compared by value.
    void setSearch(const QString &seller, qlonglong number);

    // Both tables' signatures as last read.
    TableSignature requestsSignature() const { return requestsSeen_; }

private:
    struct Row {
        // Row of requests_ (or of its patch) and of sellers_.
        int request = 0;
        int seller = 0;
        RequestColumns columns;
    };
    void readRequests();
    void readSellers();
    void rebuildRows();
    bool rereadChanged(std::vector<int> *reread);
    void computeColumns(Row &row);
    void applySearch();
    QVariant requestValue(const Row &row, const QString &column) const;
    const sqlstore::Query &requestSource(const Row &row, int *storedRow) const;

    RegisterSettings settings_;
    int today_ = 0;
    sqlstore::Query requests_;
    // Columns of requests_ (and of its patches, read with the same statement).
    struct {
        int id = -1, datac = -1, stare = -1, pv1 = -1, nr = -1, nr2 = -1;
    } columns_;
    sqlstore::Query sellers_;
    TableSignature requestsSeen_, sellersSeen_;
    bool read_ = false;
    // Requests this process changed since requests_ was read, read again one
    // by one: request row -> a one-row query.
    std::unordered_map<int, sqlstore::Query> patches_;
    QSet<qlonglong> changed_;
    std::vector<Row> rows_;
    std::vector<int> visible_;
    QHash<qlonglong, int> rowById_;
    // Computed columns depend only on the date, the state and the stage.
    std::unordered_map<qint64, RequestColumns> memo_;
    // The holidays the settings file adds, read once per refresh.
    QSet<int> extraHolidays_;
    QString searchSeller_;
    qlonglong searchNumber_ = 0;
};
