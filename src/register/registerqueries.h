// The register's statements and the small writes that later work
// (communications, acts, stage closing) calls: set the state or the stage of a
// request, and the next file number.
//
// Each write runs in its own transaction (or in the caller's) and tells what
// it changed (the Cereri file's signature before and after), so that the
// register can show the change without reading every request again, while a
// change made by another workstation in between still makes it read them all.
#pragma once

#include <QString>
#include <QtGlobal>

// What identifies the state of a table file: its change counter (bumped by
// every statement that writes) and its record count.
struct TableSignature {
    quint32 changeCounter = 0;
    quint32 recordCount = 0;
    bool operator==(const TableSignature &) const = default;
};

// The signature of a table of the data folder ("Cereri.dbf"). Throws
// sqlstore::SqlError when the file cannot be read.
TableSignature ReadTableSignature(const QString &fileName);

// A write of this process to the requests of the register.
struct RequestChange {
    // The request written.
    qlonglong id = 0;
    // Cereri just before and just after the write.
    TableSignature before;
    TableSignature after;
};

// The register statement of the requests, as the engine runs it: every
// request joined with its first seller, by date and number.
QString RegisterStatement(bool perRequestNumbering);

// The request rows alone, in the register's order.
QString RequestsStatement(bool perRequestNumbering);
// The first sellers (NRCRT=1) of every request.
QString FirstSellersStatement();

// "SET STARE=<stare>" on request `id`. Throws sqlstore::SqlError.
RequestChange SetRequestState(qlonglong id, int stare);
// "SET PV1="D"" (stage II) or "SET PV1="N"" (stage I). Throws sqlstore::SqlError.
RequestChange SetRequestStage(qlonglong id, bool stageTwo);

// The position the next communication, offer or act takes in the file of
// request `id`: one more than the largest NR2PER of its communications and
// acts (a missing maximum counts as 0). Throws sqlstore::SqlError.
int NextFileNumber(qlonglong id);

// Whether the current stage of request `id` has a communication (stage I,
// RANG below 100) or an offer (stage II, RANG 100).
bool StageHasAnswers(qlonglong id, bool stageTwo);
