#include "reports/export/registerspreadsheets.h"

#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "platform/filehelpers.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/shellopen.h"
#include "reports/export/spreadsheettemplate.h"
#include "templates/resources.h"

#include <QDir>
#include <QFile>

using sqlstore::database;

namespace {

constexpr int kPerRequestNumbering = 2;

// The kind of document of a request's own row in format 1.
constexpr char kRequestRowKind[] = "Cerere pentru afisarea ofertei";

QString shortDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

bool perRequestNumbering()
{
    return ReadSetting(QStringLiteral("CONST"), QStringLiteral("NumTip")).trimmed().toInt() == kPerRequestNumbering;
}

// The scratch files of one export, removed when it ends, whatever happened.
class ScratchFiles {
public:
    ScratchFiles()
        : table(TempFileName(QStringLiteral("Rap"), QStringLiteral(".dbf"))),
          model(TempFileName(QStringLiteral("Rap"), QStringLiteral(".xls")))
    {
    }
    ~ScratchFiles()
    {
        if (tableMade) {
            try {
                database().exec(QStringLiteral("DROP TABLE IF EXISTS ") + quoted(table));
            } catch (const sqlstore::SqlError &) {
            }
        }
        if (!table.isEmpty())
            QFile::remove(table);
        if (!model.isEmpty())
            QFile::remove(model);
    }
    const QString table;
    const QString model;
    bool tableMade = false;
};

// Closes the progress window however the export ends.
class ProgressShown {
public:
    ProgressShown(Prompter &prompter, int maximum) : prompter_(prompter)
    {
        prompter_.ProgressBegin(QString::fromLatin1(kRegisterProgress), maximum);
    }
    ~ProgressShown() { end(); }
    void restart(int maximum) { prompter_.ProgressBegin(QString::fromLatin1(kRegisterProgress), maximum); }
    void step() { prompter_.ProgressStep(); }
    void end()
    {
        if (shown_)
            prompter_.ProgressEnd();
        shown_ = false;
    }

private:
    Prompter &prompter_;
    bool shown_ = true;
};

// The request A (joined to the rows before it `on` that condition) and its
// first seller B, as every statement of format 1 joins them.
QString requestAndFirstSeller(const QString &on = QString())
{
    return QuotedTablePath(QStringLiteral("Cereri.dbf")) + QStringLiteral(" A ")
           + (on.isEmpty() ? QString() : QStringLiteral("ON ") + on + QLatin1Char(' ')) + QStringLiteral("JOIN ")
           + QuotedTablePath(QStringLiteral("Vanzatori.dbf")) + QStringLiteral(" B ON B.ID=A.ID AND B.NRCRT=1");
}

void gatherFormat1(const QString &table, const RegisterExport &job, bool perRequest, ProgressShown &progress)
{
    const QString w = quoted(table);
    const QString number = perRequest ? QStringLiteral("A.NR2") : QStringLiteral("A.NR");
    const QString requestNumber = QStringLiteral("CAST(") + number + QStringLiteral(" AS TEXT)");
    const QString unit = ReadSetting(QStringLiteral("CONST"), QStringLiteral("UNITATE"));
    const QString clerk = ReadSetting(session().workstationUser, QStringLiteral("FUNCTIONAR"));

    database().exec(CreateTableStatement(QStringLiteral("AlteActe.dbf"), table));
    database().exec(QStringLiteral("ALTER TABLE ") + w + QStringLiteral(" DROP EMITENT"));
    database().exec(QStringLiteral("ALTER TABLE ") + w
                    + QStringLiteral(" ADD NR2S CHAR(17), ADD EMITENT CHAR(150), ADD VANZATOR2X CHAR(254),"
                                     " ADD ZI CHAR(2), ADD LU CHAR(2), ADD AN CHAR(4), ADD NUMERE CHAR(254),"
                                     " ADD Z1 CHAR(2), ADD L1 CHAR(2), ADD A1 CHAR(4), ADD SUPRAF CHAR(24),"
                                     " ADD PRET DECIMAL(12,2), ADD CATEG CHAR(254), ADD NRCAD CHAR(80),"
                                     " ADD NRCARTE CHAR(80), ADD TIPACT2 CHAR(248), ADD FUNCTIONAR CHAR(32)"));

    database().exec(QStringLiteral("INSERT INTO ") + w
                        + QStringLiteral(" (ID, NR, NR2, NR2PER, DATAA, EMITENT, NUMERE, SUPRAF, PRET, CATEG, NRCAD,"
                                         " NRCARTE, DESTINATAR, TIPACT2, FUNCTIONAR)"
                                         " SELECT A.ID, A.NR, A.NR2, 0, A.DATAC, B.VANZATOR || ' ' || B.CNPCUI,"
                                         " substr(A.NRTARLA || ' /' || A.NRPARC || '/ ' || A.TARLA, 1, 254),"
                                         " A.SUPRAF, A.PRET, A.CATEG, A.NRCAD, A.NRCARTE, ?, ?, A.FUNCTIONAR FROM ")
                        + requestAndFirstSeller() + QStringLiteral(" WHERE A.DATAC>=? AND A.DATAC<=?"),
                    {unit, QString::fromLatin1(kRequestRowKind), job.from, job.to});
    const QString communications = QuotedTablePath(QStringLiteral("Comunicari.dbf"));
    auto insertCommunications = [&](const QString &rank, const QString &kind) {
        database().exec(QStringLiteral("INSERT INTO ") + w
                            + QStringLiteral(" (ID, NR, NR2, NR2PER, DATAA, EMITENT, TIPACT2, DESTINATAR, FUNCTIONAR)"
                                             " SELECT C.ID, C.NR, C.NR2, C.NR2PER, C.DATAC,"
                                             " C.CUMPARATOR || ' ' || C.CNPCUI, substr(? || ")
                            + requestNumber
                            + QStringLiteral(" || '/ ' || B.VANZATOR, 1, 248), ?, A.FUNCTIONAR FROM ") + communications
                            + QStringLiteral(" C JOIN ") + requestAndFirstSeller(QStringLiteral("A.ID=C.ID"))
                            + QStringLiteral(" WHERE C.RANG") + rank
                            + QStringLiteral(" AND C.DATAC>=? AND C.DATAC<=?"),
                        {kind, unit, job.from, job.to});
    };
    insertCommunications(QStringLiteral("<100"), QStringLiteral("Comunicare de acceptare -Cererea "));
    insertCommunications(QStringLiteral("=100"), QStringLiteral("Cerere inreg.oferta de cumparare -Cererea "));
    database().exec(QStringLiteral("INSERT INTO ") + w
                        + QStringLiteral(" (ID, NR, NR2, NR2PER, DATAA, DATAEXP, EMITENT, DESTINATAR, TIPACT2, FUNCTIONAR)"
                                         " SELECT D.ID, D.NR, D.NR2, D.NR2PER, D.DATAA, D.DATAEXP, D.EMITENT,"
                                         " D.DESTINATAR, substr(D.TIPACT || ' -Oferta ' || ")
                        + requestNumber + QStringLiteral(" || '/ ' || B.VANZATOR, 1, 248), ? FROM ")
                        + QuotedTablePath(QStringLiteral("AlteActe.dbf")) + QStringLiteral(" D JOIN ")
                        + requestAndFirstSeller(QStringLiteral("A.ID=D.ID"))
                        + QStringLiteral(" WHERE D.DATAA>=? AND D.DATAA<=?"),
                    {clerk, job.from, job.to});
    progress.step();

    // Every row completed: its display number, the days of its dates. A
    // dispatch date before 2014 (the day 1 that stands for none included)
    // shows as single blanks. The other sellers of a request go on the
    // request's own row only: a communication comes from its buyer and an act
    // from its emitent, whom the request's sellers would follow by mistake.
    const QString dispatch = QStringLiteral("CASE WHEN strftime('%Y', DATAEXP)>='2014' THEN strftime('%1', DATAEXP)"
                                            " ELSE ' ' END");
    database().exec(
        QStringLiteral("UPDATE ") + w + QStringLiteral(" SET NR2S=")
            + (perRequest ? QStringLiteral("CASE WHEN NR2PER>0 THEN CAST(NR2 AS TEXT) || '/' || CAST(NR2PER AS TEXT)"
                                           " ELSE CAST(NR2 AS TEXT) END")
                          : QStringLiteral("CAST(NR AS TEXT)"))
            + QStringLiteral(", ZI=strftime('%d', DATAA), LU=strftime('%m', DATAA), AN=strftime('%Y', DATAA), Z1=")
            + dispatch.arg(QStringLiteral("%d")) + QStringLiteral(", L1=") + dispatch.arg(QStringLiteral("%m"))
            + QStringLiteral(", A1=") + dispatch.arg(QStringLiteral("%Y"))
            + QStringLiteral(", VANZATOR2X=CASE WHEN TIPACT2=? THEN trim((SELECT group_concat(S.VANZATOR || ' ' ||"
                             " S.CNPCUI || '; ', '') FROM (SELECT VANZATOR, CNPCUI FROM ")
            + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
            + QStringLiteral(" V WHERE V.ID=") + w + QStringLiteral(".ID AND V.NRCRT>1 ORDER BY V.NRCRT) S)) END"),
        {QString::fromLatin1(kRequestRowKind)});
    progress.step();
}

sqlstore::Query outputFormat1(const QString &table, bool perRequest)
{
    // A blank text field reads back empty: the single blanks of a missing
    // dispatch date are given back here.
    return database().query(
        QStringLiteral("SELECT NR, NR2S, ZI, LU, AN, ifnull(nullif(Z1, ''), ' ') AS Z1, ifnull(nullif(L1, ''), ' ') AS L1,"
                       " ifnull(nullif(A1, ''), ' ') AS A1, rtrim(EMITENT || ' ' || VANZATOR2X) AS EMITENT,"
                       " NUMERE, SUPRAF, PRET, CATEG, NRCAD, NRCARTE AS CARTE, DESTINATAR, TIPACT2, FUNCTIONAR FROM ")
        + quoted(table) + (perRequest ? QStringLiteral(" ORDER BY AN, NR2S") : QStringLiteral(" ORDER BY AN, NR")));
}

void gatherFormat2(const QString &table, const RegisterExport &job, bool perRequest, ProgressShown &progress)
{
    const QString w = quoted(table);
    database().exec(QStringLiteral("CREATE TABLE ") + w
                    + QStringLiteral(" (ID DECIMAL(10,0), NR DECIMAL(10,0), DATAC DATE, DOSAR CHAR(12),"
                                     " VANZATOR CHAR(254), ADRESAV CHAR(230), COMUNA CHAR(32), SUPRAF CHAR(24),"
                                     " NRCAD CHAR(80), NRCARTE CHAR(80), NRTARLA CHAR(20), NRPARC CHAR(100),"
                                     " CATEG CHAR(254), PRET DECIMAL(12,2))"));
    database().exec(QStringLiteral("INSERT INTO ") + w
                        + QStringLiteral(" (ID, NR, DATAC, DOSAR, COMUNA, SUPRAF, NRCAD, NRCARTE, NRTARLA, NRPARC,"
                                         " CATEG, PRET) SELECT ID, ")
                        + (perRequest ? QStringLiteral("NR2") : QStringLiteral("NR"))
                        + QStringLiteral(", DATAC, NRDOSAR, ?, SUPRAF, NRCAD, NRCARTE, NRTARLA, NRPARC, CATEG, PRET FROM ")
                        + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                        + QStringLiteral(" WHERE DATAC>=? AND DATAC<=?"),
                    {ReadSetting(QStringLiteral("CONST"), QStringLiteral("LOCALIT")), job.from, job.to});

    // The sellers of every gathered request, read once in order.
    sqlstore::Query sellers = database().query(
        QStringLiteral("SELECT ID, VANZATOR, LOCV, ADRESA, JUDET FROM ")
        + QuotedTablePath(QStringLiteral("Vanzatori.dbf")) + QStringLiteral(" WHERE ID IN (SELECT ID FROM ") + w
        + QStringLiteral(") ORDER BY ID, NRCRT"));
    sqlstore::Query requests = database().query(QStringLiteral("SELECT ID FROM ") + w);
    progress.restart(requests.rowCount());
    QHash<qlonglong, std::pair<QString, QString>> sellerTexts;
    for (int r = 0; r < sellers.rowCount(); ++r) {
        const qlonglong id = sellers.valueAt(r, 0).toLongLong();
        auto it = sellerTexts.find(id);
        if (it == sellerTexts.end())
            it = sellerTexts.insert(id, {QString(), sellers.valueAt(r, 2).toString() + QLatin1Char(' ')
                                                        + sellers.valueAt(r, 3).toString() + QStringLiteral(", jud.")
                                                        + sellers.valueAt(r, 4).toString()});
        it->first += sellers.valueAt(r, 1).toString() + QStringLiteral("; ");
    }
    for (int r = 0; r < requests.rowCount(); ++r) {
        const qlonglong id = requests.valueAt(r, 0).toLongLong();
        const auto it = sellerTexts.constFind(id);
        if (it != sellerTexts.constEnd())
            database().exec(QStringLiteral("UPDATE ") + w + QStringLiteral(" SET VANZATOR=?, ADRESAV=? WHERE ID=?"),
                            {it->first.trimmed().left(254), it->second.left(230), id});
        progress.step();
    }
}

sqlstore::Query outputFormat2(const QString &table)
{
    return database().query(QStringLiteral("SELECT ID, NR, DATAC, DOSAR, VANZATOR, ADRESAV, COMUNA, SUPRAF, NRCAD,"
                                           " NRCARTE, NRTARLA, NRPARC, CATEG, PRET FROM ")
                            + quoted(table) + QStringLiteral(" ORDER BY DATAC, NR"));
}

bool prepareTemplate(const RegisterExport &job, const QString &copy, SpreadsheetTemplate &model, QString *error)
{
    const QString resource = job.format == 1 ? QStringLiteral("Registru") : QStringLiteral("RegisXXL");
    QString why;
    if (job.templatePath.isEmpty()) {
        if (!ExtractResource(resource, QString::fromLatin1(kResourceTemplate), copy, &why)) {
            *error = QStringLiteral("Modelul %1 nu poate fi scris: %2").arg(resource, why);
            return false;
        }
    } else {
        QFile::remove(copy);
        if (!QFile::copy(job.templatePath, copy)) {
            *error = QStringLiteral("Modelul %1 nu poate fi citit.").arg(QDir::toNativeSeparators(job.templatePath));
            return false;
        }
    }
    // The clerk knows the template by its name, not by the scratch copy's.
    const QString name = job.templatePath.isEmpty() ? resource : QDir::toNativeSeparators(job.templatePath);
    if (!model.open(copy, &why)) {
        *error = why.replace(copy, name);
        return false;
    }
    if (model.templateRow() < 0) {
        *error = QStringLiteral("Modelul %1 nu are randul marcat cu #DBF.").arg(name);
        return false;
    }
    return true;
}

} // namespace

