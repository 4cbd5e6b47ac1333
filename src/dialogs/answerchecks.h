// The save checks of TAddComun and TAddAltAct as plain functions over their
// fields, in the order the dialogs run them: each cleans the texts in place
// and stops at the first failure, naming the field of the "Problema !"
// balloon (see CheckOutcome in dialogs/requestchecks.h).
#pragma once

#include "dialogs/answerlines.h"
#include "dialogs/requestchecks.h"

#include <QStringList>

// The seven ranks as TAddComun lists them (shorter than RankTexts()).
const QStringList &AnswerRankTexts();

// Comunicari.PRET is DECIMAL(8,2): 8 characters with the point.
inline constexpr int kAnswerPriceWidth = 8;
inline constexpr int kAnswerPriceDecimals = 2;

// Whether `price`, rounded to the cent, is kept exactly by Comunicari.PRET:
// 99999.99 and 100000.5 are, 100000.55 is not (the table writes fewer
// decimals only when that loses nothing).
bool AnswerPriceFits(double price);

// A communication (or offer) bought at no less than `minimumPrice`, the
// request's price. On success `line.pret` is in its shortest decimal form.
CheckOutcome CheckAnswer(AnswerLine &line, double minimumPrice);

// The day that stands for "no dispatch date": 31.12.1899.
QDate NoDispatchDate();

// An other act; `hasDispatchDate` is the "Data expedierii" box. Without a
// dispatch date `line.dataExp` becomes NoDispatchDate().
CheckOutcome CheckOtherAct(OtherActLine &line, bool hasDispatchDate);
