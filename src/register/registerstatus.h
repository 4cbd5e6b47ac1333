// What the register window shows about the selected request and which of its
// buttons work: the status line and the stage button, the enabling rules of
// the request, communication and act buttons, and the captions of the stage.
// Plain functions of the row's values, so that they are tested without a
// window.
#pragma once

#include "register/deadlines.h"

#include <QString>

// The status line `StareL` and the stage button `FinBut`.
struct RequestStatus {
    QString text;
    // FinBut is shown only when the table of states says so.
    bool finShown = false;
    QString finCaption;
};

// The status of a request with STARE `stare`, stage flag `pv1` and the
// computed columns `columns`, on day `today` (a day serial).
RequestStatus StatusOf(int stare, const QString &pv1, const RequestColumns &columns, int today);

// The request buttons for the selected row's STARE, -1 when the register is empty.
struct RequestButtons {
    // EditCerereB, DelCerereB, StopCB and the communications button panel.
    bool open = false;
    // ReactivB.
    bool reactivate = false;
    // The status panel and AddAct: whenever there is a row.
    bool anyRow = false;
};
RequestButtons RequestButtonsFor(int stare);

// The act buttons for the selected act of the selected request.
struct ActButtons {
    bool edit = false;
    bool del = false;
    bool list = false;
};
// `blocat` is the act's BLOCAT as stored; `requestStare` the request's STARE.
ActButtons ActButtonsFor(bool hasAct, const QString &blocat, int requestStare);

// Captions that follow the stage of the selected request.
struct StageCaptions {
    // Title of the lower panel and the bands of its grid.
    QString title, answerBand, personBand;
    // The four communication buttons.
    QString add, edit, del, list;
    // The RANG column, the rank field of the communication dialog, its label
    // "Rangul" and "Alege din Cerere" are shown in stage I only.
    bool rankShown = true;
    // Title and number label of the communication dialog.
    QString dialogTitle, numberLabel;
};
StageCaptions StageCaptionsFor(bool stageOne);

// True when `pv1` means stage I.
inline bool InStageOne(const QString &pv1)
{
    return pv1.trimmed() == QLatin1String("N");
}
