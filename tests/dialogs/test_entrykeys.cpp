// The keys of the entry dialogs with an active window and real keyboard
// focus (an X display of their own, see testmain.cpp): Enter walks every
// field in order, the numeric and code fields take only what their rules
// allow, Esc cancels, and a failed check puts its balloon at its field.
#include "datastore/counters.h"
#include "dialogs/bandedgrid.h"
#include "dialogs/taddaltact.h"
#include "dialogs/taddcerere.h"
#include "dialogs/taddcomun.h"
#include "dialogs/taddpree.h"
#include "dialogs/taltivanz.h"
#include "dialogs/tcnpedit.h"
#include "dialogs/tnumericf.h"
#include "dialogs/tselcerere.h"
#include "dialogtesting.h"
#include "platform/sound.h"
#include "tablefixture.h"
#include "ui/tballoon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

// The modal window that opens next, once it is active with the focus.
template <class Dialog>
void whenActive(std::function<void(Dialog *)> action, QWidget *above = nullptr)
{
    whenDialogOpens<Dialog>([action](Dialog *d) {
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        action(d);
    }, above);
}

// The control that has the focus, seen as the field it belongs to (the line
// edit inside an editable list or a date picker counts as that field).
QWidget *focusedField()
{
    QWidget *w = QApplication::focusWidget();
    while (w && w->parentWidget() && (qobject_cast<QComboBox *>(w->parentWidget())
                                      || qobject_cast<QAbstractSpinBox *>(w->parentWidget())))
        w = w->parentWidget();
    return w;
}

// Types `text` as the keyboard would, letters outside ASCII (ș, ț) too.
void typeText(QWidget *w, const QString &text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(w, ch.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
}

QString nameOf(QWidget *w)
{
    return w ? w->objectName() : QStringLiteral("(none)");
}

// Presses Enter in each field of `order` in turn and checks it moves to the next.
void expectEnterWalk(const QList<QWidget *> &order)
{
    order.first()->setFocus();
    QTest::qWait(0);
    for (int i = 0; i + 1 < order.size(); ++i) {
        ASSERT_EQ(nameOf(focusedField()), nameOf(order[i]));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    EXPECT_EQ(nameOf(focusedField()), nameOf(order.last()));
}

// Records the balloons and shows the real one, so its place can be checked.
class BalloonPrompter : public ScriptedPrompter {
public:
    void ShowProblem(const QString &text, QWidget *control) override
    {
        ScriptedPrompter::ShowProblem(text, control);
        ::ShowProblem(text, control);
    }
};

void expectBalloonAt(QWidget *field, const QString &text)
{
    TBalloon *b = balloon();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->text(), text);
    EXPECT_EQ(b->tip(), field->mapToGlobal(TBalloon::TailOffset)) << field->objectName().toStdString();
    EXPECT_EQ(nameOf(focusedField()), field->objectName());
}

class EntryKeys : public DialogTest {
protected:
    void SetUp() override
    {
        // Offscreen a key reaches a field without any focus, and the faults
        // these tests look for do not show.
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        DialogTest::SetUp();
    }
    BalloonPrompter balloons;
};

} // namespace

