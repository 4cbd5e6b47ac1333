#include "ui/qtprompter.h"

#include "ui/tballoon.h"
#include "ui/terori.h"
#include "ui/tcontor.h"

int QtPrompter::Mesaj(const QString &title, const QString &text, int buttons, int kind)
{
    return ::Mesaj(title, text, buttons, kind);
}

void QtPrompter::ShowProblem(const QString &text, QWidget *control)
{
    ::ShowProblem(text, control);
}

void QtPrompter::ShowIndication(const QString &text, QWidget *control)
{
    ::ShowIndication(text, control);
}

void QtPrompter::ProgressBegin(const QString &description, int maximum)
{
    TContor *c = progressWindow();
    c->setDescription(description);
    c->setMaximum(maximum);
    c->ProgressBegin();
}

void QtPrompter::ProgressStep()
{
    progressWindow()->ProgressStep();
}

void QtPrompter::ProgressEnd()
{
    progressWindow()->ProgressEnd();
}

QtPrompter &qtPrompter()
{
    static QtPrompter instance;
    return instance;
}
