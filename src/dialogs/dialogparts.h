// The pieces the entry dialogs are built from, so that every dialog looks and
// types alike: fields that keep their letter case and limit, numeric and date
// fields, the yellow of required fields, the header band with the dialog's
// bold title and the footer with "&Memoreaza" and "&Renunt".
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Prompter;
class QComboBox;
class QDateEdit;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class QHBoxLayout;
class TNumericF;

namespace dialogparts {

enum class LetterCase { AsTyped, Upper, Lower };

// Letters take the field's case as they are typed; the cursor stays put.
void KeepCase(QLineEdit *edit, LetterCase letterCase);

// A one-line text field of at most `maxLength` characters, wide enough to
// show `visibleChars` of them (0: as Qt sizes it).
QLineEdit *TextField(QWidget *parent, const char *name, int maxLength, LetterCase letterCase,
                     int visibleChars = 0);

// A drop-down list; editable lists keep `maxLength` and the letter case.
QComboBox *ListField(QWidget *parent, const char *name, const QStringList &items, bool editable,
                     int maxLength = 0, LetterCase letterCase = LetterCase::AsTyped);

// A numeric field with `maxLength` characters at most.
TNumericF *NumberField(QWidget *parent, const char *name, int maskInt, int maskZec, int maxLength);

// A date picker showing "dd.MM.yyyy", with a calendar, from 30.12.1899.
QDateEdit *DateField(QWidget *parent, const char *name);

// Makes `widget` at least wide enough for `chars` typical characters.
void WidthForChars(QWidget *widget, int chars);

// A label; bold when asked.
QLabel *Label(const QString &text, QWidget *parent, bool bold = false);

// The colour of the fields that must be filled (red 237, green 236, blue 197).
QColor RequiredColour();
// Paints a field yellow, or gives it the normal field colour back.
void MarkRequired(QWidget *field, bool required);

// The band at the top of a dialog holding its bold title; the title label is
// returned through `title`.
QWidget *HeaderBand(QWidget *parent, QLabel **title);

// "&Memoreaza" (or `saveCaption`) and "&Renunt" at the right of a footer row;
// neither is pressed by Enter.
QHBoxLayout *FooterButtons(QWidget *parent, QPushButton **save, QPushButton **cancel,
                           const QString &saveCaption = QStringLiteral("&Memoreaza"));

// Tab (and so Enter) order through `widgets`, in this order.
void ChainTabOrder(const QList<QWidget *> &widgets);

// The prompter a dialog talks through: `given`, or the program's own.
Prompter &PrompterOr(Prompter *given);

// Runs a step that reads or writes the tables or the settings; a failure is
// shown with its own message (kind "Eroare") and the dialog stays as it is.
// Returns whether the step ran to its end.
bool RunReported(Prompter &prompter, const std::function<void()> &step);

} // namespace dialogparts
