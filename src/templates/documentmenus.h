// The menus of the main window that reach templates and carried documents,
// as data: the blank forms of "Liste / Formulare", the template entries of
// "Modele de listare" and the law texts of "Legislatie".
//
// The main window turns them into menus and hands every chosen entry to
// TemplateActions::Run:
//
//     TemplateActions actions(prompter, askApplicants);
//     AddDocumentMenu(utilitare, TemplateModelsMenu(),
//                     [&](const DocumentMenuItem &item) { actions.Run(item); });
#pragma once

#include <QList>
#include <QString>

#include <functional>

class QMenu;

enum class DocumentAction {
    // A submenu: see children.
    Submenu,
    // Open the blank form of catalogue row `row`.
    OpenBlankForm,
    // Ask the number of applicants; one opens catalogue row `row`, more build
    // the form for several applicants from resource `argument`.
    OpenApplicantsForm,
    // "Editeaza Modelul": open the template of catalogue row `row`.
    EditTemplate,
    // "Refa Modelul initial": rewrite catalogue row `row`, called `argument`
    // in the question.
    RestoreTemplate,
    // Open the law text carried as resource `argument` of type "Lege".
    OpenLawText,
};

struct DocumentMenuItem {
    // Text of the menu entry.
    QString caption;
    // Entries of a submenu, in order.
    QList<DocumentMenuItem> children;
    DocumentAction action = DocumentAction::Submenu;
    // Catalogue row the action works on, 0 when none.
    int row = 0;
    // Resource or name the action needs (see DocumentAction).
    QString argument;
};

// The blank-form entries of "Liste / Formulare", in menu order.
QList<DocumentMenuItem> BlankFormsMenu();

// "Modele de listare": the procedure's stages, each document template with
// its "Editeaza Modelul" and "Refa Modelul initial".
DocumentMenuItem TemplateModelsMenu();

// "Legislatie": the five law texts, newest order first.
DocumentMenuItem LawTextsMenu();

// Adds `item` to `menu`: a submenu with its entries, or one action that calls
// `chosen` with the item when triggered.
void AddDocumentMenu(QMenu *menu, const DocumentMenuItem &item,
                     const std::function<void(const DocumentMenuItem &)> &chosen);
