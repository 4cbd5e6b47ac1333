// What the seller dialog remembers to save typing: the sellers of earlier
// requests (one entry per name and code, standing for the newest line of
// that pair), the mandatary capacities used before, and the last seller
// added, kept in section "TEMP" of the settings file, one key per field.
#pragma once

#include "dialogs/requestlines.h"

#include <QList>
#include <QString>
#include <QStringList>

struct EarlierSeller {
    QString name;
    // IDV of the newest line with this name and code.
    qlonglong idv = 0;
};

// One entry per distinct name and code of Vanzatori, by name in the
// engine's Romanian order (one name with several codes keeps the order of
// their first lines). The list is kept while the table file stays unchanged
// (any write, from any workstation, makes the next call read it anew), so
// only the first opening of the seller dialog after a change pays for
// reading every seller line; a caller that has just stored a request may
// call it to read the list while the clerk is not waiting for a dialog.
// Throws sqlstore::SqlError.
QList<EarlierSeller> EarlierSellers();

// The distinct non-empty mandatary capacities (MCALITATE) of Vanzatori in
// the Romanian order, as FillDistinctList gives them; read and kept with the
// earlier sellers. Throws sqlstore::SqlError.
QStringList MandataryCapacities();

// The line of Vanzatori with this IDV; false when there is none.
bool SellerLineById(qlonglong idv, SellerLine &line);

// The last seller saved in add mode; the counties are given back as indexes
// into their list (0 when never stored) and a date never stored is the zero
// date (30.12.1899).
struct LastSeller {
    SellerLine line;
    int judet = 0;
    int mjudet = 0;
};
LastSeller ReadLastSeller();

// Stores `seller` as the last seller (county indexes as numbers, dates as
// whole day counts since 30.12.1899). Throws SettingsError.
void WriteLastSeller(const LastSeller &seller);
