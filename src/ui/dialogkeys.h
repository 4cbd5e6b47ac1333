// The keys every dialog of the program shares: Enter moves to the next field
// instead of pressing the default button, and Esc closes the window (for a
// dialog the same as its cancel button: nothing is saved).
//
//   AdoptDialogKeys(this);                         // in the dialog's constructor
//   AdoptDialogKeys(this, DialogKeys::EscCloses);  // a dialog where Enter presses the button
//
// Enter keeps its own meaning where it has one: it presses a focused push
// button and starts a new line in a multi-line text.
#pragma once

#include <QFlags>

class QWidget;

enum class DialogKey { EnterMovesNext = 1, EscCloses = 2 };
Q_DECLARE_FLAGS(DialogKeys, DialogKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogKeys)

void AdoptDialogKeys(QWidget *window, DialogKeys keys = DialogKeys(DialogKey::EnterMovesNext) | DialogKey::EscCloses);
