// One communication or offer (a line of Comunicari) and one other act (a line
// of AlteActe) as TAddComun and TAddAltAct collect them; the register stores
// them.
#pragma once

#include <QDate>
#include <QString>

// The fields of a communication or offer the clerk types.
struct AnswerLine {
    // DATAC and DATAAFIS.
    QDate dataC;
    QDate dataAfis;
    // TIPPF "FIZICA" or "JURIDICA".
    QString tippf = QStringLiteral("FIZICA");
    // RANG 1 … 7 of a communication (the position in AnswerRankTexts() + 1);
    // the register stores 100 for an offer.
    int rang = 1;
    QString cumparator, cnpcui, loc, adresa;
    // PRET as typed ("18500.5").
    QString pret = QStringLiteral("0");
};

// The fields of an other act.
struct OtherActLine {
    // DATAA.
    QDate dataA;
    // DATAEXP; NoDispatchDate() when the act has none.
    QDate dataExp;
    // MODUL "intrare" (incoming) or "iesire" (outgoing).
    QString modul = QStringLiteral("intrare");
    QString emitent, destinatar, tipAct, detalii;
};
