// The seven ranks of the pre-emption right, in their legal order; the stored
// RANG is the position in this list + 1.
#pragma once

#include <QStringList>

const QStringList &RankTexts();
