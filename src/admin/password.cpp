#include "admin/password.h"

#include "admin/codeazastr.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/sound.h"
#include "datastore/dbf/codepage.h"
#include "datastore/settings.h"


namespace {

void refuseWrongPassword(Prompter &prompter)
{
    prompter.Mesaj(QStringLiteral("Greseala!"), QStringLiteral("PAROLA INCORECTA !"), ButtonOk, KindError);
}

} // namespace

QByteArray EncodedPassword(const QString &password)
{
    // A character without a form in the code page cannot be typed on the
    // workstations that share the file; it is left out the same way at every
    // check, so such a password still matches itself.
    QByteArray bytes;
    dbf::encodeText(password, bytes);
    return CodeazaStr(bytes);
}

bool PasswordMatches(const QString &typed, const QByteArray &stored)
{
    return !typed.isEmpty() && EncodedPassword(typed) == stored;
}

UnlockOutcome UnlockRequest(Prompter &prompter, PasswordAsker &asker)
{
    if (session().administrationUnlocked)
        return UnlockOutcome::OpenAdministration;

    const QByteArray stored = ReadStoredPassword();
    if (stored.isEmpty()) {
        prompter.Mesaj(QStringLiteral("Administrare"), QStringLiteral("\rATENTIE!\rNu aveti nicio parola!"),
                       ButtonOk, KindWarning);
    } else {
        QString typed;
        if (!asker.InputQuery2(typed))
            return UnlockOutcome::Locked;
        // An empty entry is a wrong password: nothing may pass the gate without it.
        if (!PasswordMatches(typed, stored)) {
            refuseWrongPassword(prompter);
            return UnlockOutcome::Locked;
        }
    }
    session().administrationUnlocked = true;
    return UnlockOutcome::Unlocked;
}

PasswordChange ChangePassword(Prompter &prompter, const QString &newPassword, const QString &again)
{
    if (newPassword != again) {
        prompter.Mesaj(QStringLiteral("Eroare la completare"),
                       QStringLiteral("Nu ati scris parola noua la fel in cele doua casute !"), ButtonOk,
                       KindError);
        platform::beep();
        return PasswordChange::Refused;
    }
    if (!newPassword.isEmpty()) {
        WriteStoredPassword(EncodedPassword(newPassword));
        prompter.Mesaj(QStringLiteral("Confirmare"), QStringLiteral("Parola a fost schimbata cu succes!"),
                       ButtonOk, KindInformation);
        return PasswordChange::Changed;
    }
    const int answer = prompter.Mesaj(QStringLiteral("Eroare la completare"),
                                      QStringLiteral("ATENTIE !\r\nDoriti sa dezactivati parola de administrator?"),
                                      ButtonDa | ButtonNu, KindWarning);
    if (answer != ResultYes)
        return PasswordChange::Kept;
    WriteStoredPassword(QByteArray());
    return PasswordChange::Cleared;
}
