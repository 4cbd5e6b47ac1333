#include "dialogs/answerchecks.h"

#include "datastore/codechecks.h"
#include "datastore/dbf/dbfformat.h"
#include "dialogs/cnprules.h"
#include "dialogs/numericrules.h"
#include "platform/texthelpers.h"

#include <cmath>

const QStringList &AnswerRankTexts()
{
    static const QStringList texts = {
        QStringLiteral("I   - Coproprietarii, rudele de gradul i, sotii, rudele si afinii pana la gradul al treilea inclusiv"),
        QStringLiteral("II  - Proprietarii investitiilor agricole pentru culturile de pomi, vita-de-vie, "),
        QStringLiteral("III - Proprietarii si/sau arendasii terenurilor agricole vecine cu terenul supus vanzarii"),
        QStringLiteral("IV - Tinerii fermieri"),
        QStringLiteral("V  - Academia de Stiinte Agricole si Silvice \"Brazdaru\" si unitatile de cercetare-dezvoltare "),
        QStringLiteral("VI - Persoane fizice cu domiciliul situat in U.A.T. unde este amplasat terenul sau in U.A.T.-urile vecine "),
        QStringLiteral("VII- Statul roman, prin Agentia Domeniilor Statului"),
    };
    return texts;
}

bool AnswerPriceFits(double price)
{
    // The same writing the table does, so the answer is the table's own.
    char field[kAnswerPriceWidth];
    return std::isfinite(price) && dbf::formatNumber(price, kAnswerPriceWidth, kAnswerPriceDecimals, field);
}

CheckOutcome CheckAnswer(AnswerLine &l, double minimumPrice)
{
    l.cumparator = CleanText(l.cumparator);
    if (l.cumparator.size() < 2)
        return CheckOutcome::at(QStringLiteral("Cumparator"), QStringLiteral("Nu ati scris numele si prenumele!"));
    if (l.tippf == QLatin1String("JURIDICA")) {
        if (l.cnpcui.isEmpty() || !CheckCif(l.cnpcui))
            return CheckOutcome::at(QStringLiteral("CNPCUI"), QStringLiteral("C.U.I. incorect!"));
    } else if (!CnpCorect(l.cnpcui, false)) {
        return CheckOutcome::at(QStringLiteral("CNPCUI"), QStringLiteral("CNP incorect!"));
    }
    l.loc = CleanText(l.loc);
    if (l.loc.trimmed().isEmpty())
        return CheckOutcome::at(QStringLiteral("Loc"), QStringLiteral("Lipseste Localitatea!"));
    l.adresa = CleanText(l.adresa);
    if (l.adresa.trimmed().isEmpty())
        return CheckOutcome::at(QStringLiteral("Adresa"), QStringLiteral("Lipseste Adresa!"));
    if (l.dataAfis < l.dataC)
        return CheckOutcome::at(QStringLiteral("DataAfis"), QStringLiteral("Data Afisarii este ciudata!"));
    const double price = NumericValue(l.pret);
    // Compared in cents: both come from decimal texts of at most two decimals.
    if (std::llround(price * 100) < std::llround(minimumPrice * 100))
        return CheckOutcome::at(QStringLiteral("Pret"), QStringLiteral("Pretul oferit nu poate fi mai mic decat ")
                                                            + ShortestDecimal(minimumPrice) + QStringLiteral(" lei!"));
    l.pret = ShortestDecimal(price);
    // Said here, before the register writes anything: a price the table
    // would round is a different offer.
    if (!AnswerPriceFits(price))
        return CheckOutcome::at(QStringLiteral("Pret"), QStringLiteral("Pretul de ") + l.pret
                                                            + QStringLiteral(" lei nu poate fi memorat exact! Scrieti-l cu mai putine zecimale."));
    return CheckOutcome::ok();
}

QDate NoDispatchDate()
{
    return ZeroDate().addDays(1);
}

CheckOutcome CheckOtherAct(OtherActLine &l, bool hasDispatchDate)
{
    l.emitent = CleanText(l.emitent);
    if (hasDispatchDate && l.dataExp < l.dataA)
        return CheckOutcome::at(QStringLiteral("DataExp"), QStringLiteral("Data expedierii este amuzanta!"));
    if (l.emitent.size() < 2)
        return CheckOutcome::at(QStringLiteral("Emitent"), QStringLiteral("Nu ati scris Emitentul!"));
    l.destinatar = CleanText(l.destinatar);
    if (l.destinatar.size() < 2)
        return CheckOutcome::at(QStringLiteral("Destinatar"), QStringLiteral("Nu ati scris Destinatarul!"));
    l.detalii = CleanText(l.detalii);
    l.tipAct = CleanText(l.tipAct);
    if (l.tipAct.trimmed().isEmpty())
        return CheckOutcome::at(QStringLiteral("TipAct"), QStringLiteral("Lipseste Tipul actului!"));
    if (!hasDispatchDate)
        l.dataExp = NoDispatchDate();
    return CheckOutcome::ok();
}
