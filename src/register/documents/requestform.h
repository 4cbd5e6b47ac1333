// The request-and-offer form ("Listeaza Cerere"): the request, its land, its
// holders by rank and one block and one signature per seller, filled from
// "CeresiOfertaPF3.rtf" (natural persons) or "CeresiOfertaPJ3.rtf".
#pragma once

#include "register/documents/documentresult.h"

#include <QByteArray>

// Builds the form of request `id` into `target` (replaced when it exists),
// whole or not at all. MissingTemplate when the data folder lacks the
// template; Failed, with the reason, when the request is gone or a file
// cannot be read or written. Throws sqlstore::SqlError when a table cannot
// be read.
DocumentResult BuildRequestForm(qint64 id, const QString &target);

// The form's template text with the extra seller blocks in place of
// "[ALTVANZATOR]": for n = sellers down to 2 a copy of `block` whose "1]"
// read n + "]", each inserted right after the marker's line, so that they
// stand in the order 2, 3, ... The marker is removed even for one seller.
QByteArray WithSellerBlocks(QByteArray form, const QByteArray &block, int sellers);
