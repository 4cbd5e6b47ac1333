// Builds a data folder of N requests with their sellers, pre-emption holders,
// communications and acts in the proportions of a busy town hall.
#pragma once

#include <QString>

namespace benchdata {

// Creates the six tables in `folder` (which must be empty) and fills them:
// per request 1 to 3 sellers (1.5 on average), 3 to 5 holders, one
// communication for every second request and 6 acts.
void generate(const QString &folder, int requests);

} // namespace benchdata
