#include "register/documents/documentdata.h"

#include "admin/administration.h"
#include "datastore/calendar.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "dialogs/cnprules.h"

namespace {

using sqlstore::database;

QString tableOf(const char *file)
{
    return QuotedTablePath(QString::fromLatin1(file));
}

QList<Row> rowsOf(sqlstore::Query q)
{
    QList<Row> rows;
    for (bool more = q.first(); more; more = q.next())
        rows.append(RowOf(q));
    return rows;
}

// A stage term: a whole number of days, else the dialog's default.
int termDays(const QString &key, int fallback)
{
    bool whole = false;
    const int days = ReadSetting(QStringLiteral("CONST"), key).trimmed().toInt(&whole);
    return whole && days > 0 ? days : fallback;
}

} // namespace

void Row::set(const QString &field, const QString &printed, const QVariant &stored)
{
    const QString key = field.toUpper();
    if (!text.contains(key))
        names.append(key);
    text.insert(key, printed);
    value.insert(key, stored.isValid() ? stored : QVariant(printed));
}

QString ShortDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString PrintedValue(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return ShortDate(value.toDate());
    case QMetaType::Double:
    case QMetaType::Float: {
        QString text = QString::number(value.toDouble(), 'f', 6);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return text == QLatin1String("-0") ? QStringLiteral("0") : text;
    }
    default:
        return value.toString().trimmed();
    }
}

Row RowOf(const sqlstore::Query &query)
{
    Row row;
    for (int c = 0; c < query.columnCount(); ++c) {
        const QVariant v = query.value(c);
        row.set(query.field(c).name, PrintedValue(v), v);
    }
    return row;
}

DocumentSettings LoadDocumentSettings()
{
    DocumentSettings s;
    const QString section = QStringLiteral("CONST");
    s.unitate = ReadSetting(section, QStringLiteral("UNITATE"));
    s.localit = ReadSetting(section, QStringLiteral("LOCALIT"));
    const int county = int(ReadSettingNumber(section, QStringLiteral("JUDET")) / 10000);
    const QStringList &counties = CountyNames();
    s.judet = county >= 0 && county < counties.size() ? counties.at(county) : QString();
    s.primar = ReadSetting(section, QStringLiteral("PRIMAR"));
    s.secretar = ReadSetting(section, QStringLiteral("SECRETAR"));
    s.site = ReadSetting(section, QStringLiteral("SITE"));
    s.perRequestNumbering = NumberingType() == 2;
    s.terms.stageOneWorkingDays = termDays(QStringLiteral("ZileEt1"), 47);
    s.terms.stageTwoCalendarDays = termDays(QStringLiteral("ZileEt2"), 30);
    return s;
}

RequestRecord LoadRequest(qint64 id, const DocumentSettings &settings, bool *found)
{
    // The register's row of the request: the request with its first seller.
    const QString sql = QStringLiteral(
                            "SELECT A.*, B.VANZATOR, B.CNPCUI, B.LOCV, B.ADRESA, B.JUDET, B.TEL, B.MANDATAR,"
                            " B.MCALITATE, B.MCONFORM, B.MTEL, B.MCNPCUI, B.MLOCV, B.MADRESA, B.MJUDET, B.MCODPOST,"
                            " B.MBI, B.MBISERIA, B.MBINR, B.MBIELIB, B.MBIDATA FROM ")
                        + tableOf("Cereri.dbf") + QStringLiteral(" A LEFT JOIN ") + tableOf("Vanzatori.dbf")
                        + QStringLiteral(" B ON A.ID=B.ID AND B.NRCRT=1 WHERE A.ID=?");
    sqlstore::Query q = database().query(sql, {id});
    RequestRecord r;
    *found = q.first();
    if (!*found)
        return r;
    r.row = RowOf(q);
    r.id = id;
    RequestFacts facts;
    facts.datac = r.row.date(QStringLiteral("DATAC")).isValid() ? ToDaySerial(r.row.date(QStringLiteral("DATAC"))) : 0;
    facts.stare = int(r.row.number(QStringLiteral("STARE")));
    facts.pv1 = r.row[QStringLiteral("PV1")];
    facts.nr = r.row.number(QStringLiteral("NR"));
    facts.nr2 = r.row.number(QStringLiteral("NR2"));
    const RequestColumns c = ComputeRequestColumns(facts, settings.terms, settings.perRequestNumbering,
                                                   ToDaySerial(QDate::currentDate()));
    auto serialDate = [](int serial) { return serial > 0 ? FromDaySerial(serial) : QDate(); };
    r.row.set(QStringLiteral("NRS"), c.NRS);
    r.row.set(QStringLiteral("ZileRamase"), QString::number(c.ZileRamase), c.ZileRamase);
    r.row.set(QStringLiteral("STARES"), c.STARES);
    r.row.set(QStringLiteral("HINTS"), c.HINTS);
    r.row.set(QStringLiteral("Expirat"), c.Expirat);
    r.row.set(QStringLiteral("DataScad1"), ShortDate(serialDate(c.DataScad1)), serialDate(c.DataScad1));
    r.row.set(QStringLiteral("DataScad2"), ShortDate(serialDate(c.DataScad2)), serialDate(c.DataScad2));
    r.row.set(QStringLiteral("DataScad"), ShortDate(serialDate(c.DataScad)), serialDate(c.DataScad));
    r.number = c.NRS;
    r.dataScad1 = c.DataScad1;
    r.dataScad2 = c.DataScad2;
    r.stageOne = facts.pv1 == QLatin1String("N");
    r.naturalPerson = r.row[QStringLiteral("TIPPF")] == QLatin1String("FIZICA");
    r.legalPerson = r.row[QStringLiteral("TIPPF")] == QLatin1String("JURIDICA");
    r.sellerCount = r.legalPerson ? 1 : int(r.row.number(QStringLiteral("NRV")));
    return r;
}

