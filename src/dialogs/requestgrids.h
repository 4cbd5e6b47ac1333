// The columns of the grids the entry dialogs share: seller lines, holder
// lines, the requests to copy holders from and the communications to choose
// a winner among, with their computed columns.
#pragma once

#include "dialogs/bandedgrid.h"

// "Nr. crt.", the seller, the bands "C.I." and "Mandatar".
QList<GridColumn> SellerGridColumns();
// "Rang" … "Telefon", with the computed "Prin Posta" (POSTAS).
QList<GridColumn> HolderGridColumns();
// The requests of TSelCerere, bands "Cerere", "Date despre vanzator", "Adresa".
QList<GridColumn> RequestGridColumns();
// The communications or offers of TAlegePree.
QList<GridColumn> CommunicationGridColumns();

// The computed columns: POSTAS ("X" when POSTA is "DA") and NRS (NR in
// individual numbering, else NR2, by the numbering mode read now).
ComputedField RequestGridComputed();
