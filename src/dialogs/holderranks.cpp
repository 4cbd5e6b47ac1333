#include "dialogs/holderranks.h"

const QStringList &RankTexts()
{
    static const QStringList ranks = {
        QStringLiteral("I   - Coproprietarii, rudele de gradul I, sotii, rudele si afinii pana la gradul al treilea inclusiv"),
        QStringLiteral("II  - Proprietarii investitiilor agricole pentru culturile de pomi, vita-de-vie, hamei, irigatii "
                       "exclusiv private si/sau arendasii. In cazul in care pe terenurile supuse vanzarii se afla investitii "
                       "agricole pentru culturile de pomi, vita-de-vie, hamei si pentru irigatii, prioritate la cumpararea "
                       "acestor terenuri au proprietarii acestor investitii"),
        QStringLiteral("III - Proprietarii si/sau arendasii terenurilor agricole vecine cu terenul supus vanzarii"),
        QStringLiteral("IV - Tinerii fermieri"),
        QStringLiteral("V  - Academia de Stiinte Agricole si Silvice \"Brazdaru\" si unitatile de cercetare-dezvoltare din "
                       "domeniile agriculturii, silviculturii si industriei alimentare, organizate si reglementate prin "
                       "Legea nr. 45/2009"),
        QStringLiteral("VI - Persoane fizice cu domiciliul situat in U.A.T. unde este amplasat terenul sau in U.A.T.-urile vecine "),
        QStringLiteral("VII- Statul roman, prin Agentia Domeniilor Statului"),
    };
    return ranks;
}
