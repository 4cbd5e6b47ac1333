// The notifications of a request's holders (act kind 14, "Anexa_4.rtf"): one
// document with a page per notification, whichever notification was chosen,
// and the display report's list of them.
//
// A notification belongs to its holder through the act's IDC (the holder's
// IDP). Acts of older versions carry no IDC (0): only those are matched to a
// holder by name.
#pragma once

#include "register/documents/commonmarkers.h"
#include "register/documents/documentresult.h"

// The notifications of the request joined with their holders, in RANG, NUME
// order: the holder's fields, then the act's NR, NR2, NR2PER and DATAA.
QList<Row> LoadNotifications(qint64 requestId);

// Writes every notification of the act's request into `target`, one page
// each. Failed when the request has none.
DocumentResult BuildNotifications(const ActContext &act, const QString &templatePath, const QString &target);

// After a holder's name changed: its notification carries the new name. The
// notification is found by the holder's id, or, for an act of an older
// version without it, by the old name. Returns the acts renamed. Throws
// sqlstore::SqlError.
int RenameHolderNotification(qint64 requestId, qint64 idp, const QString &oldName, const QString &newName);

// Sellers phrase of the notifications: each seller with " prin " + mandatary,
// separated by "; ", the last one preceded by " si ".
QString NotificationSellersPhrase(const QList<Row> &sellers);
