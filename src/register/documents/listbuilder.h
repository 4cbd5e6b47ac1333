// The list of pre-emption holders ("Anexa_3.rtf") of the acts of kind 9 (the
// list made with the request) and 3 (the list made with an acceptance
// communication, which adds every accepting person who was not on it).
//
// The template holds, for each rank n from 1 to 7, a check mark "[p<n>]" and
// one table row with "1.", "[Pree<n>]" and "[Adresa<n>]"; the list repeats
// that row once per holder of the rank and leaves it empty ("1.") when the
// rank has none. The result is the template the common markers then fill.
#pragma once

#include "register/documents/documentdata.h"

#include <QByteArray>
#include <QList>

struct ListEntry {
    qint64 rank = 0;
    QString name;
    QString address;
};

// `listTemplate` with the rank marks set ("X" for the ranks of `entries`,
// nothing for the others) and each rank's row cut out and repeated for its
// entries, in the order given, numbered 1., 2., ... A rank whose row the
// template lacks is left as it is.
QByteArray FillHolderList(QByteArray listTemplate, const QList<ListEntry> &entries);

// The entries of the list of act kind `kind` (9 or 3) of the request, in
// RANG, NUME order. For kind 3 they pass through the scratch table "LP1"
// (holders, then each stage-I communicant not already named, under the rank
// of the communication and with "loc." + LOC + ", " + ADRESA as address),
// which is deleted afterwards. Throws sqlstore::SqlError.
QList<ListEntry> HolderListEntries(qint64 requestId, int kind);

// Writes the filled list template into a work file "LP<n>.rtf" of the program
// folder and returns its path (the caller removes it); empty, with the reason
// in `error`, when the template cannot be read or the file written.
QString WriteHolderListTemplate(const QString &templatePath, const QList<ListEntry> &entries, QString *error);
