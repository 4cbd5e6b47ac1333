// The Enter/Esc convention of the dialogs, with an active window and real
// keyboard focus: these tests run on an X display of their own (Xvfb, see
// testmain.cpp), where a key goes where the focus really is.
#include "entrydialog.h"
#include "testsupport.h"
#include "ui/dialogkeys.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(DialogKeys, RunOnARealDisplay)
{
    // Offscreen, a key sent to a field reaches it without any focus, and the
    // faults these tests look for do not show.
    EXPECT_EQ(QGuiApplication::platformName(), "xcb");
}

TEST(DialogKeys, EnterMovesToTheNextFieldInsteadOfSaving)
{
    EntryDialog e;
    AdoptDialogKeys(&e.dialog);
    e.show();
    QTest::keyClick(e.name, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), e.cnp);
    QTest::keyClick(e.cnp, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), e.mandatar);
    QTest::keyClick(e.mandatar, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), e.note);
    // In a text of several lines Enter starts a new line.
    QTest::keyClicks(e.note, "rand 1");
    QTest::keyClick(e.note, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), e.note);
    EXPECT_EQ(e.note->toPlainText(), "rand 1\n");
    e.county->setFocus();
    QTest::keyClick(e.county, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), e.save);
    EXPECT_EQ(e.saved, 0);
    EXPECT_TRUE(e.dialog.isVisible());
    // On the button itself Enter presses it.
    QTest::keyClick(e.save, Qt::Key_Return);
    EXPECT_EQ(e.saved, 1);
}

TEST(DialogKeys, EscClosesWithoutSaving)
{
    EntryDialog e;
    AdoptDialogKeys(&e.dialog);
    e.show();
    QTest::keyClicks(e.name, "Ion");
    QTest::keyClick(e.name, Qt::Key_Escape);
    EXPECT_FALSE(e.dialog.isVisible());
    EXPECT_EQ(e.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(e.saved, 0);

    QWidget plain;
    auto *field = new QLineEdit(&plain);
    AdoptDialogKeys(&plain);
    plain.show();
    plain.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&plain));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(plain.isVisible());
}

TEST(DialogKeys, WithoutEnterAdoptedTheDefaultButtonActs)
{
    EntryDialog e;
    AdoptDialogKeys(&e.dialog, DialogKey::EscCloses);
    e.show();
    QTest::keyClick(e.name, Qt::Key_Return);
    EXPECT_EQ(e.saved, 1);
}

TEST(DialogKeys, EnterPressesTheFocusedButtonWhicheverItIs)
{
    EntryDialog e;
    auto *picture = new QToolButton(&e.dialog);
    picture->setFocusPolicy(Qt::StrongFocus);
    e.dialog.layout()->addWidget(picture);
    int pressed = 0;
    QObject::connect(picture, &QToolButton::clicked, [&pressed] { ++pressed; });
    AdoptDialogKeys(&e.dialog);
    e.show();
    picture->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), picture);
    QTest::keyClick(picture, Qt::Key_Return);
    EXPECT_EQ(pressed, 1);
    // Not the dialog's default button in its place.
    EXPECT_EQ(e.saved, 0);
    EXPECT_TRUE(e.dialog.isVisible());
}

TEST(DialogKeys, AFieldMaySendEnterToAButton)
{
    EntryDialog e;
    AdoptDialogKeys(&e.dialog);
    EnterPresses(e.cnp, e.save);
    e.show();
    QTest::keyClick(e.name, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), e.cnp);
    QTest::keyClick(e.cnp, Qt::Key_Return);
    EXPECT_EQ(e.saved, 1);
    EXPECT_EQ(QApplication::focusWidget(), e.cnp);
}
