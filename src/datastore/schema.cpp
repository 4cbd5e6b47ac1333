#include "datastore/schema.h"

#include "platform/filecase.h"
#include "platform/session.h"
#include "datastore/dbf/tableops.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"

#include <QFile>
#include <QList>

#include <utility>

namespace {

using FieldList = QList<std::pair<const char *, const char *>>;

// Layouts in file order, with the types of the CREATE TABLE statements.
const FieldList &cereriFields()
{
    static const FieldList fields = {
        {"ID", "DECIMAL(10,0)"},  {"NR", "DECIMAL(10,0)"},      {"NR2", "DECIMAL(10,0)"},
        {"NRDOSAR", "CHAR(12)"},  {"DATAC", "DATE"},            {"TIPPF", "CHAR(8)"},
        {"NRV", "DECIMAL(6,0)"},  {"NRPREE", "DECIMAL(6,0)"},   {"SUPRAF", "CHAR(24)"},
        {"COTAPARTE", "CHAR(10)"}, {"COTAPARTES", "CHAR(11)"},  {"FARACONTR", "CHAR(1)"},
        {"PRET", "DECIMAL(12,2)"}, {"NRCAD", "CHAR(80)"},       {"NRCARTE", "CHAR(80)"},
        {"TARLA", "CHAR(30)"},    {"NRTARLA", "CHAR(20)"},      {"NRPARC", "CHAR(100)"},
        {"CATEG", "CHAR(240)"},   {"FUNCTIONAR", "CHAR(32)"},   {"STARE", "DECIMAL(6,0)"},
        {"PV1", "CHAR(1)"},       {"LITIGII", "CHAR(2)"},       {"GREVAT", "CHAR(2)"},
        {"CONDITII", "CHAR(240)"},
    };
    return fields;
}

const FieldList &vanzatoriFields()
{
    static const FieldList fields = {
        {"IDV", "DECIMAL(10,0)"}, {"ID", "DECIMAL(10,0)"},  {"NRCRT", "DECIMAL(6,0)"}, {"VANZATOR", "CHAR(80)"},
        {"CNPCUI", "CHAR(13)"},   {"LOCV", "CHAR(32)"},     {"ADRESA", "CHAR(120)"},   {"JUDET", "CHAR(32)"},
        {"BI", "CHAR(4)"},        {"BISERIA", "CHAR(4)"},   {"BINR", "CHAR(10)"},      {"BIELIB", "CHAR(40)"},
        {"BIDATA", "DATE"},       {"TEL", "CHAR(14)"},      {"MANDATAR", "CHAR(80)"},  {"MCALITATE", "CHAR(80)"},
        {"MCONFORM", "CHAR(80)"}, {"MCNPCUI", "CHAR(13)"},  {"MLOCV", "CHAR(32)"},     {"MADRESA", "CHAR(120)"},
        {"MJUDET", "CHAR(32)"},   {"MCODPOST", "CHAR(8)"},  {"MBI", "CHAR(4)"},        {"MBISERIA", "CHAR(4)"},
        {"MBINR", "CHAR(10)"},    {"MBIELIB", "CHAR(40)"},  {"MBIDATA", "DATE"},       {"MTEL", "CHAR(14)"},
    };
    return fields;
}

const FieldList &preemptoriFields()
{
    static const FieldList fields = {
        {"IDP", "DECIMAL(10,0)"}, {"ID", "DECIMAL(10,0)"}, {"RANG", "DECIMAL(10,0)"}, {"POSTA", "CHAR(2)"},
        {"TIPPF", "CHAR(8)"},     {"NUME", "CHAR(80)"},    {"ADRESA", "CHAR(120)"},   {"CNP", "CHAR(13)"},
        {"RC", "CHAR(24)"},       {"CODPOSTAL", "CHAR(8)"}, {"EMAIL", "CHAR(60)"},    {"TEL", "CHAR(16)"},
    };
    return fields;
}

const FieldList &comunicariFields()
{
    static const FieldList fields = {
        {"IDC", "DECIMAL(10,0)"},   {"ID", "DECIMAL(10,0)"},   {"NR", "DECIMAL(10,0)"}, {"NR2", "DECIMAL(10,0)"},
        {"NR2PER", "DECIMAL(6,0)"}, {"DATAC", "DATE"},         {"TIPPF", "CHAR(8)"},    {"CUMPARATOR", "CHAR(80)"},
        {"CNPCUI", "CHAR(13)"},     {"RANG", "DECIMAL(6,0)"},  {"LOC", "CHAR(32)"},     {"ADRESA", "CHAR(120)"},
        {"PRET", "DECIMAL(8,2)"},   {"DATAAFIS", "DATE"},
    };
    return fields;
}

const FieldList &alteActeFields()
{
    static const FieldList fields = {
        {"IDA", "DECIMAL(10,0)"}, {"ID", "DECIMAL(10,0)"},    {"BLOCAT", "CHAR(2)"},     {"NR", "DECIMAL(10,0)"},
        {"NR2", "DECIMAL(10,0)"}, {"NR2PER", "DECIMAL(6,0)"}, {"DATAA", "DATE"},         {"DATAEXP", "DATE"},
        {"MODUL", "CHAR(7)"},     {"EMITENT", "CHAR(80)"},    {"DESTINATAR", "CHAR(80)"}, {"TIPACT", "CHAR(80)"},
        {"DETALII", "CHAR(80)"},  {"IDC", "DECIMAL(10,0)"},
    };
    return fields;
}

const FieldList &logFields()
{
    static const FieldList fields = {
        {"IDLOG", "DECIMAL(10,0)"}, {"DATAL", "DATE"}, {"ORA", "CHAR(12)"}, {"ACTIUNE", "CHAR(120)"},
        {"UTILIZATOR", "CHAR(16)"},
    };
    return fields;
}

const FieldList *layoutOf(const QString &fileName)
{
    const QList<std::pair<QString, const FieldList *>> tables = {
        {"Cereri.dbf", &cereriFields()},         {"Vanzatori.dbf", &vanzatoriFields()},
        {"Preemptori.dbf", &preemptoriFields()}, {"Comunicari.dbf", &comunicariFields()},
        {"AlteActe.dbf", &alteActeFields()},     {"Log.dbf", &logFields()},
    };
    for (const auto &[name, fields] : tables)
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            return fields;
    return nullptr;
}

} // namespace