TEST_F(EntryKeys, RequestDialogEnterOrderTypingAndEsc)
{
    TAddCerere dialog(nullptr, &balloons);
    whenActive<TAddCerere>([](TAddCerere *d) {
        EXPECT_EQ(nameOf(focusedField()), "DataC");
        expectEnterWalk(d->enterOrder(CerereTab));
        // Enter in the conditions starts a new line there.
        QTest::keyClicks(d->Conditii, "plata");
        QTest::keyClick(d->Conditii, Qt::Key_Return);
        EXPECT_EQ(d->Conditii->toPlainText(), "plata\n");

        d->Pages->setCurrentIndex(TerenTab);
        expectEnterWalk(d->enterOrder(TerenTab));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(nameOf(focusedField()), "MemoBut");

        // Typing into the numeric fields: entering selects, so "7" replaces "0".
        d->Supraf->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), "7");
        EXPECT_EQ(d->Supraf->text(), "7");
        const int beeps = platform::beepCount();
        QTest::keyClicks(d->Supraf, "2.345678x9");
        EXPECT_EQ(d->Supraf->text(), "72.345678");
        EXPECT_EQ(platform::beepCount(), beeps + 2); // "x" and the seventh decimal
        QTest::keyClick(d->Supraf, Qt::Key_Return);
        EXPECT_EQ(nameOf(focusedField()), "Cota1");
        QTest::keyClicks(QApplication::focusWidget(), "2.5");
        EXPECT_EQ(d->Cota1->text(), "25"); // no decimals in the numerator
        QTest::keyClick(d->Cota1, Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), "100");
        EXPECT_EQ(d->Cota2->text(), "100");
        EXPECT_EQ(d->CotaParteS->text(), "18.0864");
        d->Pret->setFocus();
        QTest::keyClicks(d->Pret, "12.345");
        EXPECT_EQ(d->Pret->text(), "12.34");
        QTest::keyClick(d->Pret, Qt::Key_Backspace);
        QTest::keyClick(d->Pret, Qt::Key_Backspace);
        QTest::keyClick(d->Pret, Qt::Key_Backspace);
        QTest::keyClick(d->Pret, Qt::Key_Backspace);
        QTest::keyClick(d->Pret, Qt::Key_Backspace);
        EXPECT_EQ(d->Pret->text(), "0");
        d->NrCAD->setFocus();
        d->NrCAD->clear();
        QTest::keyClicks(d->NrCAD, "ab-12");
        EXPECT_EQ(d->NrCAD->text(), "AB-12");
        QTest::keyClick(d->NrCAD, Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.OpenRequestDialog("-1", true));
}

