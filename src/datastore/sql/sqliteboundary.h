// The boundary between SQLite and our code. SQLite is C: a C++ exception that
// unwinds through its frames leaves it in an undefined state. Every callback
// we give it (the module's methods, collations, functions) runs its body
// through one of these, which turn any exception into SQLite's own error
// report.
#pragma once

#include "platform/error.h"

#include <QString>

#include <sqlite3.h>

#include <exception>
#include <new>

namespace sqlstore {

// Runs `body`; returns false with the reason in *problem when it threw.
template <typename Body> bool runGuarded(Body &&body, QString *problem, bool *outOfMemory) noexcept
{
    *outOfMemory = false;
    try {
        body();
        return true;
    } catch (const ArvenaError &e) {
        *problem = e.message();
    } catch (const std::bad_alloc &) {
        *outOfMemory = true;
    } catch (const std::exception &e) {
        *problem = QString::fromLocal8Bit(e.what());
    } catch (...) {
        *problem = QStringLiteral("eroare neasteptata in motorul de date");
    }
    return false;
}

// A method of a virtual table: `body` returns an SQLite result code; a throw
// becomes SQLITE_ERROR (SQLITE_NOMEM) with the message on the table.
template <typename Body> int guardedMethod(sqlite3_vtab *vtab, Body &&body) noexcept
{
    int rc = SQLITE_OK;
    QString problem;
    bool outOfMemory = false;
    if (runGuarded([&] { rc = body(); }, &problem, &outOfMemory))
        return rc;
    if (outOfMemory)
        return SQLITE_NOMEM;
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", problem.toUtf8().constData());
    return SQLITE_ERROR;
}

// An SQL function: a throw becomes the function's error.
template <typename Body> void guardedFunction(sqlite3_context *context, Body &&body) noexcept
{
    QString problem;
    bool outOfMemory = false;
    if (runGuarded(body, &problem, &outOfMemory))
        return;
    if (outOfMemory)
        sqlite3_result_error_nomem(context);
    else
        sqlite3_result_error(context, problem.toUtf8().constData(), -1);
}

// A collation: a throw (which SQLite cannot be told of) compares equal.
template <typename Body> int guardedCompare(Body &&body) noexcept
{
    int order = 0;
    QString problem;
    bool outOfMemory = false;
    runGuarded([&] { order = body(); }, &problem, &outOfMemory);
    return order;
}

} // namespace sqlstore