QString TablePath(const QString &fileName)
{
    return platform::findFileNoCase(session().dataFolder, fileName);
}

QString QuotedTablePath(const QString &fileName)
{
    return sqlstore::quoteName(TablePath(fileName));
}

QString CreateTableStatement(const QString &fileName, const QString &path)
{
    const FieldList *fields = layoutOf(fileName);
    if (!fields)
        return QString();
    QStringList lines;
    for (const auto &[name, type] : *fields)
        lines << QString::fromLatin1(name).leftJustified(10) + QLatin1Char(' ') + QString::fromLatin1(type);
    return QStringLiteral("CREATE TABLE \"%1\"\n(").arg(path) + lines.join(QStringLiteral(",\n")) + QLatin1Char(')');
}

UpgradePlan PlanUpgrade(qint64 v)
{
    UpgradePlan plan;
    plan.addShare = v < 10001;
    plan.annex7Templates = v < 10009;
    plan.shareAsFraction = v < 10012;
    plan.requestTemplates = v < 10021;
    plan.annex2Templates = v < 10025;
    plan.finalReportTemplate = v < 10027;
    return plan;
}

QStringList PackedTables()
{
    return {"Cereri.dbf", "Comunicari.dbf", "Preemptori.dbf", "AlteActe.dbf", "Log.dbf"};
}

