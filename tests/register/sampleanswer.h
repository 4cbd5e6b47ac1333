// A communication or offer as the answer dialog hands it over, for the
// register tests and their worker process.
#pragma once

#include "dialogs/answerlines.h"

namespace registertest {

// A communication or offer as the answer dialog hands it over, received and
// displayed on `day`.
inline AnswerLine answerLine(const QDate &day, const QString &name, int rank = 1,
                             const QString &price = QStringLiteral("25000"))
{
    AnswerLine a;
    a.dataC = day;
    a.dataAfis = day;
    a.cumparator = name;
    a.cnpcui = QStringLiteral("1800101223344");
    a.loc = QStringLiteral("ARVENA");
    a.adresa = QStringLiteral("STR. MICA 2");
    a.pret = price;
    a.rang = rank;
    return a;
}

} // namespace registertest
