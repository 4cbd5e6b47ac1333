// The rows the procedure writes into AlteActe, and what those rows need to
// know about their request. Shared by the life of a request, the answers,
// the acts registered by hand and the closing of stages, so that every act
// is written one way: a fresh IDA (any document left under it removed), the
// texts cut to the columns' 80 characters.
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// One act as written.
struct ActRow {
    // The request (ID, NR2) and the act's place in its file (NR2PER).
    qlonglong id = 0;
    qlonglong nr2 = 0;
    int nr2per = 0;
    QDate dataa;
    // DATAEXP; null while the act has not been sent.
    QVariant dataexp;
    QString blocat, modul, emitent, destinatar, tipact, detalii;
    // The communication, offer or holder the act belongs to; 0 when none.
    qlonglong idc = 0;
};

// Act texts as the 80-character columns of AlteActe keep them: a long seller
// name must not make a whole operation fail.
QString FitActText(const QString &text);

// Takes an IDA and inserts `row` with register number `nr`. Returns the IDA.
// Throws sqlstore::SqlError or SettingsError.
qlonglong InsertActRow(const ActRow &row, qlonglong nr);

// What the answers, acts and stage steps read of a request.
struct RequestFile {
    qlonglong id = 0;
    qlonglong nr = 0;
    qlonglong nr2 = 0;
    int stare = 0;
    // PV1 other than "N": stage II (offers).
    bool stageTwo = false;
    // PRET: the asking price, the least an answer may offer.
    double pret = 0;
    // The first seller's name (NRCRT 1), trimmed.
    QString firstSeller;
    // NR, or NR2 in per-request numbering.
    QString displayNumber;
};

// Throws sqlstore::SqlError ("Cererea nu mai exista in baza de date.") when
// the request is gone, e.g. deleted by another workstation.
RequestFile LoadRequestFile(qlonglong id);

// Takes the next register number ("NR").
qlonglong TakeRegisterNumber();

// The number the answer and act dialogs show for the next entry of request
// `id`: the next register number, or NR2/<next file number> per request.
// Throws sqlstore::SqlError.
QString NextEntryNumber(qlonglong id);

// After a deletion has been committed: the "NR" counter reset from the acts
// that are stored, in a transaction of its own. The counter lives in the
// settings file, which a rolled-back operation does not restore, so it is
// lowered only once the rows it counted are surely gone; a stop in between
// leaves it high, which costs a gap in the numbers and never gives one twice.
void ResetRegisterCounter();

