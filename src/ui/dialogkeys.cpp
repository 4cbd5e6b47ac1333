#include "ui/dialogkeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace {

const char *const keysProperty = "arvenaDialogKeys";
// On a field: the button Enter presses there.
const char *const enterButtonProperty = "arvenaEnterPresses";

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A button Enter presses when it has the focus: check boxes and radio
// buttons are fields, and Enter moves on from them.
QAbstractButton *pressableButton(QWidget *w)
{
    auto *button = qobject_cast<QAbstractButton *>(w);
    if (!button || qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w))
        return nullptr;
    return button;
}

// Key events reach the focused field first; one filter on the application
// sees them before the field or the dialog's default button can act.
class DialogKeysFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        // Handled once, where the key first arrives: at the focused field, or
        // at the window when nothing in it has the focus.
        QWidget *focus = QApplication::focusWidget();
        if (focus ? widget != focus : widget != widget->window())
            return false;
        QWidget *window = widget->window();
        const QVariant adopted = window->property(keysProperty);
        if (!adopted.isValid())
            return false;
        const DialogKeys keys = DialogKeys::fromInt(adopted.toInt());
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods != Qt::NoModifier)
            return false;
        if (isEnter(key)) {
            if (QAbstractButton *button = buttonForEnter(widget))
                return press(button);
            if (keys.testFlag(DialogKey::EnterMovesNext))
                return moveToNextField(widget);
            return false;
        }
        if (key->key() == Qt::Key_Escape && keys.testFlag(DialogKey::EscCloses))
            return closeWindow(window);
        return false;
    }

private:
    // The button Enter presses at `w`: the one the field names, or the
    // focused button itself.
    static QAbstractButton *buttonForEnter(QWidget *w)
    {
        if (auto *named = qobject_cast<QAbstractButton *>(w->property(enterButtonProperty).value<QObject *>()))
            return named;
        return pressableButton(w);
    }

    static bool press(QAbstractButton *button)
    {
        if (button->isEnabled() && button->isVisible())
            button->click();
        return true;
    }

    static bool enterHasOwnMeaning(QWidget *w)
    {
        return qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
    }

    // The next field is the one Tab would reach, so the dialog's tab order
    // (and Qt's handling of composite fields) holds for Enter as well.
    static bool moveToNextField(QWidget *focused)
    {
        if (enterHasOwnMeaning(focused))
            return false;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(focused, &tab);
        return true;
    }

    static bool closeWindow(QWidget *window)
    {
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        else
            window->close();
        return true;
    }
};

} // namespace

void AdoptDialogKeys(QWidget *window, DialogKeys keys)
{
    static DialogKeysFilter *filter = nullptr;
    if (!filter) {
        filter = new DialogKeysFilter(qApp);
        qApp->installEventFilter(filter);
    }
    window->setProperty(keysProperty, keys.toInt());
}

void EnterPresses(QWidget *field, QAbstractButton *button)
{
    field->setProperty(enterButtonProperty, QVariant::fromValue<QObject *>(button));
}
