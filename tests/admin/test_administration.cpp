#include "admin/administration.h"
#include "scriptedprompter.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "startupfixture.h"
#include "tablefixture.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tablefixture;

namespace {

class ScriptedFolderChooser : public FolderChooser {
public:
    QString answer;
    QStringList titles;
    QString chooseFolder(const QString &title, const QString &) override
    {
        titles.append(title);
        return answer;
    }
};

class Administration : public ::testing::Test {
protected:
    void SetUp() override { administrationValues() = AdministrationValues(); }

    ProgramFolderFixture folder;
    ScriptedPrompter prompter;
    ScriptedFolderChooser chooser;
};

void makeTableFiles(const QString &dir, const QStringList &files)
{
    QDir().mkpath(dir);
    for (const QString &f : files) {
        QFile file(dir + "/" + f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
}

} // namespace

TEST(Counties, FortyTwoInTheirStoredOrder)
{
    const QStringList &names = CountyNames();
    ASSERT_EQ(names.size(), 42);
    struct Case {
        int index;
        const char *name;
    } cases[] = {{0, "ALBA"},   {5, "BISTRITA-NASAUD"}, {7, "BRASOV"},   {8, "BRAILA"},    {10, "CARAS-SEVERIN"},
                 {11, "CALARASI"}, {31, "SATU-MARE"}, {32, "SALAJ"},   {38, "VASLUI"},   {39, "VALCEA"},
                 {40, "VRANCEA"}, {41, "BUCURESTI"}};
    for (const Case &c : cases)
        EXPECT_EQ(names.at(c.index), QString::fromLatin1(c.name)) << c.index;
}

TEST_F(Administration, FreshFolderLoadsDefaultsAndChoosesABackupFolder)
{
    AdministrationValues &v = administrationValues();
    LoadAdministration(v);
    EXPECT_EQ(v.zileEt1, 47);
    EXPECT_EQ(v.zileEt2, 30);
    EXPECT_EQ(v.judet, 0);
    EXPECT_EQ(v.numTip, IndividualNumbering);
    EXPECT_EQ(v.nextNumber, 1);
    EXPECT_EQ(v.server, "-");
    // The user's documents folder (or home) gets "Salvari_Date", stored at once.
    EXPECT_TRUE(v.caleSalvari.endsWith("/Salvari_Date")) << v.caleSalvari.toStdString();
    EXPECT_TRUE(QFileInfo(v.caleSalvari).isDir());
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), v.caleSalvari);
}

TEST_F(Administration, StoredValuesLoadAsTheyAre)
{
    WriteSetting("CONST", "UNITATE", "PRIMARIA COMUNEI X");
    WriteSetting("CONST", "JUDET", "5.7");
    WriteSetting("CONST", "ZileEt1", "45");
    WriteSetting("CONST", "ZileEt2", "treizeci");
    WriteSetting("CONST", "NumTip", "2");
    WriteMachineSetting("CALESALVARI", "-");
    WriteMachineSetting("SERVER", "/srv/arvena");
    SetNextNumber("NR2", 170000);

    AdministrationValues v;
    v.zileEt2 = 33; // what the field held before
    LoadAdministration(v);
    EXPECT_EQ(v.unitate, "PRIMARIA COMUNEI X");
    EXPECT_EQ(v.judet, 5);
    EXPECT_EQ(v.zileEt1, 45);
    EXPECT_EQ(v.zileEt2, 33);
    EXPECT_EQ(v.numTip, PerRequestNumbering);
    EXPECT_EQ(v.nextNumber, 17);
    EXPECT_EQ(v.caleSalvari, "-");
    EXPECT_EQ(v.server, "/srv/arvena");
}

TEST_F(Administration, SaveWritesEveryValueOfTheSelectedMode)
{
    CreateTables();
    AdministrationValues v;
    v.unitate = "  PRIMARIA \"DEALU\"  ";
    v.localit = "DEALU";
    v.judet = 8;
    v.primar = "ION POP";
    v.secretar = "ANA POP";
    v.site = "www.dealu.ro";
    v.zileEt1 = 40;
    v.zileEt2 = 25;
    v.numTip = PerRequestNumbering;
    v.nextNumber = 12;
    ASSERT_TRUE(SaveAdministration(prompter, v, nullptr));
    EXPECT_EQ(ReadSetting("CONST", "UNITATE"), "PRIMARIA DEALU");
    EXPECT_EQ(ReadSetting("CONST", "JUDET"), "8");
    EXPECT_EQ(ReadSetting("CONST", "ZileEt1"), "40");
    EXPECT_EQ(ReadSetting("CONST", "ZileEt2"), "25");
    EXPECT_EQ(ReadSetting("CONST", "NumTip"), "2");
    EXPECT_EQ(PeekNextNumber("NR2"), "12");
    EXPECT_EQ(PeekNextNumber("NR"), "1");
    EXPECT_TRUE(prompter.balloons.isEmpty());
}

