// The three settings files: reading files written on Windows, writing one key
// without disturbing the rest, numbers, the stored password and safe writes.
#include "platform/session.h"
#include "datastore/counters.h"
#include "datastore/settings.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <unistd.h>

using testsupport::TempFolder;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A settings file as the profile functions of Windows leave it after years of
// use: CRLF, Windows-1250 letters, names in mixed case, comments, blank lines,
// blanks around "=", and a byte (0x90) that has no character in the code page.
const QByteArray kWindowsFile =
    "; Setari baza de date\r\n"
    "[CONST]\r\n"
    "UNITATE=PRIMARIA COMUNEI \xAA" "ERB\xC3" "NE\xAA" "TI\r\n"
    "Localit=  Bra\xBAov  \r\n"
    "judet=5.7\r\n"
    "NumTip=2\r\n"
    "\r\n"
    "[Index]\r\n"
    "ID=17\r\n"
    "Nr = 1.0034\r\n"
    ";IDV=99\r\n"
    "\r\n"
    "[init]\r\n"
    "WIN=a\x90" "b c \r\n"
    "[Nelu-PC - nelu]\r\n"
    "FUNCTIONAR=Ion \xC3" "\xEE" "\r\n";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSession(folder.path());
        QDir(folder.path()).mkpath("Data");
        QDir(folder.path()).mkpath("sys");
        session().dataFolder = folder.file("Data");
        session().systemFolder = folder.file("sys");
    }
    QString dataFile(const QString &name) const { return folder.file("Data/" + name); }

    TempFolder folder;
};

