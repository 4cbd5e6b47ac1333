// Table layouts, creation, upgrade and packing of a data folder.
#include "platform/session.h"
#include "datastore/schema.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Schema, CreateStatementListsTheFieldsOnePerLine)
{
    EXPECT_EQ(CreateTableStatement("LOG.DBF", "/data/Log.dbf"),
              "CREATE TABLE \"/data/Log.dbf\"\n"
              "(IDLOG      DECIMAL(10,0),\n"
              "DATAL      DATE,\n"
              "ORA        CHAR(12),\n"
              "ACTIUNE    CHAR(120),\n"
              "UTILIZATOR CHAR(16))");
    EXPECT_EQ(CreateTableStatement("Other.dbf", "/data/Other.dbf"), "");
}

TEST(Schema, UpgradeStepsFollowTheStoredVersion)
{
    const struct {
        qint64 version;
        bool a, b, c, d, e, f;
    } cases[] = {
        {0, true, true, true, true, true, true},         {10000, true, true, true, true, true, true},
        {10001, false, true, true, true, true, true},    {10008, false, true, true, true, true, true},
        {10009, false, false, true, true, true, true},   {10012, false, false, false, true, true, true},
        {10021, false, false, false, false, true, true}, {10025, false, false, false, false, false, true},
        {10027, false, false, false, false, false, false}, {10034, false, false, false, false, false, false},
    };
    for (const auto &c : cases) {
        const UpgradePlan p = PlanUpgrade(c.version);
        EXPECT_EQ(p.addShare, c.a) << c.version;
        EXPECT_EQ(p.annex7Templates, c.b) << c.version;
        EXPECT_EQ(p.shareAsFraction, c.c) << c.version;
        EXPECT_EQ(p.requestTemplates, c.d) << c.version;
        EXPECT_EQ(p.annex2Templates, c.e) << c.version;
        EXPECT_EQ(p.finalReportTemplate, c.f) << c.version;
    }
}

} // namespace
