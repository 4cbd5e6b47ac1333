// The login dialog and the administration dialog, driven as the clerk would:
// keys, clicks and what they show. Screenshots go to
// build/test-output/startup for a person to look at.
#include "admin/tform4.h"
#include "admin/codeazastr.h"
#include "admin/tform5.h"
#include "scriptedprompter.h"
#include "datastore/counters.h"
#include "datastore/settings.h"
#include "startupfixture.h"
#include "tablefixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace tablefixture;

namespace {

// Runs `action` on the modal window that opens next.
void whenModalOpens(std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(modal);
    });
}

void saveScreenshot(QWidget *window, const QString &name)
{
    const QString path = testsupport::outputFolder("startup") + "/" + name + ".png";
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

class AdminDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        administrationValues() = AdministrationValues();
        WriteMachineSetting("CALESALVARI", "-");
        CreateTables();
    }

    ProgramFolderFixture folder;
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(AdminDialogs, LoginDialogConfirmsWithEnterAndClosesWithEsc)
{
    TForm5 login;
    QString typed;
    whenModalOpens([](QWidget *w) {
        auto *edit = w->findChild<QLineEdit *>("PassE");
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        QTest::keyClicks(edit, "Abc d");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    ASSERT_TRUE(login.InputQuery2(typed));
    EXPECT_EQ(typed, "Abc d");

    whenModalOpens([](QWidget *w) {
        auto *edit = w->findChild<QLineEdit *>("PassE");
        EXPECT_TRUE(edit->text().isEmpty()); // cleared at every opening
        QTest::keyClicks(edit, "x");
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    EXPECT_FALSE(login.InputQuery2(typed));

    whenModalOpens([](QWidget *w) { w->findChild<QPushButton *>("InchideB")->click(); });
    EXPECT_FALSE(login.InputQuery2(typed));
    whenModalOpens([](QWidget *w) { w->findChild<QPushButton *>("VerificaB")->click(); });
    EXPECT_TRUE(login.InputQuery2(typed));
    EXPECT_EQ(typed, "");
}

TEST_F(AdminDialogs, RenuntKeepsTheNumberingModeAndRewritesNothing)
{
    addRequest(1, 12, 1, QDate(2025, 3, 1), 0, "N", "POPESCU ION");
    addAct(1, 1, 13, QDate(2025, 3, 1), "PROCES VERBAL DE AFISARE OFERTA", "Cererea 12 - POPESCU ION");
    SetNextNumber("NR", 140000);
    SetNextNumber("NR2", 20000);
    TForm4 dialog(nullptr, &prompter);

    whenModalOpens([](QWidget *w) {
        auto *dlg = static_cast<TForm4 *>(w);
        EXPECT_EQ(dlg->NrUrmE->text(), "14");
        dlg->NumTip2R->click();
        EXPECT_EQ(dlg->NrUrmE->text(), "2"); // the counter of the mode clicked
        dlg->RenuntB->click();
    });
    dialog.Open();
    EXPECT_EQ(actDetails(1), "Cererea 12 - POPESCU ION");
    EXPECT_EQ(ReadSetting("CONST", "NumTip"), "");
    EXPECT_EQ(administrationValues().numTip, IndividualNumbering);

    whenModalOpens([](QWidget *w) {
        auto *dlg = static_cast<TForm4 *>(w);
        EXPECT_TRUE(dlg->NumTip1R->isChecked());
        dlg->UnitateE->setFocus();
        QTest::keyClicks(dlg->UnitateE, "primaria dealu");
        dlg->NumTip2R->click();
        dlg->MemoB->click();
    });
    dialog.Open();
    EXPECT_EQ(ReadSetting("CONST", "UNITATE"), "PRIMARIA DEALU");
    EXPECT_EQ(ReadSetting("CONST", "NumTip"), "2");
    EXPECT_EQ(administrationValues().numTip, PerRequestNumbering);
    EXPECT_EQ(actDetails(1), "Cererea 1 - POPESCU ION");
}

TEST_F(AdminDialogs, EmptyUnitNameOffersTheSettings)
{
    TForm4 dialog(nullptr, &prompter);
    prompter.answer(ResultNo);
    dialog.CheckUnitName("Administrare");
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Atentionare");
    EXPECT_EQ(prompter.questions[0].text,
              "Nu ati completat denumirea unitatii la Administrare!\rDoriti sa o completati acum?");
    administrationValues().unitate = "PRIMARIA X";
    dialog.CheckUnitName("Administrare");
    EXPECT_EQ(prompter.questions.size(), 1);
}

TEST_F(AdminDialogs, Screenshots)
{
    TForm5 login;
    login.show();
    QTest::keyClicks(login.passwordEdit(), "parola");
    saveScreenshot(&login, "login-dialog");

    WriteSetting("CONST", "UNITATE", "PRIMARIA COMUNEI DEALU MARE");
    WriteSetting("CONST", "LOCALIT", "DEALU MARE");
    WriteSetting("CONST", "JUDET", "12");
    WriteSetting("CONST", "PRIMAR", "POPESCU ION");
    WriteSetting("CONST", "SECRETAR", "IONESCU MARIA");
    WriteSetting("CONST", "SITE", "www.dealumare.ro");
    TForm4 admin(nullptr, &prompter);
    admin.Load();
    admin.show();
    saveScreenshot(&admin, "administration-dialog");
    EXPECT_LE(admin.width(), 1366);
    EXPECT_LE(admin.height(), 768);
}
