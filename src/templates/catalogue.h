// The catalogue of document templates, and keeping their files in the data
// folder.
//
// Each template is carried by the program and written into the data folder,
// where the clerk may edit it; an existing file, edited or not, is never
// overwritten except on the clerk's request or by an upgrade that replaces
// an outdated layout.
//
//     ExtractTemplates();   // into session().dataFolder and programFolder
//     const CatalogueEntry *row = CatalogueRow(8);   // "Anexa_4.rtf"
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

enum class TemplateRole {
    // Opened as it is from "Liste / Formulare" and filled in by hand.
    BlankForm,
    // Filled by the program when a document is produced.
    Document,
};

struct CatalogueEntry {
    // Position in the catalogue, from 1; the order in which files are written.
    int row;
    // File name in the data folder.
    QString file;
    // Carried resource of type "MODEL" the file is written from.
    QString resource;
    TemplateRole role;
};

// The 43 templates in catalogue order.
const QList<CatalogueEntry> &TemplateCatalogue();

// The entry of catalogue row `row` (1 … 43), or null.
const CatalogueEntry *CatalogueRow(int row);

// Resources of type "MODEL" used without a file of their own in the data
// folder: the forms for several applicants and their two fragments, the
// expired-terms report and the extra seller block of the request form.
QStringList WorkTemplateResources();

// Every template resource the program carries: the catalogue's and the
// work templates'.
QStringList AllTemplateResources();

// The obsolete template file removed from the data folder when found.
inline constexpr char kObsoleteTemplate[] = "Anexa2D.rtf";

// Name of the backup file type's icon in the program folder.
inline constexpr char kBackupIconFile[] = "ico1.ico";

// Writes what is missing: the backup icon into `programFolder`, then each
// catalogue template whose file is not in `dataFolder` (names compared
// without regard to case), removing the obsolete "Anexa2D.rtf" on the way.
// Returns false when some file could not be written; `error`, when given,
// then names them.
bool ExtractTemplates(const QString &dataFolder, const QString &programFolder, QString *error = nullptr);

// The same for the session's data and program folders: the start-up step,
// and what the upgrade of an older data folder calls after deleting the
// outdated templates.
bool ExtractTemplates(QString *error = nullptr);
