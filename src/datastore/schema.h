// The six tables of a data folder: their layouts, creation at start, upgrade
// of tables written by older versions, and the weekly packing.
//
// Tables are dBASE files in the data folder, named by the full path of their
// file in SQL statements; an existing file is found whatever the case of its
// name ("CERERI.DBF" copied from a Windows server is the table "Cereri.dbf").
//
//   CreateTables();
//   UpgradeSchema([] { ExtractTemplates(); });
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The version this program brings the tables up to, fixed point x10000.
constexpr qint64 kCurrentSchemaVersion = 10034;

// Full path of a table file of the current data folder, in the spelling found
// on disk, or `fileName` as given when the file does not exist yet.
QString TablePath(const QString &fileName);

// The same path as a statement names the table: between double quotes.
QString QuotedTablePath(const QString &fileName);

// The CREATE TABLE statement of one of "Cereri.dbf", "Vanzatori.dbf",
// "Preemptori.dbf", "Comunicari.dbf", "AlteActe.dbf", "Log.dbf" at `path`:
// the fields in file order, one per line. Empty text for any other name.
QString CreateTableStatement(const QString &fileName, const QString &path);

// Creates every table missing from the data folder, in the order Log, Cereri,
// Comunicari, Preemptori, AlteActe, Vanzatori. Existing files are never
// touched. Throws SqlError (with the engine's message) when a statement fails.
void CreateTables();

// Which steps an upgrade runs, decided on the stored version before anything
// changes.
struct UpgradePlan {
    // Add COTAPARTE and FARACONTR to Cereri (before 1.0001).
    bool addShare = false;
    // Replace the templates of annex 7 (before 1.0009).
    bool annex7Templates = false;
    // Rewrite the share "100%" as "1/1" (before 1.0012).
    bool shareAsFraction = false;
    // Replace the request-and-offer templates (before 1.0021).
    bool requestTemplates = false;
    // Replace the templates of annex 2C/2D (before 1.0025).
    bool annex2Templates = false;
    // Replace the final-report template (before 1.0027).
    bool finalReportTemplate = false;
};
UpgradePlan PlanUpgrade(qint64 storedVersion);

// Brings the tables and templates of an older version up to date. Reads
// "SERVER"/"Varianta3", stores the current version before any step runs (so a
// step that fails is not tried again at the next start), then adds and fills
// the missing columns of Cereri, widens NRCAD and NRCARTE to 80 keeping their
// data, and deletes the outdated templates from the data folder, calling
// `extractTemplates` to write the current ones. The adding of COTAPARTE and
// FARACONTR fails silently when they exist; widening is best effort; any
// other failure throws sqlstore::SqlError, or SettingsError when the version
// cannot be stored.
void UpgradeSchema(const std::function<void()> &extractTemplates);

// Packs Cereri, Comunicari, Preemptori, AlteActe and Log in this order (the
// rows marked deleted go away), calling `afterEachTable` after each, packed or
// not. A table that cannot be packed (another copy of the program holds it)
// does not stop the others; at the end sqlstore::SqlError carries the engine's
// message for each such table, one per line.
void PackTables(const std::function<void()> &afterEachTable = {});

// The file names of the five tables that are packed, in packing order.
QStringList PackedTables();
