#include "admin/administration.h"

#include "platform/filecase.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/texthelpers.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/settings.h"

#include <QCoreApplication>
#include <QDate>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

const QString Const = QStringLiteral("CONST");

// A stage term as a whole number; `current` when the stored text is not one.
int readTerm(const QString &key, int current)
{
    bool ok = false;
    const int value = ReadSetting(Const, key).trimmed().toInt(&ok);
    return ok ? value : current;
}

qint64 wholeNumberOf(qint64 scaled)
{
    return scaled / 10000;
}

QString withoutTrailingSeparator(QString folder)
{
    if (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

bool sameFolder(const QString &a, const QString &b)
{
    return QDir::cleanPath(a).compare(QDir::cleanPath(b), Qt::CaseInsensitive) == 0;
}

// The write test makes a file of its own, under a name nobody else uses, and
// removes only that: a "test.txt" the clerk keeps in the folder stays as it is.
bool canWriteInto(const QString &folder)
{
    for (int n = 0; n < 100; ++n) {
        QFile probe(folder + QStringLiteral("/.arvena3-proba-%1-%2.tmp").arg(QCoreApplication::applicationPid()).arg(n));
        if (probe.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            probe.close();
            probe.remove();
            return true;
        }
        if (!probe.exists())
            return false;
    }
    return false;
}

// The stored backup folder, choosing and storing a default when none was set.
QString loadBackupFolder()
{
    const QString stored = ReadMachineSetting(QStringLiteral("CALESALVARI"));
    if (!stored.isEmpty())
        return stored;
    const QString chosen = DefaultBackupFolder();
    if (chosen.isEmpty())
        return QStringLiteral("-");
    try {
        WriteMachineSetting(QStringLiteral("CALESALVARI"), chosen);
    } catch (const SettingsError &) {
        // Loading must not fail for a default: it serves this run and is
        // chosen again at the next load.
    }
    return chosen;
}

} // namespace

const QStringList &CountyNames()
{
    static const QStringList names{
        "ALBA", "ARAD", "ARGES", "BACAU", "BIHOR", "BISTRITA-NASAUD", "BOTOSANI", "BRASOV", "BRAILA",
        "BUZAU", "CARAS-SEVERIN", "CALARASI", "CLUJ", "CONSTANTA", "COVASNA", "DAMBOVITA", "DOLJ",
        "GALATI", "GIURGIU", "GORJ", "HARGHITA", "HUNEDOARA", "IALOMITA", "IASI", "ILFOV", "MARAMURES",
        "MEHEDINTI", "MURES", "NEAMT", "OLT", "PRAHOVA", "SATU-MARE", "SALAJ", "SIBIU", "SUCEAVA",
        "TELEORMAN", "TIMIS", "TULCEA", "VASLUI", "VALCEA", "VRANCEA", "BUCURESTI"};
    return names;
}

AdministrationValues &administrationValues()
{
    static AdministrationValues values;
    return values;
}

QString DefaultBackupFolder()
{
    const QStringList parents{QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                              QDir::homePath()};
    for (const QString &parent : parents) {
        if (parent.isEmpty())
            continue;
        const QString folder = parent + QStringLiteral("/Salvari_Date");
        if (QDir().mkpath(folder))
            return folder;
    }
    return {};
}

qint64 NextNumberOfMode(int numTip)
{
    const QString key = numTip >= PerRequestNumbering ? QStringLiteral("NR2") : QStringLiteral("NR");
    return PeekNextNumber(key).toLongLong();
}

void LoadAdministration(AdministrationValues &values)
{
    values.caleSalvari = loadBackupFolder();
    const QString server = ReadMachineSetting(QStringLiteral("SERVER"));
    values.server = server.isEmpty() ? QStringLiteral("-") : server;
    values.unitate = ReadSetting(Const, QStringLiteral("UNITATE"));
    values.localit = ReadSetting(Const, QStringLiteral("LOCALIT"));
    const qint64 county = wholeNumberOf(ReadSettingNumber(Const, QStringLiteral("JUDET")));
    values.judet = county >= 0 && county < CountyNames().size() ? int(county) : 0;
    values.primar = ReadSetting(Const, QStringLiteral("PRIMAR"));
    values.secretar = ReadSetting(Const, QStringLiteral("SECRETAR"));
    values.site = ReadSetting(Const, QStringLiteral("SITE"));
    values.zileEt1 = readTerm(QStringLiteral("ZileEt1"), values.zileEt1);
    values.zileEt2 = readTerm(QStringLiteral("ZileEt2"), values.zileEt2);
    values.numTip = NumberingType() >= PerRequestNumbering ? PerRequestNumbering : IndividualNumbering;
    values.nextNumber = NextNumberOfMode(values.numTip);
}

bool SaveAdministration(Prompter &prompter, const AdministrationValues &values, QWidget *counterField)
{
    const QString duplicate = DuplicateNumberMessage(values.numTip, values.nextNumber, QDate::currentDate().year());
    if (!duplicate.isEmpty()) {
        prompter.ShowProblem(duplicate, counterField);
        return false;
    }
    WriteSetting(Const, QStringLiteral("UNITATE"), CleanText(values.unitate));
    WriteSetting(Const, QStringLiteral("LOCALIT"), CleanText(values.localit));
    WriteSettingNumber(Const, QStringLiteral("JUDET"), qint64(values.judet) * 10000);
    WriteSetting(Const, QStringLiteral("PRIMAR"), CleanText(values.primar));
    WriteSetting(Const, QStringLiteral("SECRETAR"), CleanText(values.secretar));
    WriteSetting(Const, QStringLiteral("SITE"), CleanText(values.site));
    WriteSettingNumber(Const, QStringLiteral("ZileEt1"), qint64(values.zileEt1) * 10000);
    WriteSettingNumber(Const, QStringLiteral("ZileEt2"), qint64(values.zileEt2) * 10000);
    if (values.numTip >= PerRequestNumbering) {
        SetNextNumber(QStringLiteral("NR2"), values.nextNumber * 10000);
        WriteSetting(Const, QStringLiteral("NumTip"), QStringLiteral("2"));
    } else {
        SetNextNumber(QStringLiteral("NR"), values.nextNumber * 10000);
        WriteSetting(Const, QStringLiteral("NumTip"), QStringLiteral("1"));
    }
    return true;
}

bool HoldsCompleteDatabase(const QString &folder)
{
    const QStringList tables = PackedTables();
    return std::all_of(tables.begin(), tables.end(),
                       [&folder](const QString &file) { return platform::existsNoCase(folder, file); });
}

PathActionResult ChangeServerPath(Prompter &prompter, FolderChooser &chooser, AdministrationValues &values)
{
    QString folder = chooser.chooseFolder(QStringLiteral("Indicati baza de date din retea"), values.server);
    if (folder.isEmpty())
        return PathActionResult::Stay;
    folder = withoutTrailingSeparator(folder);
    const Session &s = session();
    if (sameFolder(folder, s.dataFolder) || sameFolder(folder, s.localDataFolder)) {
        prompter.Mesaj(QStringLiteral("Selectare Cale salvari"), QStringLiteral("Nu puteti salva aici!"), ButtonOk,
                       KindError);
        return PathActionResult::Stay;
    }
    if (!HoldsCompleteDatabase(folder)) {
        prompter.Mesaj(QStringLiteral("Conectare server"),
                       QStringLiteral("Baza de date ") + folder + QStringLiteral("\rNU este corecta!\r")
                           + QStringLiteral("Verificati ce-ati ales!"),
                       ButtonOk, KindError);
        return PathActionResult::Stay;
    }
    WriteMachineSetting(QStringLiteral("SERVER"), folder);
    values.server = folder;
    prompter.Mesaj(QStringLiteral("Conectat la server"),
                   QStringLiteral("Conectarea la server a reusit!\rPorniti programul din nou !"), ButtonOk,
                   KindInformation);
    return PathActionResult::EndProgram;
}

PathActionResult ClearServerPath(Prompter &prompter, AdministrationValues &values, QWidget *pathField)
{
    if (values.server.trimmed().size() < 2) {
        prompter.ShowProblem(QStringLiteral("Nu aveti ce sterge."), pathField);
        return PathActionResult::Stay;
    }
    if (prompter.Mesaj(QStringLiteral("Stergere cale server"), QStringLiteral("Doriti sa va deconectati de la server?"),
                       ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return PathActionResult::Stay;
    values.server = QStringLiteral("  -");
    WriteMachineSetting(QStringLiteral("SERVER"), QString());
    prompter.Mesaj(QStringLiteral("Deconectat de la server"),
                   QStringLiteral("Sunteti deconectat de la server!\rPorniti programul din nou !"), ButtonOk,
                   KindInformation);
    return PathActionResult::EndProgram;
}

void ChangeBackupPath(Prompter &prompter, FolderChooser &chooser, AdministrationValues &values)
{
    const Session &s = session();
    if (!sameFolder(s.dataFolder, s.localDataFolder)) {
        prompter.Mesaj(QStringLiteral("Salvare Automata"), QStringLiteral("Numai Serverul poate salva automat!"),
                       ButtonOk, KindError);
        return;
    }
    QString folder = chooser.chooseFolder(QStringLiteral("Indicati calea salvarilor automate"), values.caleSalvari);
    if (folder.isEmpty())
        return;
    folder = withoutTrailingSeparator(folder);
    // Every archive made there would hold all the earlier ones.
    if (sameFolder(folder, s.dataFolder) || sameFolder(folder, s.localDataFolder)) {
        prompter.Mesaj(QStringLiteral("Selectare Cale salvari"), QStringLiteral("Nu puteti salva aici!"), ButtonOk,
                       KindError);
        return;
    }
    if (!canWriteInto(folder)) {
        prompter.Mesaj(QStringLiteral("Stabilire cale salvari"),
                       QStringLiteral("Nu pot scrie in ") + folder + QStringLiteral(" !\r")
                           + QStringLiteral("Alegeti alta cale, unde sa pot scrie!"),
                       ButtonOk, KindError);
        return;
    }
    values.caleSalvari = folder;
    WriteMachineSetting(QStringLiteral("CALESALVARI"), folder);
    prompter.Mesaj(QStringLiteral("Salvari automate"),
                   QStringLiteral("Calea pentru Salvari Automate este acum \r") + folder + QStringLiteral("."),
                   ButtonOk, KindInformation);
}

void ClearBackupPath(Prompter &prompter, AdministrationValues &values, QWidget *pathField)
{
    if (values.caleSalvari.trimmed().size() < 2) {
        prompter.ShowProblem(QStringLiteral("Salvarea automata este deja dezactivata."), pathField);
        return;
    }
    if (prompter.Mesaj(QStringLiteral("Stergere cale salvari"), QStringLiteral("Doriti sa dezactivati salvarea automata?"),
                       ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return;
    values.caleSalvari = QStringLiteral("-");
    WriteMachineSetting(QStringLiteral("CALESALVARI"), QStringLiteral("-"));
    prompter.Mesaj(QStringLiteral("Salvare Automata"), QStringLiteral("Salvarea automata a fost dezactivata!"),
                   ButtonOk, KindInformation);
}