TEST_F(SettingsTest, ReadsAFileWrittenOnWindows)
{
    writeBytes(dataFile("Arv2.set"), kWindowsFile);
    const struct {
        const char *section, *key;
        QString expected;
    } cases[] = {
        {"CONST", "UNITATE", QString::fromUtf8("PRIMARIA COMUNEI ŞERBĂNEŞTI")},
        {"const", "LOCALIT", QString::fromUtf8("Braşov")},
        {"CONST", "JUDET", "5.7"},
        {"INDEX", "id", "17"},
        {"INDEX", "NR", "1.0034"},
        {"INDEX", "IDV", ""}, // commented out
        {"CONST", "MISSING", ""},
        {"NOSECTION", "ID", ""},
        {"nelu-pc - NELU", "functionar", QString::fromUtf8("Ion Ăî")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadSetting(c.section, c.key), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(ReadSettingNumber("CONST", "JUDET") / 10000, 5);
    EXPECT_EQ(ReadSettingNumber("INDEX", "NR"), 10034);
    EXPECT_EQ(NumberingType(), 2);
}

TEST_F(SettingsTest, WhatWeWriteReadsBackLikeTheWindowsFile)
{
    writeBytes(dataFile("windows.set"), kWindowsFile);
    const ProfileFile windows(dataFile("windows.set"));
    const QStringList keys = {"UNITATE", "Localit", "judet", "NumTip"};
    for (const QString &key : keys)
        WriteSetting("CONST", key, windows.value("CONST", key));
    WriteSetting("Nelu-PC - nelu", "FUNCTIONAR", windows.value("Nelu-PC - nelu", "FUNCTIONAR"));
    for (const QString &key : keys)
        EXPECT_EQ(ReadSetting("const", key), windows.value("CONST", key)) << qPrintable(key);
    EXPECT_EQ(ReadSetting("NELU-PC - NELU", "functionar"), windows.value("Nelu-PC - nelu", "FUNCTIONAR"));
    // Our own file is in the same format: CRLF lines, Windows-1250 bytes.
    EXPECT_EQ(readBytes(SettingsFilePath()),
              QByteArray("[CONST]\r\nUNITATE=PRIMARIA COMUNEI \xAA" "ERB\xC3" "NE\xAA" "TI\r\nLocalit=Bra\xBAov\r\n"
                         "judet=5.7\r\nNumTip=2\r\n[Nelu-PC - nelu]\r\nFUNCTIONAR=Ion \xC3\xEE\r\n"));
}

TEST_F(SettingsTest, WritingOneKeyLeavesEveryOtherByteAlone)
{
    const struct {
        const char *name;
        QByteArray before;
        const char *section, *key, *value;
        QByteArray after;
    } cases[] = {
        {"replace a key in the middle", kWindowsFile, "index", "NR", "7",
         QByteArray(kWindowsFile).replace("Nr = 1.0034\r\n", "NR=7\r\n")},
        {"add a key after the section's last line, before its blank line", kWindowsFile, "INDEX", "IDA", "3",
         QByteArray(kWindowsFile).replace(";IDV=99\r\n", ";IDV=99\r\nIDA=3\r\n")},
        {"add a section to a file without a final line break", "[A]\r\nX=1", "B", "Y", "2",
         "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
        {"keep the line breaks of a file written elsewhere", "[A]\nX=1\n\n[C]\nZ=0\n", "A", "Y", "2",
         "[A]\nX=1\nY=2\n\n[C]\nZ=0\n"},
        {"replace the last line that has no line break", "[A]\r\nX=1", "A", "X", "22", "[A]\r\nX=22"},
        {"first of two sections with one name wins", "[A]\r\nX=1\r\n[a]\r\nX=2\r\n", "A", "X", "3",
         "[A]\r\nX=3\r\n[a]\r\nX=2\r\n"},
        {"a value with a line break stays on one line", "[A]\r\n", "A", "X", "two\r\nlines",
         "[A]\r\nX=two  lines\r\n"},
        {"Romanian letters with a comma below are stored with the cedilla", "", "A", "X", "Ștefan Țară",
         "[A]\r\nX=\xAA" "tefan \xDE" "ar\xE3\r\n"},
    };
    for (const auto &c : cases) {
        writeBytes(dataFile("Arv2.set"), c.before);
        WriteSetting(c.section, c.key, QString::fromUtf8(c.value));
        EXPECT_EQ(readBytes(dataFile("Arv2.set")), c.after) << c.name;
    }
}

TEST_F(SettingsTest, AFreshDataFolderReadsEmptyAndTheFirstWriteCreatesTheFile)
{
    EXPECT_EQ(ReadSetting("CONST", "UNITATE"), "");
    EXPECT_EQ(ReadSettingNumber("CONST", "ZileEt1"), 0);
    EXPECT_EQ(NumberingType(), 1);
    EXPECT_FALSE(QFile::exists(dataFile("Arv2.set")));
    WriteSetting("CONST", "UNITATE", "PRIMARIA");
    EXPECT_EQ(readBytes(dataFile("Arv2.set")), "[CONST]\r\nUNITATE=PRIMARIA\r\n");
}

TEST_F(SettingsTest, FindsTheFileWhateverTheCaseOfItsName)
{
    writeBytes(dataFile("ARV2.SET"), "[CONST]\r\nUNITATE=X\r\n");
    EXPECT_EQ(ReadSetting("CONST", "UNITATE"), "X");
    WriteSetting("CONST", "PRIMAR", "Y");
    EXPECT_EQ(readBytes(dataFile("ARV2.SET")), "[CONST]\r\nUNITATE=X\r\nPRIMAR=Y\r\n");
    EXPECT_FALSE(QDir(session().dataFolder).entryList(QDir::Files).contains("Arv2.set"));
}

TEST_F(SettingsTest, NumbersAreFixedPointTimesTenThousand)
{
    const struct {
        const char *stored;
        qint64 scaled;
    } reads[] = {
        {"1.0034", 10034}, {"5.7", 57000}, {"", 0}, {"x", 0}, {" 6560 ", 65600000}, {"-2", -20000},
        {"0.00005", 0}, /* 0.5 rounds to even */ {"0.00025", 2}, {"0.00035", 4}, {"1e2", 1000000},
        {"5,7", 0}, {"inf", 0}, {"nan", 0}, {"12abc", 0}, {".5", 5000},
    };
    for (const auto &r : reads) {
        WriteSetting("T", "V", r.stored);
        EXPECT_EQ(ReadSettingNumber("T", "V"), r.scaled) << r.stored;
    }
    const struct {
        qint64 scaled;
        const char *written;
    } writes[] = {
        {10034, "1.0034"}, {50000, "5"}, {65600000, "6560"}, {5, "0.0005"}, {-15000, "-1.5"}, {0, "0"},
        {123456789012340000, "12345678901234"},
    };
    for (const auto &w : writes) {
        WriteSettingNumber("T", "V", w.scaled);
        EXPECT_EQ(ReadSetting("T", "V"), w.written) << w.scaled;
    }
}

TEST_F(SettingsTest, NumberingTypeIsTwoFromTwoUp)
{
    const struct {
        const char *numTip;
        int type;
    } cases[] = {{"2", 2}, {"2.5", 2}, {"1.9", 1}, {"1", 1}, {"", 1}, {"x", 1}};
    for (const auto &c : cases) {
        WriteSetting("CONST", "NumTip", c.numTip);
        EXPECT_EQ(NumberingType(), c.type) << c.numTip;
    }
}

TEST_F(SettingsTest, TheStoredPasswordComesBackByteForByte)
{
    writeBytes(dataFile("Arv2.set"), kWindowsFile);
    EXPECT_EQ(ReadStoredPassword(), QByteArray("a\x90" "b c "));
    const QByteArray encoded = " \x90H\x95`, sHaA<\\\x93p\x8D" "bkc  ";
    WriteStoredPassword(encoded);
    EXPECT_EQ(ReadStoredPassword(), encoded);
    EXPECT_EQ(readBytes(dataFile("Arv2.set")),
              QByteArray(kWindowsFile).replace("WIN=a\x90" "b c \r\n", "WIN=" + encoded + "\r\n"));
    // Other values are still trimmed.
    EXPECT_EQ(ReadSetting("CONST", "LOCALIT"), QString::fromUtf8("Braşov"));
    WriteStoredPassword({});
    EXPECT_EQ(ReadStoredPassword(), QByteArray());
    EXPECT_THROW(WriteStoredPassword("a\r\nb"), SettingsError);
    EXPECT_EQ(ReadStoredPassword(), QByteArray());
}

TEST_F(SettingsTest, MachineAndWorkstationFilesLiveInTheirOwnFolders)
{
    WriteMachineSetting("telefon_fax", "0722");
    WriteMachineSetting("CALE", folder.path());
    EXPECT_EQ(ReadMachineSetting("Telefon_fax"), "0722");
    EXPECT_EQ(readBytes(folder.file("sys/GMT.dII")),
              "[99]\r\ntelefon_fax=0722\r\nCALE=" + folder.path().toUtf8() + "\r\n");
    WriteWorkstationSetting("CONST", "EM", "abc");
    EXPECT_EQ(ReadWorkstationSetting("const", "em"), "abc");
    EXPECT_EQ(readBytes(folder.file("Local.set")), "[CONST]\r\nEM=abc\r\n");
    EXPECT_EQ(ReadSetting("CONST", "EM"), "");
}

TEST_F(SettingsTest, SectionsAndKeysCanBeRemoved)
{
    const QString path = MachineSettingsFilePath();
    writeBytes(path, "[99]\r\nCALE=x\r\n");
    ProfileFile machine(path);
    machine.setValue("TESTUS", "Test", "1");
    EXPECT_EQ(machine.value("TESTUS", "Test"), "1");
    machine.removeSection("testus");
    EXPECT_EQ(readBytes(path), "[99]\r\nCALE=x\r\n");
    machine.setValue("99", "VER", "1.0034");
    machine.removeKey("99", "cale");
    EXPECT_EQ(readBytes(path), "[99]\r\nVER=1.0034\r\n");
    EXPECT_EQ(machine.keys("99"), QStringList{"VER"});
}

TEST_F(SettingsTest, AWriteReplacesTheFileInsteadOfRewritingItInPlace)
{
    // A hard link keeps the old file: if the write truncated and refilled the
    // file in place, a crash in between would lose every setting.
    const QString path = dataFile("Arv2.set");
    writeBytes(path, kWindowsFile);
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(dataFile("old.set")).constData()), 0);
    WriteSetting("INDEX", "ID", "18");
    EXPECT_EQ(readBytes(dataFile("old.set")), kWindowsFile);
    EXPECT_EQ(ReadSetting("INDEX", "ID"), "18");
    // Nothing is left beside the file but the writers' lock.
    QStringList files = QDir(session().dataFolder).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, (QStringList{"Arv2.set", "Arv2.set.lck", "old.set"}));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenThrowsAndStaysAsItWas)
{
    writeBytes(dataFile("Arv2.set"), kWindowsFile);
    // A character the code page lacks is refused, not turned into "?".
    EXPECT_THROW(WriteSetting("CONST", "UNITATE", QString::fromUtf8("Примэрия")), SettingsError);
    EXPECT_EQ(readBytes(dataFile("Arv2.set")), kWindowsFile);
    // A lock that cannot be taken (here its file is a folder) stops the write.
    QDir(session().dataFolder).mkdir("Arv2.set.lck");
    EXPECT_THROW(WriteSetting("INDEX", "ID", "18"), SettingsError);
    EXPECT_THROW(TakeNextNumber("ID"), SettingsError);
    EXPECT_EQ(readBytes(dataFile("Arv2.set")), kWindowsFile);
    // So does a data folder that is gone.
    session().dataFolder = folder.file("missing");
    EXPECT_THROW(WriteSetting("INDEX", "ID", "18"), SettingsError);
    EXPECT_EQ(ReadSetting("INDEX", "ID"), "");
}

} // namespace
