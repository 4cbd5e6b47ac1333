// What the register reads from the settings file of the data folder each time
// it opens: the two waiting terms, the numbering mode and the unit's name.
// A folder without "Arv2.set", or with a term that is not a whole number,
// gets the defaults (47 working days, 30 calendar days, individual numbering).
#pragma once

#include "register/deadlines.h"

#include <QString>

struct RegisterSettings {
    // "CONST"/"ZileEt1" and "CONST"/"ZileEt2".
    DeadlineTerms terms;
    // "CONST"/"NumTip" is 2: display numbers are NR2 and NR2/NR2PER.
    bool perRequestNumbering = false;
    // "CONST"/"UNITATE": the town hall, emitent of the acts it issues.
    QString unitName;
};

// Reads the settings of the current data folder; never fails.
RegisterSettings LoadRegisterSettings();
