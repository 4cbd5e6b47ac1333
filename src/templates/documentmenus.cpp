#include "templates/documentmenus.h"

#include <QMenu>

namespace {

DocumentMenuItem submenu(const QString &caption, const QList<DocumentMenuItem> &children)
{
    return {caption, children, DocumentAction::Submenu, 0, {}};
}

DocumentMenuItem blankForm(const QString &caption, int row)
{
    return {caption, {}, DocumentAction::OpenBlankForm, row, {}};
}

DocumentMenuItem applicantsForm(const QString &caption, int row, const QString &base)
{
    return {caption, {}, DocumentAction::OpenApplicantsForm, row, base};
}

DocumentMenuItem naturalAndLegal(const QString &caption, const DocumentMenuItem &natural, int legalRow)
{
    DocumentMenuItem fizica = natural;
    fizica.caption = "Persoana Fizica";
    return submenu(caption, {fizica, blankForm("Persoana Juridica", legalRow)});
}

// One document template: its caption in the menu, its catalogue row, and the
// name the restore question uses.
DocumentMenuItem model(const QString &caption, int row, const QString &name)
{
    return submenu(caption, {{"Editeaza Modelul", {}, DocumentAction::EditTemplate, row, {}},
                             {"Refa Modelul initial", {}, DocumentAction::RestoreTemplate, row, name}});
}

DocumentMenuItem model(const QString &name, int row)
{
    return model(name, row, name);
}

DocumentMenuItem lawText(const QString &caption, const QString &resource)
{
    return {caption, {}, DocumentAction::OpenLawText, 0, resource};
}

} // namespace

QList<DocumentMenuItem> BlankFormsMenu()
{
    return {
        naturalAndLegal("Anexa 1 - Cerere de afisare", applicantsForm({}, 1, "Anexa_1M"), 2),
        naturalAndLegal("Anexa 2 - Oferta vanzare", applicantsForm({}, 3, "Anexa_2M"), 4),
        naturalAndLegal("Anexa 5 - Comunicare de acceptare", blankForm({}, 11), 12),
        naturalAndLegal("Anexa 6 - Cerere pentru inregistrarea Ofertei de cumparare", blankForm({}, 15), 16),
        naturalAndLegal("Anexa 7 - Decizia de Alegere Preemptor/Cumparator", blankForm({}, 18), 20),
        naturalAndLegal("Cerere aviz M.A.N.", applicantsForm({}, 21, "Anexa2CM"), 22),
        blankForm("Cerere de Retragere Oferta de Vanzare", 42),
    };
}

DocumentMenuItem TemplateModelsMenu()
{
    return submenu(
        "Modele de listare",
        {
            submenu("Incepere procedura",
                    {model("Cerere si Oferta persoana fizica", 29), model("Cerere si Oferta persoana juridica", 30),
                     model("Lista preemptorilor", 23), model("Notificare Preemptor", 8),
                     model("PV Afisare oferta", 5), model("Adresa de inaintare DAJ", 6),
                     model("Adresa de inaintare ADS", 7)}),
            submenu("Etapa I - Comunicari de acceptare",
                    {model("Comunicare de acceptare PF", 9), model("Comunicare de acceptare PJ", 10),
                     model("PV Afisare comunicare", 24), model("Adresa Comunicare", 25)}),
            submenu("Etapa I - Finalizare",
                    {model("P.V.Final.cu Comunicare", 34), model("Adresa Final.cu Comunicare", 35),
                     model("Decizie Alegere Preemptor - PF", 17), model("Decizie Alegere Preemptor - PJ", 19),
                     model("P.V.Final.Fara Comunicare - Anexa 13", 36), model("Adresa Final.Fara Comunicare", 37),
                     model("Finalizare Etapa I Fara Comunicare - P.V.", 33,
                           "P.V.Incheiere Etapa I Fara Comunicare - Anexa 11")}),
            submenu("Etapa II - Potentiali Cumparatori",
                    {model("Cerere pt.inreg.Of.Cumparare PF", 13), model("Cerere pt.inreg.Of.Cumparare PJ", 14),
                     model("P.V. Ofertant", 38), model("Adresa Ofertant", 39)}),
            submenu("Etapa II - Finalizare",
                    {model("P.V. Finalizare cu Cumparator", 40), model("Adresa Finalizare cu Cumparator", 41),
                     model("Decizie Alegere Cumparator - PF", 17), model("Decizie Alegere Cumparator - PJ", 19)}),
            submenu("Anularea Procedurii",
                    {model("Cerere Anulare procedura", 43), model("P.V. Anulare procedura", 31),
                     model("Adresa Anulare procedura", 32)}),
            submenu("Adresa Sit arheologic",
                    {model("Un vanzator", 26, "Adresa Sit arheologic"),
                     model("Mai multi vanzatori", 27, "Adresa Sit arheologic"),
                     model("Persoana juridica", 28, "Adresa Sit arheologic")}),
        });
}

DocumentMenuItem LawTextsMenu()
{
    return submenu("Legislatie", {
                                     lawText("Ordinul nr. 266 / 2022", "P5"),
                                     lawText("Legea 17/2014 - actualizata cu Legea 175/2020", "P1"),
                                     lawText("Ordinul 719/2014 actualizat cu OAP 311/2020", "P2"),
                                     lawText("Ordinul 311/2020", "P3"),
                                     lawText("Ordinul nr. 719/740/M.57/2.333/2014 - Norme", "P4"),
                                 });
}

void AddDocumentMenu(QMenu *menu, const DocumentMenuItem &item,
                     const std::function<void(const DocumentMenuItem &)> &chosen)
{
    if (item.action != DocumentAction::Submenu) {
        QAction *action = menu->addAction(item.caption);
        QObject::connect(action, &QAction::triggered, menu, [item, chosen] { chosen(item); });
        return;
    }
    QMenu *sub = menu->addMenu(item.caption);
    for (const DocumentMenuItem &child : item.children)
        AddDocumentMenu(sub, child, chosen);
}
