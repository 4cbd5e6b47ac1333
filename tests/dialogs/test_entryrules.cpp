// The rules behind the entry fields and the save checks, without a window:
// numeric typing and value, the personal-code field, the share arithmetic,
// and the checks of a seller, a holder and a request in their order.
#include "datastore/codechecks.h"
#include "dialogs/cnprules.h"
#include "dialogs/numericrules.h"
#include "dialogs/requestchecks.h"
#include "dialogs/sharearithmetic.h"
#include "scriptedprompter.h"
#include "startupfixture.h"

#include <gtest/gtest.h>

namespace {

// Types `keys` into a field showing `start` with the cursor at its end;
// returns the text and how many keys were refused.
std::pair<QString, int> typeNumeric(const QString &start, const QString &keys, int maskInt, int maskZec)
{
    NumericEdit e{start, int(start.size())};
    int refused = 0;
    for (QChar k : keys)
        refused += ApplyNumericKey(e, k == QLatin1Char('<') ? BackspaceKey : k, maskInt, maskZec) ? 0 : 1;
    return {e.text, refused};
}

} // namespace

TEST(NumericField, TypingFollowsTheLimits)
{
    struct Case {
        const char *start, *keys;
        int maskInt, maskZec;
        const char *text;
        int refused;
    } cases[] = {
        {"", "12.345", 4, 2, "12.34", 1},    // the third decimal is refused
        {"0", "7", 4, 2, "7", 0},            // a digit over "0" replaces it
        {"", ".5", 4, 2, ".5", 0},
        {"", "12345", 4, 2, "1234", 1},      // five integer digits
        {"", "1.2.", 4, 2, "1.2", 1},        // one point only
        {"", "1.", 6, 0, "1", 1},            // no decimals allowed
        {"", "5a", 4, 2, "5", 1},            // a letter beeps
        {"", "-5", 4, 2, "5", 1},            // "-" only with an open integer limit
        {"", "-5", 0, 2, "-5", 0},
        {"", "-0", 0, 2, "-0", 0},
        {"-0", "0", 0, 2, "-0", 1},          // "-00"
        {"5", "<", 4, 2, "0", 0},            // emptied shows "0"
        {"0.", "<<", 4, 2, "0", 0},
        {"0.", "0", 4, 2, "0.0", 0},
        {"", "10", 8, 0, "10", 0},
        {"1234", "<5", 4, 2, "1235", 0},
    };
    for (const Case &c : cases) {
        const auto [text, refused] = typeNumeric(c.start, c.keys, c.maskInt, c.maskZec);
        EXPECT_EQ(text, QString(c.text)) << c.start << " + " << c.keys;
        EXPECT_EQ(refused, c.refused) << c.start << " + " << c.keys;
    }
}

TEST(NumericField, ZeroInFrontOfADigitAndSelectionReplaced)
{
    NumericEdit e{"5", 0};
    EXPECT_FALSE(ApplyNumericKey(e, '0', 4, 2)); // "05"
    EXPECT_EQ(e.text, "5");
    NumericEdit sel{"123.45", 6, 0, 6};
    EXPECT_TRUE(ApplyNumericKey(sel, '9', 4, 2));
    EXPECT_EQ(sel.text, "9");
    NumericEdit back{"7", 1};
    EXPECT_TRUE(ApplyNumericKey(back, BackspaceKey, 4, 2));
    EXPECT_EQ(back.text, "0");
    EXPECT_EQ(back.selectionStart, 0); // "0" selected, the next digit replaces it
    EXPECT_EQ(back.selectionLength, 1);
}

TEST(NumericField, ValueAndShortestForm)
{
    struct Case {
        const char *text;
        double value;
    } values[] = {{".5", 0.5}, {"-.5", -0.5}, {"12.34", 12.34}, {"abc", 0}, {"", 0}, {"-", 0}, {"1500.50", 1500.5}};
    for (const Case &c : values)
        EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << c.text;
    EXPECT_EQ(ShortestDecimal(0.5), "0.5");
    EXPECT_EQ(ShortestDecimal(2), "2");
    EXPECT_EQ(ShortestDecimal(1500.5), "1500.5");
    EXPECT_EQ(ShortestDecimal(0.3333), "0.3333");
    EXPECT_EQ(ShortestDecimal(1234567890.12), "1234567890.12");
    EXPECT_EQ(ShortestDecimal(0.0001), "0.0001");
    EXPECT_EQ(ShortestDecimal(-0.0), "0");
}

