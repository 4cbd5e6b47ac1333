#include "dialogs/requestchecks.h"

#include "datastore/codechecks.h"
#include "dialogs/cnprules.h"
#include "dialogs/numericrules.h"
#include "dialogs/sharearithmetic.h"
#include "platform/prompter.h"
#include "platform/texthelpers.h"

namespace {

void clean(std::initializer_list<QString *> texts)
{
    for (QString *t : texts)
        *t = CleanText(*t);
}

QString keepOnly(const QString &text, const std::function<bool(QChar)> &keep)
{
    QString kept;
    for (QChar c : text) {
        if (keep(c))
            kept += c;
    }
    return kept;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The question of a missing cadastral or land-book number: true on "Da".
bool continueWithout(const QString &what, Prompter &prompter)
{
    return prompter.Mesaj(QStringLiteral("Cerere"), QStringLiteral("Nu ati scris ") + what + QStringLiteral("!\rContinuati asa?"),
                          ButtonDa | ButtonNu, KindWarning)
           == ResultYes;
}

} // namespace

CheckOutcome CheckSellerLine(SellerLine &l, bool naturalPerson)
{
    clean({&l.vanzator, &l.judet});
    if (!l.cnpcui.trimmed().isEmpty()) {
        if (naturalPerson && !CheckCnp(l.cnpcui))
            return CheckOutcome::at(QStringLiteral("CNPCUI"), QStringLiteral("CNP incorect!"));
        if (!naturalPerson && !CheckCif(l.cnpcui))
            return CheckOutcome::at(QStringLiteral("CNPCUI"), QStringLiteral("CUI incorect!"));
    }
    clean({&l.locv, &l.adresa, &l.bi, &l.biseria, &l.binr, &l.bielib, &l.tel, &l.mandatar, &l.mcalitate, &l.mconform});
    if (!l.mcnpcui.isEmpty() && !CnpCorect(l.mcnpcui, false))
        return CheckOutcome::at(QStringLiteral("MCNPCUI"), QStringLiteral("CNP incorect!"));
    clean({&l.mlocv, &l.madresa, &l.mbi, &l.mbiseria, &l.mbinr, &l.mbielib, &l.mtel});
    return CheckOutcome::ok();
}

QString KeepCodeCharacters(const QString &code)
{
    return keepOnly(code, [](QChar c) { return isDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')); });
}

QString KeepPhoneCharacters(const QString &phone)
{
    return keepOnly(phone, [](QChar c) { return isDigit(c) || QStringLiteral(" ()+.").contains(c); });
}

CheckOutcome CheckHolderLine(HolderLine &l, const std::function<bool(const QString &)> &nameTaken, Prompter &prompter)
{
    l.nume = CleanText(l.nume);
    if (l.nume.size() < 2)
        return CheckOutcome::at(QStringLiteral("Nume"), QStringLiteral("Nu ati scris numele si prenumele!"));
    if (nameTaken(l.nume)
        && prompter.Mesaj(QStringLiteral("Verificare Preemptor"),
                          QStringLiteral("\rMai exista la aceasta Cerere acest Preemptor!\rIl mai adaugam odata?"),
                          ButtonDa | ButtonNu, KindConfirmation)
               != ResultYes)
        return CheckOutcome::stopped();
    l.adresa = CleanText(l.adresa);
    if (l.posta && l.adresa.trimmed().isEmpty())
        return CheckOutcome::at(QStringLiteral("Adresa"), QStringLiteral("Lipseste Adresa!"));
    l.cnp = KeepCodeCharacters(l.cnp);
    if (!l.cnp.isEmpty()) {
        if (l.tippf == QLatin1String("FIZICA") && !CheckCnp(l.cnp))
            return CheckOutcome::at(QStringLiteral("CNP"), QStringLiteral("CNP incorect!"));
        if (l.tippf == QLatin1String("JURIDICA") && !CheckCif(l.cnp))
            return CheckOutcome::at(QStringLiteral("CNP"), QStringLiteral("Cod Fiscal incorect!"));
    }
    clean({&l.rc, &l.email});
    if (!l.email.isEmpty() && !CheckEmail(l.email))
        return CheckOutcome::at(QStringLiteral("Email"), QStringLiteral("Email incorect!"));
    l.tel = KeepPhoneCharacters(CleanText(l.tel));
    return CheckOutcome::ok();
}

CheckOutcome CheckRequest(RequestFields &f, int sellerLines, Prompter &prompter,
                          const std::function<void(int tab, const QString &field)> &reveal)
{
    const auto show = [&reveal](int tab, const QString &field) {
        if (reveal)
            reveal(tab, field);
    };
    if (sellerLines <= 0) {
        show(VanzatoriTab, QString());
        prompter.Mesaj(QStringLiteral("Memorare Cerere"), QStringLiteral("\rNu ati adaugat niciun vanzator!"), ButtonOk,
                       KindError);
        return CheckOutcome::stopped(VanzatoriTab);
    }
    f.nrDosar = CleanText(f.nrDosar);
    if (NumericValue(f.supraf) <= 0)
        return CheckOutcome::at(QStringLiteral("Supraf"), QStringLiteral("Lipseste Suprafata!"), TerenTab);
    if (!ShareIsValid(f.cota1, f.cota2))
        return CheckOutcome::at(QStringLiteral("Cota2"), QStringLiteral("Cota-parte incorecta!"), TerenTab);
    if (NumericValue(f.cotaParteS) <= 0)
        return CheckOutcome::at(QStringLiteral("CotaParteS"), QStringLiteral("Lipseste Suprafata Cota-parte!"), TerenTab);
    f.pret = ShortestDecimal(NumericValue(f.pret));
    if (NumericValue(f.pret) <= 0)
        return CheckOutcome::at(QStringLiteral("Pret"), QStringLiteral("Lipseste Pretul!"), TerenTab);
    f.nrCad = CleanText(f.nrCad);
    if (f.nrCad.trimmed().isEmpty()) {
        show(TerenTab, QStringLiteral("NrCAD"));
        if (!continueWithout(QStringLiteral("Numarul cadastral"), prompter))
            return CheckOutcome::stopped(TerenTab);
    }
    f.nrCarte = CleanText(f.nrCarte);
    if (f.nrCarte.trimmed().isEmpty()) {
        show(TerenTab, QStringLiteral("NrCarte"));
        if (!continueWithout(QStringLiteral("Numarul cartii funciare"), prompter))
            return CheckOutcome::stopped(TerenTab);
    }
    clean({&f.tarla, &f.nrTarla, &f.nrParc, &f.functionar});
    if (f.functionar.trimmed().isEmpty())
        return CheckOutcome::at(QStringLiteral("Functionar"), QStringLiteral("Lipseste Nume functionar!"), TerenTab);
    if (f.tipPF == QLatin1String("JURIDICA"))
        f.nrV = QStringLiteral("1");
    f.conditii = CleanText(f.conditii);
    return CheckOutcome::ok();
}
