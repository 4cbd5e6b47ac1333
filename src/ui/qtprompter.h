// The Prompter of the running program: the message dialog, the balloons and
// the progress window of this process.
#pragma once

#include "platform/prompter.h"

class QtPrompter : public Prompter {
public:
    int Mesaj(const QString &title, const QString &text, int buttons, int kind) override;
    void ShowProblem(const QString &text, QWidget *control) override;
    void ShowIndication(const QString &text, QWidget *control) override;
    void ProgressBegin(const QString &description, int maximum) override;
    void ProgressStep() override;
    void ProgressEnd() override;
};

// The one QtPrompter of the process.
QtPrompter &qtPrompter();