TEST(CnpField, CorrectBirthDateAndSex)
{
    struct Case {
        const char *code;
        bool corect;
        QDate born;
        const char *sex;
    } cases[] = {
        {"1800101221144", true, QDate(1980, 1, 1), "masculin"},
        {"2991231123453", true, QDate(1999, 12, 31), "feminin"},
        {"2991231123452", false, QDate(1999, 12, 31), "feminin"}, // wrong check digit
        {"5050315000000", true, QDate(2005, 3, 15), "masculin"},
        {"6050315000000", false, QDate(2005, 3, 15), "feminin"},
        {"1800230000000", false, QDate(1900, 1, 1), "masculin"},  // 30 February
        {"3800101221144", false, QDate(1980, 1, 1), "feminin"},   // first digit 3
        {"4800101221144", false, QDate(1980, 1, 1), "feminin"},
        {"180010122114", false, QDate(1980, 1, 1), "masculin"},   // 12 digits
        {"180010", false, QDate(1899, 12, 30), "masculin"},
        {"1AB0101221144", false, QDate(1899, 12, 30), "masculin"},
        {"", false, QDate(1899, 12, 30), "masculin"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CnpCorect(c.code, false), c.corect) << c.code;
        EXPECT_EQ(CnpNascutLa(c.code), c.born) << c.code;
        EXPECT_EQ(CnpSex(c.code), QString(c.sex)) << c.code;
    }
    EXPECT_TRUE(CnpCorect("", true));
}

TEST(CnpField, SevenAndNineDifferFromCheckCnp)
{
    // The check digit of "7800101221144"'s first 12 digits: the sum grows by
    // 2*6 over the "1" code, 12 mod 11 = 1, so the digit is 5.
    const QString seven = "7800101221145";
    EXPECT_TRUE(CnpCorect(seven, false));
    EXPECT_EQ(CnpNascutLa(seven), QDate(1980, 1, 1));
    EXPECT_EQ(CnpSex(seven), "masculin");
    // A remainder of 10 asks for the digit 1.
    int sum = 0;
    const QString body = "180010122114";
    for (int i = 0; i < 12; ++i)
        sum += (QString("279146358279").at(i).digitValue()) * body.at(i).digitValue();
    ASSERT_EQ(sum % 11, 4);
    EXPECT_TRUE(CnpCorect("1800101221144", false));
    EXPECT_TRUE(CnpCorect("1800101221031", false)); // remainder 10 → check digit 1
    EXPECT_FALSE(CnpCorect("1800101221030", false));
}

TEST(CnpField, Keys)
{
    NumericEdit e{"", 0};
    for (QChar d : QString("12345678901234"))
        ApplyCnpKey(e, d);
    EXPECT_EQ(e.text, "1234567890123"); // the 14th digit does nothing
    EXPECT_FALSE(ApplyCnpKey(e, '9'));
    NumericEdit zero{"0", 1};
    ApplyCnpKey(zero, '5');
    EXPECT_EQ(zero.text, "5");
    NumericEdit mid{"1234", 2};
    ApplyCnpKey(mid, BackspaceKey);
    EXPECT_EQ(mid.text, "134");
    EXPECT_EQ(mid.cursor, 1);
    ApplyCnpKey(mid, DeleteKey);
    EXPECT_EQ(mid.text, "14");
    EXPECT_EQ(mid.cursor, 1);
    NumericEdit dash{"12-3", 2};
    EXPECT_FALSE(ApplyCnpKey(dash, '9')); // not in front of "-"
    NumericEdit sel{"123456", 6, 1, 3};
    ApplyCnpKey(sel, '9');
    EXPECT_EQ(sel.text, "1956");
    EXPECT_FALSE(ApplyCnpKey(sel, 'a'));
}

TEST(Share, SurfaceOfTheShare)
{
    struct Case {
        const char *surface, *numerator, *denominator, *shown;
        bool valid;
    } cases[] = {
        {"3.75", "1", "1", "3.75", true}, {"1", "1", "3", "0.3333", true}, {"1", "2", "3", "0.6667", true},
        {"2.5", "1", "3", "0.8333", true}, {"1", "2", "1", "0", false},    {"1", "0", "5", "0", false},
        {"1", "1", "0", "0", false},       {"abc", "1", "2", "0", true},   {"4", "1", "2", "2", true},
        {"1", "1", "4.5", "0.2222", true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ShareIsValid(c.numerator, c.denominator), c.valid) << c.numerator << "/" << c.denominator;
        EXPECT_EQ(ShareSurfaceText(c.surface, c.numerator, c.denominator), QString(c.shown))
            << c.surface << " " << c.numerator << "/" << c.denominator;
    }
    EXPECT_DOUBLE_EQ(ShareFraction("1", "4"), 0.25);
    EXPECT_DOUBLE_EQ(ShareFraction("2", "1"), 0.0);
}

