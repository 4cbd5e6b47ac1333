// Next-number counters: values, defaults, and the race between workstations.
#include "platform/session.h"
#include "datastore/counters.h"
#include "datastore/settings.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSet>

#include <memory>
#include <vector>

using testsupport::TempFolder;

namespace {

class CountersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSession(folder.path());
        session().dataFolder = folder.path();
    }
    TempFolder folder;
};

TEST_F(CountersTest, TakeStoresTheNextValuePeekDoesNot)
{
    EXPECT_EQ(PeekNextNumber("IDV"), "1");
    EXPECT_EQ(TakeNextNumber("IDV"), "1");
    EXPECT_EQ(ReadSetting("INDEX", "IDV"), "2");
    EXPECT_EQ(PeekNextNumber("IDV"), "2");
    EXPECT_EQ(PeekNextNumber("IDV"), "2");

    const struct {
        const char *stored;
        const char *taken;
        const char *next;
    } cases[] = {{"0", "1", "2"}, {"", "1", "2"}, {"x", "1", "2"}, {"17", "17", "18"}, {" 6560 ", "6560", "6561"}};
    for (const auto &c : cases) {
        WriteSetting("INDEX", "NR", c.stored);
        EXPECT_EQ(TakeNextNumber("nr"), c.taken) << c.stored;
        EXPECT_EQ(ReadSetting("INDEX", "NR"), c.next) << c.stored;
    }
}

TEST_F(CountersTest, SetNextNumberStoresTheScaledValue)
{
    SetNextNumber("IDLOG", 580000);
    EXPECT_EQ(ReadSetting("INDEX", "IDLOG"), "58");
    EXPECT_EQ(TakeNextNumber("IDLOG"), "58");
}

TEST_F(CountersTest, FourProcessesNeverGetTheSameValue)
{
    const int processes = 4, each = 500;
    std::vector<std::unique_ptr<QProcess>> workers;
    for (int i = 0; i < processes; ++i) {
        workers.push_back(std::make_unique<QProcess>());
        workers.back()->start(testsupport::binary("store_counterworker"),
                              {folder.path(), "NR", QString::number(each)});
    }
    QSet<int> values;
    int received = 0;
    for (auto &w : workers) {
        ASSERT_TRUE(w->waitForFinished(300000));
        ASSERT_EQ(w->exitCode(), 0) << w->readAllStandardError().constData();
        const QList<QByteArray> lines = w->readAllStandardOutput().split('\n');
        for (const QByteArray &line : lines) {
            if (line.isEmpty())
                continue;
            values.insert(line.toInt());
            ++received;
        }
    }
    EXPECT_EQ(received, processes * each);
    EXPECT_EQ(values.size(), processes * each);
    for (int v = 1; v <= processes * each; ++v)
        ASSERT_TRUE(values.contains(v)) << "gap at " << v;
    EXPECT_EQ(PeekNextNumber("NR"), QString::number(processes * each + 1));
}

} // namespace
