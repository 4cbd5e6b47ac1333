#include "templates/catalogue.h"

#include "platform/filehelpers.h"
#include "platform/filecase.h"
#include "platform/session.h"
#include "templates/resources.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr TemplateRole Form = TemplateRole::BlankForm;
constexpr TemplateRole Doc = TemplateRole::Document;

// The row after which the obsolete legal-person form is removed: it was
// replaced by "ANEXA_2DPJ.rtf", written next.
constexpr int kRowBeforeObsoleteRemoval = 20;

bool writeMissing(const QString &folder, const QString &file, const QString &resource, const QString &type,
                  QStringList *failures)
{
    if (platform::existsNoCase(folder, file))
        return true;
    QString why;
    if (ExtractResource(resource, type, folder + "/" + file, &why))
        return true;
    failures->append(why);
    return false;
}

} // namespace

const QList<CatalogueEntry> &TemplateCatalogue()
{
    static const QList<CatalogueEntry> rows = {
        {1, "Anexa_1.rtf", "Anexa1", Form},
        {2, "Anexa_1PJ.rtf", "Anexa1PJ", Form},
        {3, "Anexa_2.rtf", "Anexa2", Form},
        {4, "Anexa_2PJ.rtf", "Anexa2PJ", Form},
        {5, "Anexa_9.rtf", "Anexa_9", Doc},
        {6, "AdresaDAJ.rtf", "AdresaDAJ", Doc},
        {7, "AdresaADS.rtf", "AdresaADS", Doc},
        {8, "Anexa_4.rtf", "Anexa4", Doc},
        {9, "Anexa_5PF.rtf", "Anexa5PFM", Doc},
        {10, "Anexa_5PJ.rtf", "Anexa5PJM", Doc},
        {11, "Anexa_5PFModel.rtf", "Anexa5PF", Form},
        {12, "Anexa_5PJModel.rtf", "Anexa5PJ", Form},
        {13, "Anexa_6PF.rtf", "Anexa6PF", Doc},
        {14, "Anexa_6PJ.rtf", "Anexa6PJ", Doc},
        {15, "Anexa_6PFModel.rtf", "Anexa6PFM", Form},
        {16, "Anexa_6PJModel.rtf", "Anexa6PJM", Form},
        {17, "Anexa_7PF.rtf", "Anexa7PF", Doc},
        {18, "Anexa_7PFModel.rtf", "Anexa7PFM", Form},
        {19, "Anexa_7PJ.rtf", "Anexa7PJ", Doc},
        {20, "Anexa_7PJModel.rtf", "Anexa7PJM", Form},
        {21, "ANEXA_2CPF.rtf", "Anexa2C", Form},
        {22, "ANEXA_2DPJ.rtf", "Anexa2D", Form},
        {23, "Anexa_3.rtf", "Anexa3", Doc},
        {24, "PVComun.rtf", "PVComun", Doc},
        {25, "AdresaCom.rtf", "AdresaCom", Doc},
        {26, "A3A_AdrSit.rtf", "A3A_AdrSit", Doc},
        {27, "A3A_AdrSitM.rtf", "A3A_AdrSitM", Doc},
        {28, "A3A_AdrSitJ.rtf", "A3A_AdrSitJ", Doc},
        {29, "CeresiOfertaPF3.rtf", "COFPF", Doc},
        {30, "CeresiOfertaPJ3.rtf", "CeresiOfertaPJ", Doc},
        {31, "Anexa_12.rtf", "Anexa12", Doc},
        {32, "AdresaAnulare.rtf", "AdresaAnulare", Doc},
        {33, "Anexa_11.rtf", "Anexa11", Doc},
        {34, "PVFinalCom.rtf", "PVFinalCom", Doc},
        {35, "AdresaFinalCom.rtf", "AdresaFinalCom", Doc},
        {36, "Anexa_13.rtf", "Anexa13", Doc},
        {37, "AdresaFinalFaraCom.rtf", "AdresaFinalFaraCom", Doc},
        {38, "PVOfertant.rtf", "PVOfertant", Doc},
        {39, "AdresaOfertant.rtf", "AdresaOfertant", Doc},
        {40, "PVFinalOf.rtf", "PVFinalOf", Doc},
        {41, "AdresaFinalOf.rtf", "AdresaFinalOf", Doc},
        {42, "CerereAnulOfModel.rtf", "CerereAnulOfModel", Form},
        {43, "CerereAnulOf.rtf", "CerereAnulOf", Doc},
    };
    return rows;
}

const CatalogueEntry *CatalogueRow(int row)
{
    const QList<CatalogueEntry> &rows = TemplateCatalogue();
    return row >= 1 && row <= rows.size() ? &rows.at(row - 1) : nullptr;
}

QStringList WorkTemplateResources()
{
    return {"Anexa_1M", "Anexa_1M1", "Anexa_1M2", "Anexa_2M",    "Anexa_2M1", "Anexa_2M2",
            "Anexa2CM", "Anexa2CM1", "Anexa2CM2", "RapExpirate", "COPFM1"};
}

QStringList AllTemplateResources()
{
    QStringList names;
    for (const CatalogueEntry &entry : TemplateCatalogue())
        names.append(entry.resource);
    return names + WorkTemplateResources();
}

bool ExtractTemplates(const QString &dataFolder, const QString &programFolder, QString *error)
{
    QStringList failures;
    writeMissing(programFolder, kBackupIconFile, "ICO", kResourcePicture, &failures);
    for (const CatalogueEntry &entry : TemplateCatalogue()) {
        writeMissing(dataFolder, entry.file, entry.resource, kResourceTemplate, &failures);
        if (entry.row == kRowBeforeObsoleteRemoval) {
            const QString obsolete = platform::findFileNoCase(dataFolder, kObsoleteTemplate);
            if (QFileInfo::exists(obsolete) && !IsFileHeldOpen(obsolete))
                QFile::remove(obsolete);
        }
    }
    if (error)
        *error = failures.join('\n');
    return failures.isEmpty();
}

bool ExtractTemplates(QString *error)
{
    return ExtractTemplates(session().dataFolder, session().programFolder, error);
}
