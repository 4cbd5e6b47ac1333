#include "dialogs/tcnpedit.h"

#include "dialogs/cnprules.h"

#include <QKeyEvent>

TCNPEdit::TCNPEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(13);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
}

bool TCNPEdit::Corect() const
{
    return CnpCorect(text(), AcceptGol);
}

QDate TCNPEdit::NascutLa() const
{
    return CnpNascutLa(text());
}

QString TCNPEdit::Sex() const
{
    return CnpSex(text());
}

void TCNPEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    QChar typed;
    if (mods == Qt::NoModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            typed = QChar(u'0' + (key - Qt::Key_0)); // keypad digits arrive with the same key codes
        else if (key == Qt::Key_Backspace)
            typed = BackspaceKey;
        else if (key == Qt::Key_Delete)
            typed = DeleteKey;
    }
    if (!typed.isNull()) {
        NumericEdit e{text(), cursorPosition()};
        if (hasSelectedText()) {
            e.selectionStart = selectionStart();
            e.selectionLength = selectedText().size();
        }
        if (ApplyCnpKey(e, typed)) {
            setText(e.text);
            setCursorPosition(e.cursor);
            emit textEdited(text());
        }
        return;
    }
    // Moving the cursor, selecting, copying and the dialog's own keys still
    // work; nothing else reaches the text.
    const bool moves = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
    const bool copies = mods == Qt::ControlModifier && (key == Qt::Key_C || key == Qt::Key_A);
    if (moves || copies) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->ignore();
}

void TCNPEdit::inputMethodEvent(QInputMethodEvent *event)
{
    event->ignore();
}
