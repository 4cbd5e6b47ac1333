// One seller line and one pre-emption holder line of a request, as the entry
// dialogs collect them and the working tables hold them.
#pragma once

#include <QDate>
#include <QString>

// A line of Vanzatori (or of the request dialog's working seller table).
struct SellerLine {
    // IDV, ID, NRCRT: line id, request id, position in the request from 1.
    qlonglong idv = 0;
    qlonglong id = 0;
    int nrcrt = 0;
    // The seller.
    QString vanzator, cnpcui, locv, adresa, judet, bi, biseria, binr, bielib;
    // BIDATA; an invalid date is a blank field.
    QDate bidata;
    QString tel;
    // The mandatary who acts for the seller.
    QString mandatar, mcalitate, mconform, mcnpcui, mlocv, madresa, mjudet, mcodpost, mbi, mbiseria, mbinr,
        mbielib;
    // MBIDATA; an invalid date is a blank field.
    QDate mbidata;
    QString mtel;
};

// A line of Preemptori (or of the working holder table).
struct HolderLine {
    // IDP, ID: line id and request id.
    qlonglong idp = 0;
    qlonglong id = 0;
    // RANG: 1 … 7, the position in RankTexts() + 1.
    int rang = 1;
    // POSTA "DA" or "NU": notified by post.
    bool posta = false;
    // TIPPF "FIZICA" or "JURIDICA".
    QString tippf = QStringLiteral("FIZICA");
    QString nume, adresa, cnp, rc, codpostal, email, tel;
};