QList<Row> LoadSellers(qint64 id)
{
    return rowsOf(database().query(QStringLiteral("SELECT * FROM ") + tableOf("Vanzatori.dbf")
                                       + QStringLiteral(" WHERE ID=? ORDER BY NRCRT"),
                                   {id}));
}

QList<Row> LoadHolders(qint64 id)
{
    return rowsOf(database().query(QStringLiteral("SELECT * FROM ") + tableOf("Preemptori.dbf")
                                       + QStringLiteral(" WHERE ID=? ORDER BY RANG, IDP"),
                                   {id}));
}

QList<Row> LoadAnswers(qint64 id, bool stageOne)
{
    return rowsOf(database().query(QStringLiteral("SELECT * FROM ") + tableOf("Comunicari.dbf")
                                       + QStringLiteral(" WHERE ID=? AND ")
                                       + (stageOne ? QStringLiteral("RANG<100") : QStringLiteral("RANG=100"))
                                       + QStringLiteral(" ORDER BY DATAC, NR"),
                                   {id}));
}

Row LoadAct(qint64 ida)
{
    const QList<Row> rows = rowsOf(database().query(
        QStringLiteral("SELECT * FROM ") + tableOf("AlteActe.dbf") + QStringLiteral(" WHERE IDA=?"), {ida}));
    return rows.isEmpty() ? Row() : rows.first();
}

Row LoadAnswer(qint64 idc)
{
    const QList<Row> rows = rowsOf(database().query(
        QStringLiteral("SELECT * FROM ") + tableOf("Comunicari.dbf") + QStringLiteral(" WHERE IDC=?"), {idc}));
    return rows.isEmpty() ? Row() : rows.first();
}

QList<Row> LoadActsOfKind(qint64 id, const QString &kind)
{
    return rowsOf(database().query(QStringLiteral("SELECT * FROM ") + tableOf("AlteActe.dbf")
                                       + QStringLiteral(" WHERE ID=? AND BLOCAT=? ORDER BY DATAA, NR"),
                                   {id, kind}));
}

QString ActNumber(const Row &act, bool perRequestNumbering)
{
    return EntryDisplayNumber(act.number(QStringLiteral("NR")), act.number(QStringLiteral("NR2")),
                              act.number(QStringLiteral("NR2PER")), perRequestNumbering);
}

QString NumberBefore(const QString &number, qint64 steps)
{
    const qsizetype slash = number.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString::number(number.toLongLong() - steps);
    return number.left(slash + 1) + QString::number(number.mid(slash + 1).toLongLong() - steps);
}

bool IsMaleCode(const QString &code)
{
    return CnpSex(code.trimmed()) == QLatin1String("masculin");
}

QString BirthDateOfCode(const QString &code)
{
    const QString digits = code.trimmed();
    return CnpCorect(digits, false) ? ShortDate(CnpNascutLa(digits)) : QString();
}
