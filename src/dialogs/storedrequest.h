// The fields of a stored request as the request dialog shows them, for the
// caller that opens the dialog on an existing request.
#pragma once

#include "dialogs/requestchecks.h"

// Reads the Cereri row `id` into `fields` (Nr is the display number of the
// numbering mode, FaraContr "DA" for "X") and its stored share into `share`.
// False when there is no such request. Throws sqlstore::SqlError.
bool LoadStoredRequest(qlonglong id, RequestFields &fields, QString &share);

// True when `id` is the newest request (the largest ID of Cereri), the only
// one whose holders may still change.
bool IsNewestRequest(qlonglong id);