TEST(Share, TextWrittenAndLoaded)
{
    EXPECT_EQ(ShareText(NormalisedShare("1", "2")), "1/2");
    EXPECT_EQ(ShareText(NormalisedShare("3.9", "4.50")), "3/4.5");
    EXPECT_EQ(ShareText(NormalisedShare("1", "1.0")), "1/1");
    struct Case {
        const char *stored, *numerator, *denominator;
    } cases[] = {{"5/2", "1", "1"}, {"abc", "1", "1"}, {"3/x", "1", "1"}, {"2/4", "2", "4"},
                 {"1/1", "1", "1"}, {"3/4.50", "3", "4.5"}, {"x/3", "1", "3"}, {"", "1", "1"}};
    for (const Case &c : cases) {
        const ShareFields f = ParseShareText(c.stored);
        EXPECT_EQ(f.numerator, QString(c.numerator)) << c.stored;
        EXPECT_EQ(f.denominator, QString(c.denominator)) << c.stored;
    }
}

TEST(SellerChecks, CodesOfSellerAndMandatary)
{
    struct Case {
        const char *code;
        bool natural;
        const char *mandatary;
        const char *field, *problem;
    } cases[] = {
        {"RO 1234565", false, "", "", ""},
        {"RO 1234566", false, "", "CNPCUI", "CUI incorect!"},
        {"180010122114", true, "", "CNPCUI", "CNP incorect!"},
        {" 1800101221144", true, "", "CNPCUI", "CNP incorect!"}, // checked as typed
        {"1800101221144", true, "", "", ""},
        {"", true, "", "", ""},
        {"", true, "7800101221145", "", ""},
        {"", true, "1800101221145", "MCNPCUI", "CNP incorect!"},
    };
    for (const Case &c : cases) {
        SellerLine l;
        l.cnpcui = c.code;
        l.mcnpcui = c.mandatary;
        const CheckOutcome o = CheckSellerLine(l, c.natural);
        EXPECT_EQ(o.passed, QString(c.field).isEmpty()) << c.code;
        EXPECT_EQ(o.field, QString(c.field)) << c.code;
        EXPECT_EQ(o.problem, QString(c.problem)) << c.code;
        if (o.passed) {
            EXPECT_EQ(l.cnpcui, QString(c.code)); // stored as typed
        }
    }
    SellerLine l;
    l.vanzator = "  POPESCU  \"ION\" ";
    l.madresa = "Str.  Ștefan   cel Mare";
    ASSERT_TRUE(CheckSellerLine(l, true).passed);
    EXPECT_EQ(l.vanzator, "POPESCU ION ");
    EXPECT_EQ(l.madresa, "Str. Ștefan cel Mare");
}

TEST(HolderChecks, OrderAndCleanUp)
{
    ScriptedPrompter prompter;
    const auto noName = [](const QString &) { return false; };
    HolderLine one;
    one.nume = "A";
    EXPECT_EQ(CheckHolderLine(one, noName, prompter).problem, "Nu ati scris numele si prenumele!");
    HolderLine two;
    two.nume = "AB";
    two.cnp = "1-900-101";
    two.tippf = "JURIDICA";
    const CheckOutcome o = CheckHolderLine(two, noName, prompter);
    EXPECT_EQ(two.cnp, "1900101");
    EXPECT_EQ(o.passed, CheckCif("1900101"));
    if (!o.passed) {
        EXPECT_EQ(o.problem, "Cod Fiscal incorect!");
    }
    HolderLine phone;
    phone.nume = "AB";
    phone.tel = "0722/123-456";
    EXPECT_TRUE(CheckHolderLine(phone, noName, prompter).passed);
    EXPECT_EQ(phone.tel, "0722123456");
    HolderLine mail;
    mail.nume = "IONESCU";
    mail.posta = true;
    EXPECT_EQ(CheckHolderLine(mail, noName, prompter).field, "Adresa");
    mail.posta = false;
    mail.tel = "+40 (722) 123.456";
    EXPECT_TRUE(CheckHolderLine(mail, noName, prompter).passed);
    EXPECT_EQ(mail.tel, "+40 (722) 123.456");
    HolderLine person;
    person.nume = "IONESCU";
    person.cnp = "1800101221145";
    EXPECT_EQ(CheckHolderLine(person, noName, prompter).problem, "CNP incorect!");
    person.cnp = "";
    person.email = "ab@x.ro";
    EXPECT_EQ(CheckHolderLine(person, noName, prompter).problem, "Email incorect!");
    EXPECT_TRUE(prompter.questions.isEmpty());
}