bool WriteRegisterSpreadsheet(const RegisterExport &job, Prompter &prompter, QString *error)
{
    if (job.format != 1 && job.format != 2) {
        *error = QStringLiteral("Formatul registrului este 1 sau 2.");
        return false;
    }
    if (!job.from.isValid() || !job.to.isValid() || job.to < job.from) {
        *error = QStringLiteral("Perioada incorecta!");
        return false;
    }
    ScratchFiles scratch;
    if (scratch.table.isEmpty() || scratch.model.isEmpty()) {
        *error = QStringLiteral("Nu se gaseste un nume liber pentru fisierele de lucru in %1.")
                     .arg(QDir::toNativeSeparators(session().programFolder));
        return false;
    }
    SpreadsheetTemplate model;
    if (!prepareTemplate(job, scratch.model, model, error))
        return false;

    const QString period = shortDate(job.from) + QStringLiteral(" - ") + shortDate(job.to);
    ProgressShown progress(prompter, job.format == 1 ? 3 : 1);
    try {
        const bool perRequest = perRequestNumbering();
        scratch.tableMade = true;
        sqlstore::Query rows;
        if (job.format == 1) {
            gatherFormat1(scratch.table, job, perRequest, progress);
            rows = outputFormat1(scratch.table, perRequest);
            progress.step();
            model.replace(QStringLiteral("#UNITATE"), ReadSetting(QStringLiteral("CONST"), QStringLiteral("UNITATE")));
            model.replace(QStringLiteral("#PERIOADA"), QStringLiteral("perioada ") + period);
        } else {
            gatherFormat2(scratch.table, job, perRequest, progress);
            rows = outputFormat2(scratch.table);
            model.replace(QStringLiteral("[PERIOADA]"), QStringLiteral("in perioada ") + period);
        }
        // Writing the rows moves the bar again, one step a row.
        progress.restart(rows.rowCount());
        model.fillRows(rows, true, [&] { progress.step(); });
        progress.end();
        model.save(job.output);
    } catch (const sqlstore::SqlError &e) {
        *error = e.message();
        return false;
    } catch (const xls::XlsError &e) {
        *error = QStringLiteral("Registrul nu poate fi scris: %1.").arg(e.message());
        return false;
    }
    return true;
}

QString ProduceRegisterSpreadsheet(int format, const QDate &from, const QDate &to, Prompter &prompter, QString *error)
{
    RegisterExport job;
    job.format = format;
    job.from = from;
    job.to = to;
    job.output = TempFileName(QStringLiteral("Tmp"), QStringLiteral(".xls"));
    if (job.output.isEmpty()) {
        *error = QStringLiteral("Nu se gaseste un nume liber pentru registru in %1.")
                     .arg(QDir::toNativeSeparators(session().programFolder));
        return {};
    }
    if (!WriteRegisterSpreadsheet(job, prompter, error))
        return {};
    platform::openWithAssociatedProgram(job.output);
    return job.output;
}
