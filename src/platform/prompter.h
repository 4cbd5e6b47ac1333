// The questions and notices an operation may need from the clerk.
//
// Operations (add a request, pack a backup, build a document) live outside
// windows and talk to the clerk only through this interface: the program uses
// the Qt implementation (message dialog, balloons, progress window), headless
// tests a scripted one that answers in turn and records what was asked.
#pragma once

#include <QString>

class QWidget;

// Result codes of Mesaj, as the callers compare them.
enum MessageResult : int { ResultOk = 1, ResultCancel = 2, ResultYes = 6, ResultNo = 7 };

// Button bits of Mesaj.
enum MessageButtons : int { ButtonDa = 1, ButtonNu = 2, ButtonOk = 4, ButtonRenunt = 8 };

// Kinds of Mesaj; any value other than 0, 2, 3 is an error.
enum MessageKind : int { KindWarning = 0, KindError = 1, KindInformation = 2, KindConfirmation = 3 };

class Prompter {
public:
    virtual ~Prompter() = default;

    // The message dialog: returns the result code of the pressed button, 2 for Esc,
    // the close box, or a mask that selects no button.
    virtual int Mesaj(const QString &title, const QString &text, int buttons, int kind) = 0;

    // A "Problema !" balloon at a field; `control` may be null in headless use.
    virtual void ShowProblem(const QString &text, QWidget *control) = 0;

    // An "Indicatie" balloon at a button.
    virtual void ShowIndication(const QString &text, QWidget *control) = 0;

    // Progress of a long operation: a description and a maximum, then steps.
    virtual void ProgressBegin(const QString &description, int maximum) = 0;
    virtual void ProgressStep() = 0;
    virtual void ProgressEnd() = 0;
};
