// The request dialog's two working tables: a seller table with the layout of
// Vanzatori and a holder table with that of Preemptori, scratch files in the
// program folder ("TmpVanz<n>.DBF", "TmpPre<n>.DBF") on which the dialog
// works until the register copies them into the main tables. Each function
// runs its statements through the process's database and throws
// sqlstore::SqlError with the engine's message when one fails (what was
// written before stays); the counters throw SettingsError.
//
//   WorkingTables tables = CreateWorkingTables("-1");
//   AddSellerLine(tables, line);
//   ...
//   DropWorkingTables(tables);          // on cancel
#pragma once

#include "dialogs/requestlines.h"

#include <QList>
#include <QString>

class Prompter;

struct WorkingTables {
    // Full paths of the two files; empty when not made.
    QString holders;
    QString sellers;
};

// The stems and extension of the working table files.
inline constexpr const char *HolderTableStem = "TmpPre";
inline constexpr const char *SellerTableStem = "TmpVanz";
inline constexpr const char *WorkingTableExt = ".DBF";

// Takes two fresh names with TempFileName and creates both tables. For an
// existing request (`requestId` other than "-1") the holder table gets the
// column NUMEOLD and both are filled with the request's lines from the data
// folder. When a step fails, whatever was made is removed before the error
// goes on.
WorkingTables CreateWorkingTables(const QString &requestId);

// Deletes both files (and gives their names back); missing files are fine.
void DropWorkingTables(WorkingTables &tables);

// Start-up: deletes the working tables in `folder` that no running copy of
// the program holds, the leftovers of a copy that was closed or killed with
// the request dialog open. Returns how many files went.
int RemoveStaleWorkingTables(const QString &folder);

// Lines of the tables, as the grids list them.
QList<SellerLine> SellerLines(const WorkingTables &tables);
QList<HolderLine> HolderLines(const WorkingTables &tables);
int SellerLineCount(const WorkingTables &tables);
int HolderLineCount(const WorkingTables &tables);

// Reads the line the query stands on (columns of Vanzatori / Preemptori).
namespace sqlstore {
class Query;
}
SellerLine SellerLineOf(const sqlstore::Query &q);
HolderLine HolderLineOf(const sqlstore::Query &q);

// Seller lines. A new line takes IDV from the counter, ID 0 and the next
// NRCRT; returns its IDV. Modifying keeps IDV and NRCRT. Deleting closes the
// gap in NRCRT.
qlonglong AddSellerLine(const WorkingTables &tables, const SellerLine &line);
void UpdateSellerLine(const WorkingTables &tables, const SellerLine &line);
void DeleteSellerLine(const WorkingTables &tables, qlonglong idv);

// "Sterge Vanzator": asks, and on "Da" deletes the line. True when deleted.
bool AskAndDeleteSellerLine(const WorkingTables &tables, const SellerLine &line, Prompter &prompter);

// "Pune pe Ultimii introdusi": asks, then replaces the seller lines with those
// of the newest other request (new IDV, ID 0). False when the clerk said no
// or there is no other request (reported).
bool CopyLastRequestSellers(const WorkingTables &tables, const QString &requestId, Prompter &prompter);

// Holder lines. A new line takes IDP from the counter and ID `requestId`;
// returns its IDP.
qlonglong AddHolderLine(const WorkingTables &tables, const HolderLine &line, const QString &requestId);
void UpdateHolderLine(const WorkingTables &tables, const HolderLine &line);
void DeleteHolderLine(const WorkingTables &tables, qlonglong idp);

// Whether another line of the holder table carries exactly `name` (the line
// `exceptIdp` left out when it is not 0).
bool HolderNameExists(const WorkingTables &tables, const QString &name, qlonglong exceptIdp);

// Replaces the holder lines with those of request `sourceId` (new IDP, ID 0).
void CopyHolders(const WorkingTables &tables, const QString &sourceId);

// The changes of the holder list that renumber later acts, refused unless
// the holders may change (reported). Modifying is always allowed.
enum class HolderChange { Add, Delete, Copy };
bool HolderChangeAllowed(HolderChange change, bool mayChangeHolders, Prompter &prompter);

// "Sterge Preemptor": asks, and on "Da" deletes the line. True when deleted.
bool AskAndDeleteHolderLine(const WorkingTables &tables, const HolderLine &line, Prompter &prompter);