TEST(HolderChecks, DuplicateNameAsks)
{
    ScriptedPrompter prompter;
    const auto taken = [](const QString &name) { return name == "POPA ION"; };
    HolderLine l;
    l.nume = "POPA  ION";
    prompter.answer(ResultNo);
    const CheckOutcome no = CheckHolderLine(l, taken, prompter);
    EXPECT_FALSE(no.passed);
    EXPECT_TRUE(no.field.isEmpty());
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Verificare Preemptor");
    EXPECT_EQ(prompter.questions[0].text, "\rMai exista la aceasta Cerere acest Preemptor!\rIl mai adaugam odata?");
    EXPECT_EQ(prompter.questions[0].kind, KindConfirmation);
    prompter.answer(ResultYes);
    EXPECT_TRUE(CheckHolderLine(l, taken, prompter).passed);
}

namespace {

RequestFields goodRequest()
{
    RequestFields f;
    f.supraf = "2.5";
    f.cota1 = "1";
    f.cota2 = "2";
    f.cotaParteS = "1.25";
    f.pret = "1500.50";
    f.nrCad = "123";
    f.nrCarte = "456";
    f.functionar = "POPESCU";
    return f;
}

} // namespace

TEST(RequestChecks, OrderOfTheSaveChecks)
{
    ScriptedPrompter prompter;
    RequestFields f = goodRequest();
    f.supraf = "0";
    QStringList revealed;
    const auto reveal = [&revealed](int tab, const QString &field) { revealed << QString::number(tab) + field; };
    const CheckOutcome empty = CheckRequest(f, 0, prompter, reveal);
    EXPECT_EQ(empty.tab, VanzatoriTab);
    EXPECT_TRUE(empty.field.isEmpty());
    ASSERT_EQ(prompter.calls, QStringList{"Mesaj Memorare Cerere: \rNu ati adaugat niciun vanzator!"});
    EXPECT_EQ(revealed, QStringList{"1"});

    struct Step {
        std::function<void(RequestFields &)> spoil;
        const char *field, *problem;
    } steps[] = {
        {[](RequestFields &r) { r.supraf = "abc"; }, "Supraf", "Lipseste Suprafata!"},
        {[](RequestFields &r) { r.cota1 = "2"; r.cota2 = "1"; }, "Cota2", "Cota-parte incorecta!"},
        {[](RequestFields &r) { r.cotaParteS = "0"; }, "CotaParteS", "Lipseste Suprafata Cota-parte!"},
        {[](RequestFields &r) { r.pret = "0.00"; }, "Pret", "Lipseste Pretul!"},
        {[](RequestFields &r) { r.functionar = "  "; }, "Functionar", "Lipseste Nume functionar!"},
    };
    for (const Step &s : steps) {
        RequestFields r = goodRequest();
        s.spoil(r);
        const CheckOutcome o = CheckRequest(r, 1, prompter);
        EXPECT_EQ(o.field, QString(s.field));
        EXPECT_EQ(o.problem, QString(s.problem));
        EXPECT_EQ(o.tab, TerenTab);
    }
    // Surface is checked before the share.
    RequestFields both = goodRequest();
    both.supraf = "";
    both.cota2 = "0";
    EXPECT_EQ(CheckRequest(both, 1, prompter).field, "Supraf");
}

TEST(RequestChecks, CadastralAndLandBookQuestionsThenClerk)
{
    ScriptedPrompter prompter;
    RequestFields f = goodRequest();
    f.nrCad = " ";
    f.nrCarte = "";
    f.functionar = "";
    prompter.answer(ResultNo);
    EXPECT_FALSE(CheckRequest(f, 1, prompter).passed);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Cerere");
    EXPECT_EQ(prompter.questions[0].text, "Nu ati scris Numarul cadastral!\rContinuati asa?");
    EXPECT_EQ(prompter.questions[0].kind, KindWarning);
    prompter.answer({ResultYes, ResultYes});
    const CheckOutcome o = CheckRequest(f, 1, prompter);
    ASSERT_EQ(prompter.questions.size(), 3);
    EXPECT_EQ(prompter.questions[2].text, "Nu ati scris Numarul cartii funciare!\rContinuati asa?");
    EXPECT_EQ(o.field, "Functionar");
}

TEST(RequestChecks, PassedRequestIsShaped)
{
    ScriptedPrompter prompter;
    RequestFields f = goodRequest();
    f.tipPF = "JURIDICA";
    f.nrV = "3";
    f.nrDosar = " 12/A ";
    f.conditii = "plata  \"integrala\"";
    ASSERT_TRUE(CheckRequest(f, 3, prompter).passed);
    EXPECT_EQ(f.nrV, "1");
    EXPECT_EQ(f.pret, "1500.5");
    EXPECT_EQ(f.nrDosar, "12/A");
    EXPECT_EQ(f.conditii, "plata integrala ");
    RequestFields p = goodRequest();
    p.nrV = "3";
    ASSERT_TRUE(CheckRequest(p, 3, prompter).passed);
    EXPECT_EQ(p.nrV, "3");
}
