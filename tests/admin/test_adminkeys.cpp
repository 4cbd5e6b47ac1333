// The keys of the administration dialogs with an active window and real
// keyboard focus: these tests run on an X display of their own (Xvfb, see
// testmain.cpp), where Enter reaches the field that really has the focus.
#include "admin/tform4.h"
#include "admin/tform5.h"
#include "admin/password.h"
#include "datastore/settings.h"
#include "scriptedprompter.h"
#include "startupfixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `action` on the modal window that opens next, once it is the active
// window with the keyboard focus.
void whenModalOpens(std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        modal->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        action(modal);
    });
}

// Types `text` where the focus is, then Enter there.
void typeAndEnter(const QString &text)
{
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClicks(focused, text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

class AdminKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Offscreen, a key sent to a field reaches it without any focus, and
        // the faults these tests look for do not show.
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        administrationValues() = AdministrationValues();
    }

    ProgramFolderFixture folder;
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(AdminKeys, EnterInIncaOdataChangesThePassword)
{
    TForm4 dialog(nullptr, &prompter);
    bool movedOn = false;
    whenModalOpens([&](QWidget *w) {
        auto *dlg = static_cast<TForm4 *>(w);
        dlg->Parola1E->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), dlg->Parola1E);
        // Enter in "Parola noua" moves on to "Inca odata"...
        typeAndEnter("noua 7");
        movedOn = QApplication::focusWidget() == dlg->Parola2E;
        // ...and Enter there presses "&Schimba parola".
        typeAndEnter("noua 7");
        dlg->RenuntB->click();
    });
    dialog.Open();
    EXPECT_TRUE(movedOn);
    EXPECT_EQ(ReadStoredPassword(), EncodedPassword("noua 7"));
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions.at(0).text, "Parola a fost schimbata cu succes!");
    EXPECT_TRUE(dialog.Parola1E->text().isEmpty());
    EXPECT_TRUE(dialog.Parola2E->text().isEmpty());
}

TEST_F(AdminKeys, EnterOnAFocusedButtonPressesIt)
{
    TForm4 dialog(nullptr, &prompter);
    whenModalOpens([&](QWidget *w) {
        auto *dlg = static_cast<TForm4 *>(w);
        dlg->RenuntB->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), dlg->RenuntB);
        QTest::keyClick(dlg->RenuntB, Qt::Key_Return);
    });
    dialog.Open();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(AdminKeys, EnterInTheLoginFieldConfirms)
{
    TForm5 login;
    QString typed;
    whenModalOpens([](QWidget *w) {
        w->findChild<QLineEdit *>("PassE")->setFocus();
        typeAndEnter("Abc d");
    });
    ASSERT_TRUE(login.InputQuery2(typed));
    EXPECT_EQ(typed, "Abc d");
}
