// A private data folder with the request tables, for the engine's tests.
#pragma once

#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"
#include "testsupport.h"

#include <QDir>
#include <QString>

namespace enginetest {

inline QString quoted(const QString &path)
{
    return sqlstore::quoteName(path);
}

// CREATE TABLE statements of two tables, as the program sends them.
inline void createRequestTables(const QString &dir)
{
    using sqlstore::database;
    database().exec("CREATE TABLE " + quoted(dir + "/Cereri.dbf") + "\n"
                    "(ID         DECIMAL(10,0),\n"
                    " NR         DECIMAL(10,0),\n"
                    " NR2        DECIMAL(10,0),\n"
                    " DATAC      DATE,\n"
                    " SUPRAF     CHAR(24),\n"
                    " PRET       DECIMAL(12,2),\n"
                    " NRCAD      CHAR(80),\n"
                    " STARE      DECIMAL(6,0))");
    database().exec("CREATE TABLE " + quoted(dir + "/Vanzatori.dbf") + "\n"
                    "(IDV        DECIMAL(10,0),\n"
                    " ID         DECIMAL(10,0),\n"
                    " NRCRT      DECIMAL(6,0),\n"
                    " VANZATOR   CHAR(80),\n"
                    " CNPCUI     CHAR(13))");
}

} // namespace enginetest
