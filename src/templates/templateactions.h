// What the clerk does with templates and carried documents from the main
// window: open a blank form, build a form for several applicants, edit or
// restore a document template, read a law text.
//
// Works on the session's data and program folders, asks and reports through
// the Prompter, and learns the number of applicants from the function given
// (the main window passes its "Numar solicitanti" dialog; it returns 0 when
// the clerk gives up).
//
//     TSelectNrSol applicantsDialog(window);
//     TemplateActions actions(prompter, [&] {
//         return applicantsDialog.AskApplicantCount() ? applicantsDialog.applicants() : 0;
//     });
//     actions.Run(item);   // an entry of documentmenus.h
#pragma once

#include "templates/documentmenus.h"

#include <QString>

#include <functional>

class Prompter;

class TemplateActions {
public:
    TemplateActions(Prompter &prompter, std::function<int()> askApplicantCount);

    // Does what the menu entry stands for.
    void Run(const DocumentMenuItem &item);

    // Opens the blank form of catalogue row `row` in the data folder, writing
    // it first when it is missing. False when it could not be written.
    bool OpenBlankForm(int row);

    // Asks the number of applicants: one opens catalogue row `row`, two or
    // more build and open the form for them from resource `base`. False when
    // the clerk gave up or nothing could be opened.
    bool OpenApplicantsForm(int row, const QString &base);

    // Builds the form for `applicants` (2 to 6) applicants from resource
    // `base` ("Anexa_1M", "Anexa_2M", "Anexa2CM") and its fragments base + "1"
    // and base + "2", into program folder + "/" + base + "F" + n + ".rtf".
    // Returns the document's path, or empty when it could not be built.
    QString BuildApplicantsForm(const QString &base, int applicants);

    // "Editeaza Modelul": opens the template file; nothing when it is missing.
    void EditTemplate(int row);

    // "Refa Modelul initial": asks, then writes the template again from the
    // program. True when it was rewritten.
    bool RestoreTemplate(int row, const QString &name);

    // Writes the law text (resource of type "Lege") to a scratch PDF in the
    // program folder and opens it. False when it could not be written.
    bool OpenLawText(const QString &resource);

private:
    Prompter &prompter_;
    std::function<int()> askApplicantCount_;
};
