// The administrator password: the unlock gate behind the main window's
// "Administrare" button and the setting or clearing of the password from the
// administration dialog.
//
// The password is kept encoded (CodeazaStr) in the settings file under
// "INIT"/"WIN" and read anew at every check, so a change made on one
// workstation of a shared folder counts at the next unlock on any other.
#pragma once

#include <QByteArray>
#include <QString>

class Prompter;

// The login dialog "Autentificare" as the unlock flow sees it.
class PasswordAsker {
public:
    virtual ~PasswordAsker() = default;
    // Shows the dialog with an empty field; true when the entry was confirmed,
    // with the typed text in `password`.
    virtual bool InputQuery2(QString &password) = 0;
};

enum class UnlockOutcome {
    // The program was already unlocked: the administration dialog is due.
    OpenAdministration,
    // The program has just been unlocked.
    Unlocked,
    // Still locked (dialog closed, or a wrong or empty password).
    Locked,
};

// The click on "Administrare": unlocks the program when no password is stored
// (after a warning) or when the typed password matches. An empty entry while a
// password is stored is refused like a wrong one. Sets
// session().administrationUnlocked on success.
UnlockOutcome UnlockRequest(Prompter &prompter, PasswordAsker &asker);

// The stored form of a typed password: CodeazaStr over its bytes in the
// settings file's code page.
QByteArray EncodedPassword(const QString &password);

// True when `typed` is not empty and encodes to the stored bytes.
bool PasswordMatches(const QString &typed, const QByteArray &stored);

enum class PasswordChange {
    // Both entries differ: nothing written.
    Refused,
    // A new password was stored; the fields are to be cleared.
    Changed,
    // Both entries empty and the clerk agreed: the password is removed.
    Cleared,
    // Both entries empty and the clerk said no: nothing written.
    Kept,
};

// "&Schimba parola": stores the new password, or removes it when both entries
// are empty and the clerk confirms. Throws SettingsError when the settings
// file cannot be written (nothing is stored then).
PasswordChange ChangePassword(Prompter &prompter, const QString &newPassword, const QString &again);
