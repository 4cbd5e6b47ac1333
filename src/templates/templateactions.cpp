#include "templates/templateactions.h"

#include "platform/filehelpers.h"
#include "platform/filecase.h"
#include "platform/shellopen.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "templates/catalogue.h"
#include "templates/resources.h"
#include "templates/rtfreplace.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString CR = "\r";

QString templatePath(const CatalogueEntry &entry)
{
    return platform::findFileNoCase(session().dataFolder, entry.file);
}

// A carried RTF fragment with its lines joined, the way the form's line that
// receives it expects it.
QByteArray readFragment(const QString &resource)
{
    const QString scratch = TempFileName("TXT", ".txt");
    if (scratch.isEmpty() || !ExtractResource(resource, kResourceTemplate, scratch))
        return {};
    QFile file(scratch);
    QByteArray joined;
    if (file.open(QIODevice::ReadOnly))
        joined = file.readAll();
    file.remove();
    joined.replace("\r", "").replace("\n", "");
    return joined;
}

} // namespace

TemplateActions::TemplateActions(Prompter &prompter, std::function<int()> askApplicantCount)
    : prompter_(prompter), askApplicantCount_(std::move(askApplicantCount))
{
}

void TemplateActions::Run(const DocumentMenuItem &item)
{
    switch (item.action) {
    case DocumentAction::Submenu:
        break;
    case DocumentAction::OpenBlankForm:
        OpenBlankForm(item.row);
        break;
    case DocumentAction::OpenApplicantsForm:
        OpenApplicantsForm(item.row, item.argument);
        break;
    case DocumentAction::EditTemplate:
        EditTemplate(item.row);
        break;
    case DocumentAction::RestoreTemplate:
        RestoreTemplate(item.row, item.argument);
        break;
    case DocumentAction::OpenLawText:
        OpenLawText(item.argument);
        break;
    }
}

bool TemplateActions::OpenBlankForm(int row)
{
    const CatalogueEntry *entry = CatalogueRow(row);
    if (!entry)
        return false;
    QString path = templatePath(*entry);
    if (!QFileInfo::exists(path)) {
        // A blank form holds nothing of the clerk's: a lost one is simply
        // written again.
        QString error;
        if (!ExtractResource(entry->resource, kResourceTemplate, path, &error)) {
            prompter_.Mesaj("Initializare " + entry->resource, CR + error, ButtonOk, KindError);
            return false;
        }
    }
    TRTFReplace rtf;
    rtf.RTFDest = path;
    rtf.OpenDocument();
    return true;
}

bool TemplateActions::OpenApplicantsForm(int row, const QString &base)
{
    const int applicants = askApplicantCount_ ? askApplicantCount_() : 0;
    if (applicants < 1)
        return false;
    if (applicants == 1)
        return OpenBlankForm(row);
    const QString document = BuildApplicantsForm(base, applicants);
    if (document.isEmpty())
        return false;
    TRTFReplace rtf;
    rtf.RTFDest = document;
    rtf.OpenDocument();
    return true;
}

QString TemplateActions::BuildApplicantsForm(const QString &base, int applicants)
{
    TRTFReplace rtf;
    rtf.RTFSursa = TempFileName(base, ".rtf");
    if (rtf.RTFSursa.isEmpty() || !ExtractResource(base, kResourceTemplate, rtf.RTFSursa))
        return {};
    if (!rtf.ChooseDest(session().programFolder + "/" + base + "F")) {
        QFile::remove(rtf.RTFSursa);
        return {};
    }
    bool built = rtf.BeginDocument();
    if (built) {
        for (int j = 1; j <= 2; ++j) {
            const QString marker = "[" + QString::number(j) + "]";
            if (applicants == 2) {
                rtf.AddField(marker, " ");
                continue;
            }
            const QByteArray fragment = readFragment(base + QString::number(j));
            for (int copy = 0; copy < applicants - 2; ++copy)
                rtf.AddRawField(marker, fragment);
        }
        rtf.WriteBody(1);
        built = rtf.EndDocument();
    }
    // The template was just written from the program, so what failed is the
    // writing of the form: the clerk learns why instead of getting half a form.
    if (!built)
        prompter_.Mesaj("Listare Act", CR + rtf.errorString(), ButtonOk, KindError);
    QFile::remove(rtf.RTFSursa);
    return built ? rtf.RTFDest : QString();
}

void TemplateActions::EditTemplate(int row)
{
    const CatalogueEntry *entry = CatalogueRow(row);
    if (!entry)
        return;
    TRTFReplace rtf;
    rtf.RTFDest = templatePath(*entry);
    rtf.OpenDocument();
}

bool TemplateActions::RestoreTemplate(int row, const QString &name)
{
    const CatalogueEntry *entry = CatalogueRow(row);
    if (!entry)
        return false;
    if (prompter_.Mesaj("Refacere model",
                        "Doriti readucerea " + name + " la forma initiala?" + CR + "( Acesta trebuie sa fie inchis! )",
                        ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return false;
    const QString path = templatePath(*entry);
    if (QFileInfo::exists(path) && IsFileHeldOpen(path)) {
        prompter_.Mesaj("Initializare " + entry->resource,
                        CR + "Fisierul " + path + " este deschis!" + CR + "Inchideti-l si reincercati!", ButtonOk,
                        KindError);
        return false;
    }
    QString error;
    if (!ExtractResource(entry->resource, kResourceTemplate, path, &error)) {
        prompter_.Mesaj("Initializare " + entry->resource, CR + error, ButtonOk, KindError);
        return false;
    }
    prompter_.Mesaj("Refacere Model", CR + "Modelul " + name + " a fost refacut!", ButtonOk, KindInformation);
    return true;
}

bool TemplateActions::OpenLawText(const QString &resource)
{
    const QString path = TempFileName("Lege", ".pdf");
    QString error;
    if (path.isEmpty() || !ExtractResource(resource, kResourceLawText, path, &error)) {
        prompter_.Mesaj("Legislatie", CR + (error.isEmpty() ? "Nu pot scrie fisierul!" : error), ButtonOk,
                        KindError);
        return false;
    }
    return platform::openWithAssociatedProgram(path);
}
