#include "dialogs/tnumericf.h"

#include "dialogs/numericrules.h"
#include "platform/sound.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace {

// The cursor, selection and text of a field for the rules, and back.
NumericEdit editOf(const QLineEdit *field)
{
    NumericEdit e{field->text(), field->cursorPosition()};
    if (field->hasSelectedText()) {
        e.selectionStart = field->selectionStart();
        e.selectionLength = field->selectedText().size();
    }
    return e;
}

void showEdit(QLineEdit *field, const NumericEdit &e)
{
    field->setText(e.text);
    if (e.selectionStart >= 0 && e.selectionLength > 0)
        field->setSelection(e.selectionStart, e.selectionLength);
    else
        field->setCursorPosition(e.cursor);
}

} // namespace

TNumericF::TNumericF(int maskInt, int maskZec, QWidget *parent)
    : QLineEdit(parent)
    , maskInt_(maskInt)
    , maskZec_(maskZec)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setText(QStringLiteral("0"));
}

double TNumericF::value() const
{
    return NumericValue(text());
}

void TNumericF::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    // Moving about, leaving the field and the dialog's own keys go their way.
    if (mods != Qt::NoModifier || key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return
        || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Left || key == Qt::Key_Right
        || key == Qt::Key_Home || key == Qt::Key_End) {
        if (mods == Qt::ControlModifier && (key == Qt::Key_V || key == Qt::Key_X || key == Qt::Key_Z || key == Qt::Key_Y))
            return; // pasting, cutting and undo would bypass the limits
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Delete)
        return;
    QChar typed;
    if (key == Qt::Key_Backspace)
        typed = BackspaceKey;
    else if (event->text().size() == 1)
        typed = event->text().at(0);
    NumericEdit e = editOf(this);
    if (typed.isNull() || !ApplyNumericKey(e, typed, maskInt_, maskZec_)) {
        if (!event->text().isEmpty() || key == Qt::Key_Backspace)
            platform::beep();
        return;
    }
    showEdit(this, e);
    emit textEdited(text());
}

void TNumericF::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // After the base class has placed the cursor for a mouse click.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
    selectAll();
}

void TNumericF::inputMethodEvent(QInputMethodEvent *event)
{
    event->ignore();
}
