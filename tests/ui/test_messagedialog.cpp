#include "ui/terori.h"
#include "platform/sound.h"
#include "testsupport.h"
#include "qtprint.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs Mesaj and acts on the dialog once it is shown modally.
int answer(const std::function<void(TErori *)> &act, int buttons, int kind = KindConfirmation)
{
    QTimer::singleShot(0, qApp, [act] {
        TErori *d = messageDialog();
        EXPECT_TRUE(d->isVisible());
        act(d);
    });
    return Mesaj("Titlu", "Text", buttons, kind);
}

QList<int> lefts(TErori *d)
{
    QList<int> result;
    for (QPushButton *b : d->visibleButtons())
        result.append(b->x());
    return result;
}

QStringList captions(TErori *d)
{
    QStringList result;
    for (QPushButton *b : d->visibleButtons())
        result.append(b->text());
    return result;
}

} // namespace

TEST(Mesaj, ButtonsAreSpreadOverTheBottomLine)
{
    struct Case {
        int mask;
        QList<int> lefts;
        QStringList captions;
    };
    const QList<Case> cases = {
        {15, {10, 93, 176, 259}, {"&Da", "&Nu", "&Renunt", "&OK"}},
        {3, {65, 203}, {"&Da", "&Nu"}},
        {4, {134}, {"&OK"}},
        {1, {134}, {"&Da"}},
        {12, {65, 203}, {"&Renunt", "&OK"}},
        {11, {30, 133, 236}, {"&Da", "&Nu", "&Renunt"}},
    };
    TErori *d = messageDialog();
    for (const Case &c : cases) {
        EXPECT_EQ(d->Prepare("T", "x", c.mask, KindConfirmation), c.lefts.size());
        EXPECT_EQ(lefts(d), c.lefts) << c.mask;
        EXPECT_EQ(captions(d), c.captions) << c.mask;
        for (QPushButton *b : d->visibleButtons()) {
            EXPECT_EQ(b->width(), 73);
            EXPECT_GE(b->y(), TErori::ClientHeight - TErori::BottomBandHeight);
            EXPECT_LE(b->geometry().bottom(), TErori::ClientHeight);
        }
    }
}

TEST(Mesaj, KindChoosesCaptionColoursAndBeep)
{
    struct Case {
        int kind;
        const char *caption;
        QColor from, to;
        bool beep;
    };
    const Case cases[] = {
        {0, "Atentie !", QColor("#B7B18A"), QColor("#383623"), false},
        {1, "Eroare", QColor("#FFD5D5"), QColor("#FF0000"), true},
        {2, "Informatie", QColor("#E1DEFA"), QColor("#0000BB"), false},
        {3, "Confirmare", QColor("#81A2D3"), QColor("#365F9C"), false},
        {7, "Eroare", QColor("#FFD5D5"), QColor("#FF0000"), true},
    };
    TErori *d = messageDialog();
    for (const Case &c : cases) {
        const int beeps = platform::beepCount();
        d->Prepare("Titlu", "Text", ButtonOk, c.kind);
        EXPECT_EQ(d->windowTitle(), c.caption) << c.kind;
        EXPECT_EQ(d->bandFrom(), c.from) << c.kind;
        EXPECT_EQ(d->bandTo(), c.to) << c.kind;
        EXPECT_EQ(platform::beepCount() - beeps, c.beep ? 1 : 0) << c.kind;
    }
}

TEST(Mesaj, FixedLookOfTheWindow)
{
    TErori *d = messageDialog();
    d->Prepare("Stergere", "Linia 1\rLinia 2\r\nLinia 3", ButtonDa | ButtonNu, KindConfirmation);
    EXPECT_EQ(d->size(), QSize(339, 171));
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
    EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(d->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(d->windowFlags() & Qt::WindowMaximizeButtonHint);
    // The title goes into the label, not the caption; carriage returns break lines.
    EXPECT_EQ(d->title(), "Stergere");
    EXPECT_EQ(d->text(), "Linia 1\nLinia 2\nLinia 3");
    auto *text = d->findChild<QLabel *>("TextL");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), QSize(321, 65));
    // Nothing of a longer earlier message stays behind.
    d->Prepare("Alt titlu", "Scurt", ButtonOk, KindInformation);
    EXPECT_EQ(d->text(), "Scurt");
    EXPECT_EQ(captions(d), QStringList{"&OK"});
}

TEST(Mesaj, ResultOfEachButton)
{
    const struct {
        int index;
        int result;
    } cases[] = {{0, 6}, {1, 7}, {2, 2}, {3, 1}};
    for (const auto &c : cases) {
        const int result = answer([&c](TErori *d) { d->button(c.index)->click(); }, 15);
        EXPECT_EQ(result, c.result) << c.index;
        EXPECT_FALSE(messageDialog()->isVisible());
    }
}

TEST(Mesaj, EscAndCloseBoxGiveCancel)
{
    EXPECT_EQ(answer([](TErori *d) { QTest::keyClick(d, Qt::Key_Escape); }, ButtonDa | ButtonNu), ResultCancel);
    EXPECT_EQ(answer([](TErori *d) { d->close(); }, ButtonDa | ButtonNu), ResultCancel);
}

TEST(Mesaj, EnterPressesTheFirstButtonAndAltKeysTheirs)
{
    EXPECT_EQ(answer([](TErori *d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); }, ButtonDa | ButtonNu),
              ResultYes);
    EXPECT_EQ(answer([](TErori *d) { QTest::keyClick(d, Qt::Key_N, Qt::AltModifier); }, ButtonDa | ButtonNu),
              ResultNo);
}

TEST(Mesaj, MaskWithoutButtonsShowsNothing)
{
    bool shown = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&shown] { shown = shown || messageDialog()->isVisible(); });
    probe.start(0);
    EXPECT_EQ(Mesaj("Titlu", "Text", 0, KindInformation), ResultCancel);
    EXPECT_EQ(Mesaj("Titlu", "Text", 16, KindInformation), ResultCancel);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(messageDialog()->isVisible());
}

TEST(Mesaj, ScreenshotOfEachKind)
{
    const QString folder = testsupport::outputFolder("foundation");
    const struct {
        int kind;
        const char *name, *title, *text;
        int buttons;
    } shots[] = {
        {0, "atentie", "Stergere cerere", "Stergeti cererea nr. 12 din 03.04.2024 si toate actele ei?", 3},
        {1, "eroare", "Conectare server",
         "Baza de date /srv/arvena/Data\rNU este accesibila sau este incompleta!\rVerificati conexiunea si baza si "
         "reporniti programul!",
         4},
        {2, "informatie", "Salvare", "Salvarea a fost creata in\r/home/ana/Salvari/Arv3_2024.av3", 4},
        {3, "confirmare", "Inchidere program", "Doriti salvarea bazei de date inainte de inchidere?", 11},
    };
    for (const auto &s : shots) {
        TErori *d = messageDialog();
        d->Prepare(s.title, s.text, s.buttons, s.kind);
        const QString path = folder + "/mesaj-" + s.name + ".png";
        ASSERT_TRUE(d->grab().save(path)) << qPrintable(path);
        EXPECT_EQ(QImage(path).size(), QSize(339, 171));
    }
}
