// The checks the entry dialogs run when the clerk presses "&Memoreaza", as
// plain functions over the fields: each cleans the texts it is given in
// place, in the order the dialog runs them, asks its questions through the
// Prompter and stops at the first failure, naming the field (the objectName
// of the dialog's control) where the "Problema !" balloon goes.
#pragma once

#include "dialogs/requestlines.h"

#include <QDate>
#include <QString>
#include <functional>

class Prompter;

// The outcome of a save check.
struct CheckOutcome {
    // True when every check passed.
    bool passed = true;
    // The field that failed and the balloon text; both empty when a question
    // (answered other than "Da") or a message stopped the save.
    QString field;
    QString problem;
    // The tab to show first (request dialog), -1 for none.
    int tab = -1;

    static CheckOutcome ok() { return {}; }
    static CheckOutcome at(const QString &field, const QString &problem, int tab = -1)
    {
        return {false, field, problem, tab};
    }
    static CheckOutcome stopped(int tab = -1) { return {false, QString(), QString(), tab}; }
};

// The seller line of TAltiVanz: names and county cleaned, the seller's code
// checked as typed (CheckCnp for a natural person, CheckCif for a company),
// the other texts cleaned, the mandatary's code checked by the rule of
// TCNPEdit.
CheckOutcome CheckSellerLine(SellerLine &line, bool naturalPerson);

// The holder line of TAddPree. `nameTaken` tells whether another line of the
// request already carries the name (the duplicate question is asked then).
CheckOutcome CheckHolderLine(HolderLine &line, const std::function<bool(const QString &)> &nameTaken,
                             Prompter &prompter);

// Only "0"…"9" and "A"…"Z" of a holder's code.
QString KeepCodeCharacters(const QString &code);
// Only "0"…"9", the blank, "(", ")", "+" and "." of a telephone.
QString KeepPhoneCharacters(const QString &phone);

// The tabs of the request dialog.
enum RequestTab : int { CerereTab = 0, VanzatoriTab = 1, TerenTab = 2, PreemptoriTab = 3 };

// The fields of the request dialog as texts (numbers as typed).
struct RequestFields {
    QString nr;
    QDate dataC;
    QString nrDosar;
    QString tipPF = QStringLiteral("FIZICA");
    QString nrV = QStringLiteral("0");
    QString litigii = QStringLiteral("NU");
    QString grevat = QStringLiteral("NU");
    QString faraContr = QStringLiteral("NU");
    QString conditii;
    QString supraf = QStringLiteral("0");
    QString cota1 = QStringLiteral("1");
    QString cota2 = QStringLiteral("1");
    QString cotaParteS = QStringLiteral("0");
    QString pret = QStringLiteral("0");
    QString nrCad = QStringLiteral("0");
    QString nrCarte = QStringLiteral("0");
    QString tarla, nrTarla, nrParc;
    QString categ = QStringLiteral("Teren arabil");
    QString functionar;
};

// The request's save checks, `sellerLines` being the lines of the seller
// grid. On success `fields.nrV` is "1" for a legal person and the conditions
// are cleaned. `reveal`, when given, is called with the tab and the field a
// message is about just before the message is shown.
CheckOutcome CheckRequest(RequestFields &fields, int sellerLines, Prompter &prompter,
                          const std::function<void(int tab, const QString &field)> &reveal = {});