TEST_F(Administration, ANumberUsedThisYearIsRefused)
{
    CreateTables();
    const int year = QDate::currentDate().year();
    addRequest(1, 5, 2, QDate(year, 2, 3), 0, "N", "POPESCU ION");
    addRequest(2, 9, 3, QDate(year - 1, 6, 1), 0, "N", "IONESCU ANA");
    addCommunication(1, 1, 6, QDate(year, 2, 10), "VECIN VASILE");
    addAct(1, 1, 7, QDate(year, 2, 11), "NOTIFICARE PREEMPTOR", "Cererea 5 - POPESCU ION");

    struct Case {
        int mode;
        qint64 number;
        const char *message;
    } cases[] = {
        {IndividualNumbering, 5, "Acest numar exista deja la Cererea lui POPESCU ION"},
        {PerRequestNumbering, 2, "Acest numar exista deja la Cererea lui POPESCU ION"},
        {IndividualNumbering, 6, "Acest numar exista deja la Comunicarea/Oferta lui VECIN VASILE"},
        {IndividualNumbering, 7, "Acest numar exista deja la un/o NOTIFICARE PREEMPTOR"},
        {IndividualNumbering, 9, ""}, // used only last year
        {PerRequestNumbering, 6, ""}, // communications count only in individual numbering
        {PerRequestNumbering, 7, ""}, // and so do acts
        {IndividualNumbering, 8, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(DuplicateNumberMessage(c.mode, c.number, year), QString::fromLatin1(c.message));
    }

    AdministrationValues v;
    v.numTip = IndividualNumbering;
    v.nextNumber = 5;
    EXPECT_FALSE(SaveAdministration(prompter, v, nullptr));
    ASSERT_EQ(prompter.balloons.size(), 1);
    EXPECT_TRUE(prompter.balloons[0].problem);
    EXPECT_EQ(prompter.balloons[0].text, "Acest numar exista deja la Cererea lui POPESCU ION");
    EXPECT_EQ(ReadSetting("CONST", "NumTip"), "");
}

TEST_F(Administration, ModeChangeRewritesOnlyWholeRequestNumbers)
{
    CreateTables();
    // Request 1 is number 12 individually and number 1 per request.
    addRequest(1, 12, 1, QDate(2025, 3, 1), 0, "N", "POPESCU ION");
    addRequest(2, 20, 2, QDate(2025, 3, 2), 0, "N", "IONESCU ANA");
    addAct(1, 1, 13, QDate(2025, 3, 1), "PROCES VERBAL DE AFISARE OFERTA", "Cererea 1 - POPESCU ION");
    addAct(2, 1, 14, QDate(2025, 3, 1), "ADRESA SIT ARHEOLOGIC", "Cererea 12");
    addAct(3, 2, 21, QDate(2025, 3, 2), "NOTIFICARE PREEMPTOR", "Cererea 2 - IONESCU ANA");
    addAct(4, 2, 22, QDate(2025, 3, 2), "ALT ACT", "fara trimitere");

    EXPECT_EQ(RewriteRequestReferences(PerRequestNumbering, IndividualNumbering), 2);
    EXPECT_EQ(actDetails(1), "Cererea 12 - POPESCU ION");
    EXPECT_EQ(actDetails(2), "Cererea 12"); // not "Cererea 122"
    EXPECT_EQ(actDetails(3), "Cererea 20 - IONESCU ANA");
    EXPECT_EQ(actDetails(4), "fara trimitere");

    EXPECT_EQ(RewriteRequestReferences(IndividualNumbering, PerRequestNumbering), 3);
    EXPECT_EQ(actDetails(1), "Cererea 1 - POPESCU ION");
    EXPECT_EQ(actDetails(2), "Cererea 1");
    EXPECT_EQ(actDetails(3), "Cererea 2 - IONESCU ANA");
}

TEST_F(Administration, ServerFolderMustHoldEveryTable)
{
    AdministrationValues &v = administrationValues();
    const QString complete = folder.file("server");
    makeTableFiles(complete, {"Cereri.dbf", "Comunicari.dbf", "Preemptori.dbf", "AlteActe.dbf", "Log.dbf"});
    const QString withoutLog = folder.file("fara_log");
    makeTableFiles(withoutLog, {"Cereri.dbf", "Comunicari.dbf", "Preemptori.dbf", "AlteActe.dbf"});

    struct Case {
        QString chosen;
        PathActionResult result;
        const char *title;
        QString text;
    } cases[] = {
        {QString(), PathActionResult::Stay, nullptr, QString()},
        {session().localDataFolder + "/", PathActionResult::Stay, "Selectare Cale salvari", "Nu puteti salva aici!"},
        {withoutLog, PathActionResult::Stay, "Conectare server",
         "Baza de date " + withoutLog + "\rNU este corecta!\rVerificati ce-ati ales!"},
        {complete + "/", PathActionResult::EndProgram, "Conectat la server",
         "Conectarea la server a reusit!\rPorniti programul din nou !"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        prompter.questions.clear();
        chooser.answer = c.chosen;
        EXPECT_EQ(ChangeServerPath(prompter, chooser, v), c.result);
        if (!c.title) {
            EXPECT_TRUE(prompter.questions.isEmpty());
            continue;
        }
        ASSERT_EQ(prompter.questions.size(), 1);
        EXPECT_EQ(prompter.questions[0].title, QString::fromLatin1(c.title));
        EXPECT_EQ(prompter.questions[0].text, c.text);
    }
    EXPECT_EQ(chooser.titles.first(), "Indicati baza de date din retea");
    EXPECT_EQ(ReadMachineSetting("SERVER"), complete);
    EXPECT_EQ(v.server, complete);
}

TEST_F(Administration, LeavingTheServerAsksAndEndsTheProgram)
{
    AdministrationValues &v = administrationValues();
    v.server = " - ";
    EXPECT_EQ(ClearServerPath(prompter, v, nullptr), PathActionResult::Stay);
    ASSERT_EQ(prompter.balloons.size(), 1);
    EXPECT_EQ(prompter.balloons[0].text, "Nu aveti ce sterge.");

    WriteMachineSetting("SERVER", "/srv/arvena");
    v.server = "/srv/arvena";
    prompter.answer({ResultNo, ResultYes});
    EXPECT_EQ(ClearServerPath(prompter, v, nullptr), PathActionResult::Stay);
    EXPECT_EQ(ReadMachineSetting("SERVER"), "/srv/arvena");
    EXPECT_EQ(ClearServerPath(prompter, v, nullptr), PathActionResult::EndProgram);
    EXPECT_EQ(ReadMachineSetting("SERVER"), "");
    EXPECT_EQ(v.server, "  -");
    EXPECT_EQ(prompter.questions.last().title, "Deconectat de la server");
    EXPECT_EQ(prompter.questions.last().text, "Sunteti deconectat de la server!\rPorniti programul din nou !");
}

TEST_F(Administration, BackupFolderMustBeWritableAndLocal)
{
    AdministrationValues &v = administrationValues();
    // A folder that cannot hold a file: its path runs through a plain file.
    QFile plain(folder.file("fisier"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString readOnly = folder.file("fisier/salvari");
    const QString writable = folder.file("salvari");
    QDir().mkpath(writable);

    chooser.answer = readOnly;
    ChangeBackupPath(prompter, chooser, v);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Stabilire cale salvari");
    EXPECT_EQ(prompter.questions[0].text,
              "Nu pot scrie in " + readOnly + " !\rAlegeti alta cale, unde sa pot scrie!");
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), "");

    chooser.answer = writable + "/";
    ChangeBackupPath(prompter, chooser, v);
    EXPECT_EQ(prompter.questions.last().title, "Salvari automate");
    EXPECT_EQ(prompter.questions.last().text, "Calea pentru Salvari Automate este acum \r" + writable + ".");
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), writable);
    EXPECT_FALSE(QFile::exists(writable + "/test.txt"));

    // A workstation working on a server folder cannot change it.
    session().dataFolder = folder.file("server");
    prompter.questions.clear();
    chooser.answer = folder.path();
    ChangeBackupPath(prompter, chooser, v);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Salvare Automata");
    EXPECT_EQ(prompter.questions[0].text, "Numai Serverul poate salva automat!");
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), writable);
}

