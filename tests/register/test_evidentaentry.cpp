// The main window's "Evidenta" entry: the unit's name is asked for when it is
// empty, and the register opens afterwards whatever the answer; F1 does the
// same once the program is unlocked.
#include "registertesting.h"

#include "admin/tform4.h"
#include "app/mainwindow.h"
#include "register/tevidente.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

using namespace registertest;

namespace {

// Closes the register window as soon as it is the modal window, and notes
// that it was shown.
void closeRegisterWhenShown(bool *shown)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [shown, attempt](int tries) {
        auto *window = qobject_cast<TEvidente *>(QApplication::activeModalWidget());
        if (!window && tries > 0) {
            QTimer::singleShot(10, [attempt, tries] { (*attempt)(tries - 1); });
            return;
        }
        *shown = window != nullptr;
        if (window)
            window->reject();
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(500); });
}

class EvidentaEntryTest : public RegisterTest {
protected:
    ScriptedPasswordAsker asker;
    TForm4 administration{nullptr, &prompter};
    TForm3 main{prompter, asker, administration};
};

} // namespace

TEST_F(EvidentaEntryTest, AnEmptyUnitNameIsAskedForAndTheRegisterOpensAnyway)
{
    WriteSetting("CONST", "UNITATE", "");
    administrationValues().unitate.clear();
    prompter.answer(ResultNo);
    bool shown = false;
    closeRegisterWhenShown(&shown);
    main.MBut1Click();
    EXPECT_TRUE(shown);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Atentionare");
    EXPECT_EQ(prompter.questions[0].text, "Nu ati completat denumirea unitatii la Administrare!\rDoriti sa o completati acum?");
    EXPECT_EQ(main.MBut1->text(), "Evidenta");
    EXPECT_EQ(main.MBut1->toolTip(), "Evidenta cereri.");
}

TEST_F(EvidentaEntryTest, F1OpensTheRegisterOnceUnlockedAndAsksNothingWhenTheUnitIsNamed)
{
    administrationValues().unitate = "PRIMARIA ARVENA";
    bool shown = false;
    session().administrationUnlocked = false;
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&main, &f1);
    EXPECT_FALSE(shown);
    session().administrationUnlocked = true;
    closeRegisterWhenShown(&shown);
    QApplication::sendEvent(&main, &f1);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(prompter.questions.isEmpty());
    session().administrationUnlocked = false;
}
