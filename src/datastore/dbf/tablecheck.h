// A health check of a table file, for administrators (arvena3-sql --check).
#pragma once

#include <QString>
#include <QStringList>

namespace dbf {

// Checks the header, the field descriptors, the record length and count
// against the file size, the deletion flags and every number, date and
// logical value. Returns one line per problem found (naming the row and the
// field), at most `limit` lines and a last one that counts the rest; an empty
// list when the table is sound.
QStringList checkTable(const QString &path, int limit = 100);

} // namespace dbf