TEST_F(EntryKeys, RequestDialogBalloonsAtTheirFields)
{
    TAddCerere dialog(nullptr, &balloons);
    whenActive<TAddCerere>([this](TAddCerere *d) {
        AddSellerLine(d->workingTables(), SellerLine());
        struct Step {
            std::function<void()> set;
            QWidget *field;
            const char *text;
        } steps[] = {
            {[d] { d->Supraf->setText("0"); }, d->Supraf, "Lipseste Suprafata!"},
            {[d] { d->Supraf->setText("2"); d->Cota1->setText("3"); d->Cota2->setText("2"); }, d->Cota2, "Cota-parte incorecta!"},
            {[d] { d->Cota1->setText("1"); d->Cota2->setText("1"); d->CotaParteS->setText("0"); }, d->CotaParteS,
             "Lipseste Suprafata Cota-parte!"},
            {[d] { d->CotaParteS->setText("2"); d->Pret->setText("0"); }, d->Pret, "Lipseste Pretul!"},
            {[d] { d->Pret->setText("100"); d->Functionar->setText(" "); }, d->Functionar, "Lipseste Nume functionar!"},
        };
        for (const Step &s : steps) {
            d->Pages->setCurrentIndex(CerereTab);
            s.set();
            d->MemoBut->click();
            EXPECT_EQ(d->Pages->currentIndex(), TerenTab);
            expectBalloonAt(s.field, s.text);
        }
        EXPECT_TRUE(d->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.OpenRequestDialog("-1", true));
}

TEST_F(EntryKeys, SellerDialogEnterOrderCodeFieldAndBalloon)
{
    TAltiVanz dialog(nullptr, &balloons);
    whenActive<TAltiVanz>([](TAltiVanz *d) {
        EXPECT_EQ(nameOf(focusedField()), "Vanzator");
        expectEnterWalk(d->enterOrder());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(nameOf(focusedField()), "MemoBut");

        d->MCNPCUI->setFocus();
        QTest::keyClicks(d->MCNPCUI, "1a8b00101221144-9");
        EXPECT_EQ(d->MCNPCUI->text(), "1800101221144"); // letters never, nor a 14th digit
        EXPECT_TRUE(d->MCNPCUI->Corect());
        EXPECT_EQ(d->MCNPCUI->NascutLa(), QDate(1980, 1, 1));
        QTest::keyClick(d->MCNPCUI, Qt::Key_Home);
        QTest::keyClick(d->MCNPCUI, Qt::Key_Delete);
        EXPECT_EQ(d->MCNPCUI->text(), "800101221144");
        QTest::keyClick(d->MCNPCUI, Qt::Key_5, Qt::KeypadModifier);
        EXPECT_EQ(d->MCNPCUI->text(), "5800101221144");

        d->Vanzator->setFocus();
        typeText(QApplication::focusWidget(), "ionescu ștefan țară");
        EXPECT_EQ(d->Vanzator->currentText(), "IONESCU ȘTEFAN ȚARĂ");
        d->CNPCUI->setFocus();
        QTest::keyClicks(d->CNPCUI, "180010122114");
        d->MemoBut->click();
        expectBalloonAt(d->CNPCUI, "CNP incorect!");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.EditSeller(true, true));
}

TEST_F(EntryKeys, EnterInTheRequestGridChoosesTheRequest)
{
    tablefixture::addRequest(1, 10, 1, QDate(2025, 1, 5), 0, "N", "VECHI");
    tablefixture::addRequest(2, 11, 2, QDate(2025, 2, 5), 0, "N", "NOU");
    TSelCerere chooser(nullptr, &balloons);
    QString chosen;
    whenActive<TSelCerere>([](TSelCerere *d) {
        EXPECT_EQ(nameOf(focusedField()), "Ax");
        QTest::keyClick(d->Ax, Qt::Key_Down);
        QTest::keyClick(d->Ax, Qt::Key_Return);
    });
    ASSERT_TRUE(chooser.ChooseSourceRequest("-1", chosen));
    EXPECT_EQ(chosen, "1");
    whenActive<TSelCerere>([](TSelCerere *d) { QTest::keyClick(d->Ax, Qt::Key_Escape); });
    EXPECT_FALSE(chooser.ChooseSourceRequest("-1", chosen));
}

TEST_F(EntryKeys, HolderDialogEnterOrderAndBalloons)
{
    TAddPree dialog(nullptr, &balloons);
    whenActive<TAddPree>([](TAddPree *d) {
        EXPECT_EQ(nameOf(focusedField()), "Rang");
        expectEnterWalk(d->enterOrder());
        d->CodPostal->setFocus();
        QTest::keyClicks(d->CodPostal, "123456789.");
        EXPECT_EQ(d->CodPostal->text(), "12345678");
        d->Email->setFocus();
        QTest::keyClicks(d->Email, "Ana@Exemplu.RO");
        EXPECT_EQ(d->Email->text(), "ana@exemplu.ro");
        d->MemoBut->click();
        expectBalloonAt(d->Nume, "Nu ati scris numele si prenumele!");
        d->Nume->setText("POPA ION");
        d->Posta->setChecked(true);
        d->MemoBut->click();
        expectBalloonAt(d->Adresa, "Lipseste Adresa!");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.EditHolder(QString()));
}

TEST_F(EntryKeys, AnswerAndActDialogsEnterOrderPriceAndEsc)
{
    TAddComun answer(nullptr, &balloons);
    answer.SetAnswerKind(false);
    whenActive<TAddComun>([](TAddComun *d) {
        EXPECT_EQ(nameOf(focusedField()), "DataC");
        // An offer has no rank.
        expectEnterWalk({d->DataC, d->DataAfis, d->TipPF, d->Cumparator, d->CNPCUI, d->Loc, d->Adresa, d->Pret});
        QTest::keyClicks(d->Pret, "1234567890");
        EXPECT_EQ(d->Pret->text(), "12345678");
        d->Cumparator->setText("POPA ION");
        d->MemoBut->click();
        expectBalloonAt(d->CNPCUI, "CNP incorect!");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_FALSE(answer.EditCommunication(true, 15000));

    TAddAltAct act(nullptr, &balloons);
    whenActive<TAddAltAct>([](TAddAltAct *d) {
        // Incoming: no dispatch date, the unit is the addressee.
        d->Modul->setCurrentIndex(0);
        expectEnterWalk({d->DataA, d->Modul, d->Emitent, d->TipAct, d->Detalii});
        d->Modul->setCurrentIndex(1);
        d->DataExpOk->click();
        expectEnterWalk({d->DataA, d->DataExpOk, d->DataExp, d->Modul, d->Destinatar, d->TipAct, d->Detalii});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_FALSE(act.EditOtherAct(true));
}
