// The start-up's Prompter: questions and balloons go to the program's own
// Prompter, progress to the start window's progress bar (the description,
// when given, to its status line).
#pragma once

#include "platform/prompter.h"

class TForm1;

class StartWindowPrompter : public Prompter {
public:
    StartWindowPrompter(Prompter &messages, TForm1 &startWindow);

    int Mesaj(const QString &title, const QString &text, int buttons, int kind) override;
    void ShowProblem(const QString &text, QWidget *control) override;
    void ShowIndication(const QString &text, QWidget *control) override;
    // The bar starts again at 0 of `maximum`.
    void ProgressBegin(const QString &description, int maximum) override;
    void ProgressStep() override;
    // The bar stays as it is until the start window goes.
    void ProgressEnd() override;

private:
    Prompter &messages_;
    TForm1 &startWindow_;
};
