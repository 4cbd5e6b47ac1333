#include "app/startwindowprompter.h"

#include "ui/tform1.h"

#include <QProgressBar>

StartWindowPrompter::StartWindowPrompter(Prompter &messages, TForm1 &startWindow)
    : messages_(messages), startWindow_(startWindow)
{
}

int StartWindowPrompter::Mesaj(const QString &title, const QString &text, int buttons, int kind)
{
    return messages_.Mesaj(title, text, buttons, kind);
}

void StartWindowPrompter::ShowProblem(const QString &text, QWidget *control)
{
    messages_.ShowProblem(text, control);
}

void StartWindowPrompter::ShowIndication(const QString &text, QWidget *control)
{
    messages_.ShowIndication(text, control);
}

void StartWindowPrompter::ProgressBegin(const QString &description, int maximum)
{
    if (!description.isEmpty())
        startWindow_.setStatus(description);
    startWindow_.progressBar()->setMaximum(maximum);
    startWindow_.progressBar()->setValue(0);
}

void StartWindowPrompter::ProgressStep()
{
    QProgressBar *bar = startWindow_.progressBar();
    bar->setValue(bar->value() + 1);
}

void StartWindowPrompter::ProgressEnd() {}
