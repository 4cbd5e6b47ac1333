// The markers that every act document shares: the institution, the request
// and its land, the deadlines, the numbers of the related acts, the sellers
// with their forms of address, and the answer (communication or offer) the
// act belongs to.
//
//     ActContext act{settings, request, LoadSellers(id), kind, LoadAct(ida), {}, 0};
//     AddCommonMarkers(rtf, act);
//     rtf.WriteBody();
#pragma once

#include "register/documents/documentdata.h"

class TRTFReplace;

// The act being listed and what it is read against.
struct ActContext {
    const DocumentSettings &settings;
    const RequestRecord &request;
    // The request's sellers in NRCRT order.
    QList<Row> sellers;
    // BLOCAT of the act; 20 for the document of an answer.
    int kind = 0;
    // The act's row; for kind 20 the answer's row.
    Row act;
    // IDC of the answer selected in the register's grid; 0 for none (the
    // last answer of the stage then stands for it).
    qint64 selectedAnswer = 0;
};

// Adds every common marker of the act.
void AddCommonMarkers(TRTFReplace &rtf, const ActContext &act);

// The institution markers "[JUDET]", "[PRIMARIA]", "[PRIMAR]", "[SECRETAR]",
// "[LOCALIT]".
void AddInstitutionMarkers(TRTFReplace &rtf, const DocumentSettings &settings);

// "[COTAPARTE]": COTAPARTE + " (" + COTAPARTES + " ha)".
QString ShareText(const Row &request);

// The current time as "HH:mm" ("[ORA]").
QString CurrentTime();

// The answer the act's communication markers come from: the answer the act
// belongs to (its IDC), whatever the request's stage now; else the one
// selected in the grid among `stageAnswers`; else the last of them. Empty
// when there is none.
Row ChosenAnswer(const ActContext &act, const QList<Row> &stageAnswers);