namespace {

const QString kCereri = QStringLiteral("Cereri.dbf");

// The field of a table, or a field with no name when the table lacks it.
dbf::Field fieldOf(const QList<dbf::Field> &fields, const QString &name)
{
    for (const dbf::Field &f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return dbf::Field{};
}

// Deletes outdated templates from the data folder (a clerk's edits of them go
// too) and lets the caller write the current ones.
void replaceTemplates(const QStringList &names, const std::function<void()> &extractTemplates)
{
    for (const QString &name : names)
        QFile::remove(platform::findFileNoCase(session().dataFolder, name));
    if (extractTemplates)
        extractTemplates();
}

// The width of a column is raised only; a failure leaves the table as it was.
void widenBestEffort(const QString &path, const QString &column)
{
    try {
        const dbf::Field f = fieldOf(dbf::tableFields(path), column);
        if (!f.name.isEmpty() && f.width < 80)
            dbf::widenColumn(path, column, 80);
    } catch (const dbf::DbfError &) {
    }
}

} // namespace

void CreateTables()
{
    const QStringList order = {"Log.dbf",    "Cereri.dbf",   "Comunicari.dbf",
                               "Preemptori.dbf", "AlteActe.dbf", "Vanzatori.dbf"};
    for (const QString &name : order)
        if (!platform::existsNoCase(session().dataFolder, name))
            sqlstore::database().exec(CreateTableStatement(name, TablePath(name)));
}

void UpgradeSchema(const std::function<void()> &extractTemplates)
{
    const UpgradePlan plan = PlanUpgrade(ReadSettingNumber(QStringLiteral("SERVER"), QStringLiteral("Varianta3")));
    WriteSettingNumber(QStringLiteral("SERVER"), QStringLiteral("Varianta3"), kCurrentSchemaVersion);

    const QString cereri = TablePath(kCereri);
    QList<dbf::Field> fields;
    try {
        fields = dbf::tableFields(cereri);
    } catch (const dbf::DbfError &e) {
        throw sqlstore::SqlError(e.message());
    }
    const bool addAreaOfShare = fieldOf(fields, QStringLiteral("COTAPARTES")).name.isEmpty();
    const dbf::Field nrcad = fieldOf(fields, QStringLiteral("NRCAD"));
    const bool widenCadastre = !nrcad.name.isEmpty() && nrcad.width < 80;

    auto &db = sqlstore::database();
    if (plan.addShare) {
        bool added = true;
        try {
            db.exec("ALTER TABLE " + sqlstore::quoteName(cereri) + "\nADD COTAPARTE CHAR(10), ADD FARACONTR CHAR(1)");
        } catch (const sqlstore::SqlError &) {
            added = false; // a table made by this version has them already
        }
        if (added)
            db.exec("UPDATE " + sqlstore::quoteName(cereri) + "\nSET COTAPARTE=?, FARACONTR=?", {"1/1", ""});
    }
    if (addAreaOfShare) {
        db.exec("ALTER TABLE " + sqlstore::quoteName(cereri) + "\nADD COTAPARTES CHAR(11)");
        db.exec("UPDATE " + sqlstore::quoteName(cereri) + "\nSET COTAPARTES=substr(SUPRAF, 1, 11)");
        replaceTemplates({"Anexa_1.rtf", "Anexa_1M.rtf", "ANEXA_1PJ.rtf", "Anexa_2.rtf", "Anexa_2M.rtf",
                          "Anexa_2PJ.rtf", "CeresiOfertaPF3.rtf", "CeresiOfertaPJ3.rtf"},
                         extractTemplates);
    }
    if (plan.annex7Templates)
        replaceTemplates({"Anexa_7PF.rtf", "Anexa_7PJ.rtf"}, extractTemplates);
    if (plan.shareAsFraction)
        db.exec("UPDATE " + sqlstore::quoteName(cereri) + "\nSET COTAPARTE=?\nWHERE COTAPARTE=?", {"1/1", "100%"});
    if (widenCadastre) {
        widenBestEffort(cereri, QStringLiteral("NRCAD"));
        widenBestEffort(cereri, QStringLiteral("NRCARTE"));
    }
    if (plan.requestTemplates)
        replaceTemplates({"CeresiOfertaPF3.rtf", "CeresiOfertaPJ3.rtf"}, extractTemplates);
    if (plan.annex2Templates)
        replaceTemplates({"ANEXA_2CPF.rtf", "ANEXA_2DPJ.rtf"}, extractTemplates);
    if (plan.finalReportTemplate)
        replaceTemplates({"PVFinalCom.rtf"}, extractTemplates);
}

void PackTables(const std::function<void()> &afterEachTable)
{
    // A table another workstation holds waits for the next pack; the others
    // need not wait with it.
    QStringList problems;
    for (const QString &name : PackedTables()) {
        try {
            dbf::packTable(TablePath(name));
        } catch (const dbf::DbfError &e) {
            problems << e.message();
        }
        if (afterEachTable)
            afterEachTable();
    }
    if (!problems.isEmpty())
        throw sqlstore::SqlError(problems.join(QLatin1Char('\r')));
}
