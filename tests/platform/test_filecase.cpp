#include "platform/filecase.h"
#include "testsupport.h"
#include "qtprint.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(FileCase, FindsAnEntryWhateverItsCase)
{
    testsupport::TempFolder dir;
    QFile f(dir.file("ARV2.SET"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(platform::findFileNoCase(dir.path(), "Arv2.set"), dir.file("ARV2.SET"));
    EXPECT_TRUE(platform::existsNoCase(dir.path(), "arv2.SET"));
    EXPECT_EQ(platform::resolvePathNoCase(dir.file("arv2.set")), dir.file("ARV2.SET"));
}

TEST(FileCase, MissingFileKeepsTheCallersSpelling)
{
    testsupport::TempFolder dir;
    EXPECT_EQ(platform::findFileNoCase(dir.path(), "Cereri.dbf"), dir.file("Cereri.dbf"));
    EXPECT_FALSE(platform::existsNoCase(dir.path(), "Cereri.dbf"));
}
