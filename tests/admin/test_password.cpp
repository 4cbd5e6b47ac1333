#include "admin/codeazastr.h"
#include "admin/password.h"
#include "scriptedprompter.h"
#include "datastore/settings.h"
#include "startupfixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class Password : public ::testing::Test {
protected:
    ProgramFolderFixture folder;
    ScriptedPrompter prompter;
    ScriptedPasswordAsker asker;
};

} // namespace

TEST_F(Password, WithoutPasswordTheFirstClickWarnsAndUnlocksTheSecondOpensSettings)
{
    EXPECT_EQ(UnlockRequest(prompter, asker), UnlockOutcome::Unlocked);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Administrare");
    EXPECT_EQ(prompter.questions[0].text, "\rATENTIE!\rNu aveti nicio parola!");
    EXPECT_EQ(prompter.questions[0].buttons, ButtonOk);
    EXPECT_EQ(asker.asked, 0);
    EXPECT_TRUE(session().administrationUnlocked);

    EXPECT_EQ(UnlockRequest(prompter, asker), UnlockOutcome::OpenAdministration);
    EXPECT_EQ(prompter.questions.size(), 1);
}

TEST_F(Password, TypedPasswordIsComparedExactly)
{
    WriteStoredPassword(CodeazaStr("Secret9"));
    struct Case {
        QString typed;
        UnlockOutcome outcome;
        bool wrongMessage;
    } cases[] = {
        {QString(), UnlockOutcome::Locked, false},          // "&Inchide" or Esc
        {QStringLiteral("secret9"), UnlockOutcome::Locked, true}, // case matters
        {QStringLiteral("Secret9 "), UnlockOutcome::Locked, true}, // no trimming
        {QStringLiteral(""), UnlockOutcome::Locked, true},  // empty entry is refused
        {QStringLiteral("Secret9"), UnlockOutcome::Unlocked, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.isNull() ? QStringLiteral("<closed>").toStdString() : c.typed.toStdString());
        session().administrationUnlocked = false;
        prompter.questions.clear();
        asker.entries = QStringList{c.typed};
        asker.asked = 0;
        EXPECT_EQ(UnlockRequest(prompter, asker), c.outcome);
        EXPECT_EQ(asker.asked, 1);
        EXPECT_EQ(session().administrationUnlocked, c.outcome == UnlockOutcome::Unlocked);
        if (c.wrongMessage) {
            ASSERT_EQ(prompter.questions.size(), 1);
            EXPECT_EQ(prompter.questions[0].title, "Greseala!");
            EXPECT_EQ(prompter.questions[0].text, "PAROLA INCORECTA !");
            EXPECT_EQ(prompter.questions[0].kind, KindError);
        } else {
            EXPECT_TRUE(prompter.questions.isEmpty());
        }
    }
}

TEST_F(Password, ChangedPasswordSurvivesTheSettingsFileByteForByte)
{
    // Passwords whose encodings hold blanks and bytes without a letter of
    // the code page at either end must still match after a round trip.
    const QStringList passwords{"abc", "a", " x ", "Parolă ş", "0123456789abcdefghijklmnopqrstuv"};
    for (const QString &password : passwords) {
        SCOPED_TRACE(password.toStdString());
        prompter.questions.clear();
        EXPECT_EQ(ChangePassword(prompter, password, password), PasswordChange::Changed);
        ASSERT_EQ(prompter.questions.size(), 1);
        EXPECT_EQ(prompter.questions[0].title, "Confirmare");
        EXPECT_EQ(prompter.questions[0].text, "Parola a fost schimbata cu succes!");
        EXPECT_EQ(ReadStoredPassword(), EncodedPassword(password));
        EXPECT_TRUE(PasswordMatches(password, ReadStoredPassword()));
    }
    // "abc" is stored as the known sixteen bytes.
    ChangePassword(prompter, "abc", "abc");
    EXPECT_EQ(ReadStoredPassword().size(), 16);
    EXPECT_EQ(static_cast<unsigned char>(ReadStoredPassword().at(1)), 149);
}

TEST_F(Password, DifferentEntriesAreRefusedAndNothingIsWritten)
{
    WriteStoredPassword(CodeazaStr("vechi"));
    EXPECT_EQ(ChangePassword(prompter, "nou1", "nou2"), PasswordChange::Refused);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Eroare la completare");
    EXPECT_EQ(prompter.questions[0].text, "Nu ati scris parola noua la fel in cele doua casute !");
    EXPECT_EQ(ReadStoredPassword(), CodeazaStr("vechi"));
}

TEST_F(Password, BothEntriesEmptyClearsThePasswordOnlyOnDa)
{
    WriteStoredPassword(CodeazaStr("vechi"));
    prompter.answer(ResultNo);
    EXPECT_EQ(ChangePassword(prompter, "", ""), PasswordChange::Kept);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].text, "ATENTIE !\r\nDoriti sa dezactivati parola de administrator?");
    EXPECT_EQ(prompter.questions[0].buttons, ButtonDa | ButtonNu);
    EXPECT_EQ(ReadStoredPassword(), CodeazaStr("vechi"));

    prompter.answer(ResultYes);
    EXPECT_EQ(ChangePassword(prompter, "", ""), PasswordChange::Cleared);
    EXPECT_TRUE(ReadStoredPassword().isEmpty());
    // From then on the gate only warns.
    EXPECT_EQ(UnlockRequest(prompter, asker), UnlockOutcome::Unlocked);
    EXPECT_EQ(asker.asked, 0);
}

TEST_F(Password, PasswordWrittenByAnExistingInstallationIsRecognised)
{
    // A settings file as another installation left it: "abc" encoded, raw.
    const int abc[] = {72, 149, 96, 44, 115, 72, 97, 65, 60, 92, 147, 112, 141, 98, 107, 99};
    QByteArray file("[CONST]\r\nUNITATE=PRIMARIA X\r\n[INIT]\r\nWIN=");
    for (int b : abc)
        file.append(static_cast<char>(b));
    file.append("\r\n");
    QFile settings(session().dataFolder + "/ARV2.SET");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(file);
    settings.close();

    asker.entries = QStringList{"abc"};
    EXPECT_EQ(UnlockRequest(prompter, asker), UnlockOutcome::Unlocked);
    EXPECT_TRUE(prompter.questions.isEmpty());
}