TEST_F(Administration, BackupFolderIsNeverTheDataFolderAndTheWriteTestLeavesTheClerksFiles)
{
    AdministrationValues &v = administrationValues();
    for (const QString &data : {session().dataFolder, session().dataFolder.toUpper() + "/"}) {
        prompter.questions.clear();
        chooser.answer = data;
        ChangeBackupPath(prompter, chooser, v);
        ASSERT_EQ(prompter.questions.size(), 1) << data.toStdString();
        EXPECT_EQ(prompter.questions[0].title, "Selectare Cale salvari");
        EXPECT_EQ(prompter.questions[0].text, "Nu puteti salva aici!");
        EXPECT_EQ(ReadMachineSetting("CALESALVARI"), "");
    }

    const QString backups = folder.file("salvari");
    QDir().mkpath(backups);
    QFile kept(backups + "/test.txt");
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("notele grefierului");
    kept.close();
    chooser.answer = backups;
    ChangeBackupPath(prompter, chooser, v);
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), backups);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("notele grefierului"));
    EXPECT_EQ(QDir(backups).entryList(QDir::Files | QDir::Hidden), QStringList({"test.txt"}));
}

TEST_F(Administration, DisablingBackupsAsksFirst)
{
    AdministrationValues &v = administrationValues();
    v.caleSalvari = "-";
    ClearBackupPath(prompter, v, nullptr);
    ASSERT_EQ(prompter.balloons.size(), 1);
    EXPECT_EQ(prompter.balloons[0].text, "Salvarea automata este deja dezactivata.");

    v.caleSalvari = "/home/x/Salvari_Date";
    prompter.answer(ResultYes);
    ClearBackupPath(prompter, v, nullptr);
    EXPECT_EQ(v.caleSalvari, "-");
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), "-");
    EXPECT_EQ(prompter.questions.first().title, "Stergere cale salvari");
    EXPECT_EQ(prompter.questions.first().text, "Doriti sa dezactivati salvarea automata?");
    EXPECT_EQ(prompter.questions.last().text, "Salvarea automata a fost dezactivata!");
}
