// The upgrade of an older data folder replaces outdated templates through the
// catalogue: what it deleted is written again as the program carries it, the
// clerk's other templates stay as edited.
#include "templates/catalogue.h"
#include "templates/resources.h"

#include "platform/session.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "documentsupport.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using documents::readFile;
using documents::writeFile;

namespace {

TEST(UpgradeTemplates, OutdatedTemplatesAreWrittenAgain)
{
    testsupport::TempFolder program;
    resetSession(program.path());
    QDir().mkpath(session().dataFolder);
    const QString data = session().dataFolder;

    CreateTables();
    ASSERT_TRUE(ExtractTemplates());
    writeFile(data + "/Anexa_7PF.rtf", "{\\rtf1 edited decision}");
    writeFile(data + "/Anexa_5PF.rtf", "{\\rtf1 edited communication}");
    // A folder last opened by version 1.0008: the decision templates of that
    // time are outdated.
    WriteSettingNumber("SERVER", "Varianta3", 10008);

    UpgradeSchema([] { ExtractTemplates(); });

    EXPECT_EQ(readFile(data + "/Anexa_7PF.rtf"), ResourceData("Anexa7PF", kResourceTemplate));
    EXPECT_EQ(readFile(data + "/Anexa_5PF.rtf"), "{\\rtf1 edited communication}");
    for (const CatalogueEntry &entry : TemplateCatalogue())
        EXPECT_TRUE(QFileInfo::exists(data + "/" + entry.file)) << entry.file.toStdString();
    resetSession(QDir::tempPath());
}

} // namespace
