// arvena3-doc writes the document the listing would build, from a data
// folder's own tables, settings and templates, writes its missing templates
// as the start-up does, leaves the cached documents alone and exits 0 only
// when the document was written.
#include "docfixture.h"
#include "documentsupport.h"
#include "register/documents/actdocuments.h"
#include "startupfixture.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

class Arvena3DocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        docfixture::prepareDataFolder(true);
        docfixture::addFullRequest();
    }
    int run(const QStringList &args, QByteArray *err = nullptr)
    {
        return testsupport::runProgram(testsupport::binary(QStringLiteral("arvena3-doc")),
                                       QStringList{QStringLiteral("--data"), session().dataFolder} + args, nullptr, err);
    }
    QString out(const QString &name) const { return program.file(name); }
    QString data(const QString &name) const { return QDir(session().dataFolder).filePath(name); }

    ProgramFolderFixture program;
};

// The document without the time of day, which moves between two builds.
QByteArray withoutTime(QByteArray rtf)
{
    return QString::fromLatin1(rtf).remove(QRegularExpression(QStringLiteral("\\b\\d\\d:\\d\\d\\b"))).toLatin1();
}

} // namespace

TEST_F(Arvena3DocTest, WritesWhatTheListingBuildsAndLeavesTheCachedDocumentsAlone)
{
    documents::writeFile(data(QStringLiteral("AlteActe6.rtf")), "{\\rtf1 editat de functionar}");
    ASSERT_TRUE(QFile::remove(data(QStringLiteral("Anexa_3.rtf"))));
    const struct {
        const char *option;
        const char *id;
    } documentsOf[] = {{"--request", "1"}, {"--act", "6"}, {"--act", "9"}, {"--act", "2"}, {"--answer", "2"}};
    for (const auto &d : documentsOf) {
        SCOPED_TRACE(d.option);
        const QString file = out(QStringLiteral("doc%1%2.rtf").arg(QString::fromLatin1(d.option).mid(2), QString::fromLatin1(d.id)));
        QByteArray err;
        ASSERT_EQ(run({QString::fromLatin1(d.option), QString::fromLatin1(d.id), QStringLiteral("--out"), file}, &err), 0)
            << err.constData();
        EXPECT_TRUE(err.isEmpty());
        EXPECT_TRUE(documents::readFile(file).startsWith("{\\rtf1"));
    }
    // The same builder: the act's document equals the one built in process.
    ASSERT_EQ(BuildActDocument(6, out(QStringLiteral("inprocess.rtf"))).status, DocumentStatus::Written);
    EXPECT_EQ(withoutTime(documents::readFile(out(QStringLiteral("docact6.rtf")))),
              withoutTime(documents::readFile(out(QStringLiteral("inprocess.rtf")))));
    EXPECT_EQ(documents::readFile(data(QStringLiteral("AlteActe6.rtf"))), QByteArray("{\\rtf1 editat de functionar}"));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("AlteActe9.rtf"))));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Cerere1.rtf"))));
    // The missing template was written back, as the start-up does.
    EXPECT_TRUE(QFile::exists(data(QStringLiteral("Anexa_3.rtf"))));
}

TEST_F(Arvena3DocTest, FailsWithItsReasonAndNoFile)
{
    const QString file = out(QStringLiteral("doc.rtf"));
    const struct {
        QStringList args;
        const char *reason;
    } cases[] = {
        {{QStringLiteral("--act"), QStringLiteral("26"), QStringLiteral("--out"), file}, "nu are document"},
        {{QStringLiteral("--act"), QStringLiteral("999"), QStringLiteral("--out"), file}, "nu mai exista"},
        {{QStringLiteral("--request"), QStringLiteral("7"), QStringLiteral("--out"), file}, "nu mai exista"},
        {{QStringLiteral("--answer"), QStringLiteral("x"), QStringLiteral("--out"), file}, "nu este un numar"},
        {{QStringLiteral("--act"), QStringLiteral("6"), QStringLiteral("--out"), program.file(QStringLiteral("nu/doc.rtf"))},
         "nu exista"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QByteArray err;
        EXPECT_EQ(run(c.args, &err), 1);
        EXPECT_TRUE(err.contains(c.reason)) << err.constData();
        EXPECT_FALSE(QFile::exists(file));
    }
    QByteArray err;
    EXPECT_EQ(run({QStringLiteral("--act"), QStringLiteral("6")}, &err), 2);
}

TEST_F(Arvena3DocTest, AFullDiskLeavesNoDocument)
{
    const QString file = out(QStringLiteral("doc.rtf"));
    QByteArray err;
    int status = 0;
    {
        documents::DiskFullAt full(1500);
        status = run({QStringLiteral("--act"), QStringLiteral("2"), QStringLiteral("--out"), file}, &err);
    }
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.contains("nu poate fi scris")) << err.constData();
    EXPECT_EQ(QDir(program.path()).entryList({QStringLiteral("doc*")}, QDir::Files), QStringList());
}
