// The keys every dialog of the program shares: Enter moves to the next field
// instead of pressing the default button, and Esc closes the window (for a
// dialog the same as its cancel button: nothing is saved).
//
//   AdoptDialogKeys(this);                         // in the dialog's constructor
//   AdoptDialogKeys(this, DialogKeys::EscCloses);  // a dialog where Enter presses the button
//
// Enter keeps its own meaning where it has one: it presses the focused
// button (push or picture button, whether or not it is a default button) and
// starts a new line in a multi-line text. A field may send Enter to a button
// instead of moving on:
//
//   EnterPresses(Parola2E, SchimbaParolaB);   // Enter in "Inca odata" changes the password
#pragma once

#include <QFlags>

class QAbstractButton;
class QWidget;

enum class DialogKey { EnterMovesNext = 1, EscCloses = 2 };
Q_DECLARE_FLAGS(DialogKeys, DialogKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogKeys)

void AdoptDialogKeys(QWidget *window, DialogKeys keys = DialogKeys(DialogKey::EnterMovesNext) | DialogKey::EscCloses);

// Enter in `field` presses `button` instead of moving to the next field, in a
// window that adopted the dialog keys.
void EnterPresses(QWidget *field, QAbstractButton *button);
