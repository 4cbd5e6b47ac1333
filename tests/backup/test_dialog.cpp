// The dialog "Copie - inlocuieste baza de date": its three buttons, their
// states, Esc, and the wiring to the operations.
#include "backup/tform21.h"

#include "backupfixture.h"
#include "scriptedprompter.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class Chooser : public backup::BackupFileChooser {
public:
    QString save;
    QString open;
    QString chooseSaveFile() override { return save; }
    QString chooseOpenFile() override { return open; }
};

// Runs `action` once the dialog is up, then makes sure it is closed.
void whileShown(TForm21 &dialog, const std::function<void()> &action)
{
    QTimer::singleShot(0, &dialog, [&] {
        QTRY_VERIFY_WITH_TIMEOUT(dialog.isVisible(), 10000);
        dialog.activateWindow();
        action();
        if (dialog.isVisible())
            dialog.reject();
    });
}

} // namespace

class BackupDialog : public BackupFixture {};

TEST_F(BackupDialog, ThreeButtonsTheRemoteOneDisabledAndAScreenshot)
{
    ScriptedPrompter prompter;
    Chooser chooser;
    TForm21 dialog(prompter, chooser);
    EXPECT_EQ(dialog.windowTitle(), "Copie - inlocuieste baza de date");
    EXPECT_EQ(dialog.SalveazaB->text(), "Salveaza o copie a datelor");
    EXPECT_EQ(dialog.IncarcaB->text(), "Incarca o salvare anterioara");
    EXPECT_EQ(dialog.DistantaB->text(), "Copie / Recupereaza date la Distanta");
    bool escClosed = false;
    whileShown(dialog, [&] {
        EXPECT_TRUE(dialog.SalveazaB->isEnabled());
        EXPECT_TRUE(dialog.IncarcaB->isEnabled());
        EXPECT_FALSE(dialog.DistantaB->isEnabled());
        const QString shot = testsupport::outputFolder("backup") + "/TForm21.png";
        EXPECT_TRUE(dialog.grab().save(shot));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        escClosed = !dialog.isVisible();
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(escClosed);
    EXPECT_TRUE(prompter.questions.isEmpty());
}

TEST_F(BackupDialog, InsideAnOpenedArchiveTheRestoreIsDisabled)
{
    ScriptedPrompter prompter;
    Chooser chooser;
    TForm21 dialog(prompter, chooser);
    session().openedBackup = program.file("x.av3");
    bool disabled = false;
    whileShown(dialog, [&] { disabled = !dialog.IncarcaB->isEnabled(); });
    dialog.Execute();
    session().openedBackup.clear();
    EXPECT_TRUE(disabled);
}

TEST_F(BackupDialog, TheButtonsRunTheBackupAndTheRestore)
{
    ScriptedPrompter prompter;
    Chooser chooser;
    chooser.save = program.file("din-dialog.av3");
    chooser.open = chooser.save;
    TForm21 dialog(prompter, chooser);
    whileShown(dialog, [&] { QTest::mouseClick(dialog.SalveazaB, Qt::LeftButton); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(QFile::exists(chooser.save));
    EXPECT_EQ(prompter.questions.value(0).text, "\rSalvare incheiata cu succes !");

    addDocuments(1);
    ScriptedPrompter restoring;
    restoring.answer(ResultYes);
    TForm21 second(restoring, chooser);
    whileShown(second, [&] { QTest::mouseClick(second.IncarcaB, Qt::LeftButton); });
    EXPECT_TRUE(second.Execute());
    EXPECT_FALSE(QFile::exists(dataFile("Doc0.rtf")));
    EXPECT_TRUE(QFile::exists(program.file("DataBAK/Doc0.rtf")));
}
