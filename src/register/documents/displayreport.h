// The report of the offer's display (act kind 1, "Anexa_9.rtf"): when and by
// whom the offer was displayed, the notifications sent to the holders, and
// the number of the list of holders made with it.
#pragma once

#include "register/documents/commonmarkers.h"
#include "register/documents/documentresult.h"

// "[NRLP]": the list's number worked back from the report's own: the list
// comes right before the request's `holders` notifications, which come right
// before the report ("12/5" with 3 holders gives "12/1").
QString ListNumberBeforeReport(const QString &reportNumber, qint64 holders);

// "[NOTIFICARE]": one line per notification, or "Notificarea preemtorului: -".
QString NotificationLines(const ActContext &act);

// Writes the report of the act into `target`.
DocumentResult BuildDisplayReport(const ActContext &act, const QString &templatePath, const QString &target);
