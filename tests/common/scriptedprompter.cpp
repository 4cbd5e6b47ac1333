#include "scriptedprompter.h"

#include <QWidget>

namespace {

int singleButtonResult(int buttons)
{
    switch (buttons & (ButtonDa | ButtonNu | ButtonOk | ButtonRenunt)) {
    case ButtonDa:
        return ResultYes;
    case ButtonNu:
        return ResultNo;
    case ButtonOk:
        return ResultOk;
    case ButtonRenunt:
        return ResultCancel;
    default:
        return 0;
    }
}

} // namespace

void ScriptedPrompter::answer(int result)
{
    answers_.append(result);
}

void ScriptedPrompter::answer(std::initializer_list<int> results)
{
    for (int r : results)
        answers_.append(r);
}

int ScriptedPrompter::Mesaj(const QString &title, const QString &text, int buttons, int kind)
{
    if ((buttons & (ButtonDa | ButtonNu | ButtonOk | ButtonRenunt)) == 0)
        return ResultCancel;
    int result = singleButtonResult(buttons);
    if (result == 0)
        result = answers_.isEmpty() ? int(ResultCancel) : answers_.takeFirst();
    questions.append({title, text, buttons, kind, result});
    calls.append("Mesaj " + title + ": " + text);
    return result;
}

void ScriptedPrompter::ShowProblem(const QString &text, QWidget *control)
{
    balloons.append({true, text, control ? control->objectName() : QString()});
    calls.append("ShowProblem " + text);
}

void ScriptedPrompter::ShowIndication(const QString &text, QWidget *control)
{
    balloons.append({false, text, control ? control->objectName() : QString()});
    calls.append("ShowIndication " + text);
}

void ScriptedPrompter::ProgressBegin(const QString &description, int maximum)
{
    progressPosition = 0;
    progressMaximum = maximum;
    const QString call = "begin " + description + " " + QString::number(maximum);
    progress.append(call);
    calls.append(call);
}

void ScriptedPrompter::ProgressStep()
{
    if (progressPosition < progressMaximum)
        ++progressPosition;
    progress.append("step");
    calls.append("step");
}

void ScriptedPrompter::ProgressEnd()
{
    progress.append("end");
    calls.append("end");
}
