// A Prompter for headless tests: questions are answered from a queue, in
// order, and every question, balloon and progress call is recorded.
//
//   ScriptedPrompter prompter;
//   prompter.answer(ResultYes);                 // the first question gets "Da"
//   DeleteRequest(id, prompter);
//   ASSERT_EQ(prompter.questions.size(), 1);
//   EXPECT_EQ(prompter.questions[0].text, "Stergeti cererea?");
//
// A message with a single button (a notice with OK) is answered with that
// button and leaves the queue alone; a question with two or more buttons takes
// the next queued answer, or 2 (as Esc would) when the queue is empty. A mask
// with no button shows nothing, is not recorded and gives 2, as the dialog does.
#pragma once

#include "platform/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

class ScriptedPrompter : public Prompter {
public:
    struct Question {
        QString title;
        QString text;
        int buttons = 0;
        int kind = 0;
        // What this prompter answered.
        int answer = 0;
    };
    struct Balloon {
        // True for "Problema !", false for "Indicatie".
        bool problem = false;
        QString text;
        // objectName of the control, empty when none was given.
        QString control;
    };

    // Queues answers for the coming questions.
    void answer(int result);
    void answer(std::initializer_list<int> results);
    // Answers still queued.
    int pendingAnswers() const { return int(answers_.size()); }

    int Mesaj(const QString &title, const QString &text, int buttons, int kind) override;
    void ShowProblem(const QString &text, QWidget *control) override;
    void ShowIndication(const QString &text, QWidget *control) override;
    void ProgressBegin(const QString &description, int maximum) override;
    void ProgressStep() override;
    void ProgressEnd() override;

    // Every message shown, in order.
    QList<Question> questions;
    // Every balloon, in order.
    QList<Balloon> balloons;
    // Progress calls in order: "begin <description> <maximum>", "step", "end".
    QStringList progress;
    // Everything above in one sequence: "Mesaj <title>: <text>",
    // "ShowProblem <text>", "ShowIndication <text>", and the progress calls.
    QStringList calls;
    // The progress position as the real window would show it.
    int progressPosition = 0;
    int progressMaximum = 0;

private:
    QList<int> answers_;
};
