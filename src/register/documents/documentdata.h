// What the documents of a request are filled from: the institution data of
// the settings, the request row with its first seller and the columns the
// register computes, its sellers, holders, answers and acts, read afresh from
// the tables of the session's data folder.
//
//     const DocumentSettings settings = LoadDocumentSettings();
//     const RequestRecord request = LoadRequest(id, settings);
//     const QList<Row> sellers = LoadSellers(id);
//
// A row is the table row as text: each field's value as the documents print
// it (trimmed text, a date as dd.MM.yyyy, a number without trailing zeros),
// found by its name whatever its case. Every loader throws sqlstore::SqlError
// when a table cannot be read.
#pragma once

#include "register/deadlines.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace sqlstore {
class Query;
}

// One table row: the fields in their file order, with their printed text.
struct Row {
    // Field names in capitals, in the order of the statement's columns.
    QStringList names;
    // Printed text of each field by name in capitals.
    QHash<QString, QString> text;
    // The stored values by name in capitals (numbers, dates) for arithmetic.
    QHash<QString, QVariant> value;

    bool isEmpty() const { return names.isEmpty(); }
    // Printed text of `field`; empty when the row has no such field.
    QString operator[](const QString &field) const { return text.value(field.toUpper()); }
    qint64 number(const QString &field) const { return value.value(field.toUpper()).toLongLong(); }
    double amount(const QString &field) const { return value.value(field.toUpper()).toDouble(); }
    QDate date(const QString &field) const { return value.value(field.toUpper()).toDate(); }
    // Adds or replaces a field at the end of the row.
    void set(const QString &field, const QString &printed, const QVariant &stored = {});
};

// The current row of `query` as a Row.
Row RowOf(const sqlstore::Query &query);

// A stored value as the documents print it: dates dd.MM.yyyy, numbers in
// their shortest form ("1500", "1234.56"), text as stored; empty for NULL.
QString PrintedValue(const QVariant &value);

// dd.MM.yyyy, or empty for a date that is not valid.
QString ShortDate(const QDate &date);

// The institution data and numbering of the data folder's settings file.
struct DocumentSettings {
    // "CONST"/"UNITATE": the unit (town hall) name.
    QString unitate;
    // "CONST"/"LOCALIT".
    QString localit;
    // "CONST"/"JUDET" as the county's name.
    QString judet;
    QString primar;
    QString secretar;
    QString site;
    // "CONST"/"NumTip" is 2 or more.
    bool perRequestNumbering = false;
    // "CONST"/"ZileEt1", "ZileEt2", with their defaults.
    DeadlineTerms terms;
};
DocumentSettings LoadDocumentSettings();

// The request as the register's row shows it: every field of `Cereri`, its
// first seller's fields, and the computed columns (NRS, ZileRamase, STARES,
// HINTS, Expirat, DataScad1, DataScad2, DataScad), the dates as dates.
struct RequestRecord {
    Row row;
    qint64 id = 0;
    // Display number (NR or NR2).
    QString number;
    // Day serials of the end of stage I and II; 0 under the 31-day rule.
    int dataScad1 = 0;
    int dataScad2 = 0;
    // "PV1" is "N".
    bool stageOne = true;
    // "TIPPF" is "FIZICA" / "JURIDICA".
    bool naturalPerson = true;
    bool legalPerson = false;
    // The seller count of the act documents: NRV, or 1 for a legal person.
    int sellerCount = 1;
};

// The request `id`; `found` false (and an empty record) when there is none.
RequestRecord LoadRequest(qint64 id, const DocumentSettings &settings, bool *found);

// The sellers of the request in NRCRT order.
QList<Row> LoadSellers(qint64 id);

// The holders of the request in RANG, IDP order.
QList<Row> LoadHolders(qint64 id);

// The answers (communications RANG < 100, offers RANG = 100) of the request's
// stage, in the register's order (DATAC, NR).
QList<Row> LoadAnswers(qint64 id, bool stageOne);

// One act or answer by its id; empty when there is none.
Row LoadAct(qint64 ida);
Row LoadAnswer(qint64 idc);

// The acts of kind `kind` of the request, in the register's order (DATAA, NR).
QList<Row> LoadActsOfKind(qint64 id, const QString &kind);

// Display number of an act or answer: NR, or NR2 + "/" + NR2PER.
QString ActNumber(const Row &act, bool perRequestNumbering);

// The number `steps` places before an act's display number: with "a/b" the
// subtraction applies to b.
QString NumberBefore(const QString &number, qint64 steps);

// The sex and birth date carried by a personal numeric code.
bool IsMaleCode(const QString &code);
// dd.MM.yyyy of the birth date of a correct personal code, else empty.
QString BirthDateOfCode(const QString &code);
