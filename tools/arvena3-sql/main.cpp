// arvena3-sql: the administrator's console over a data folder.
//
//     arvena3-sql --data DIR "SELECT * FROM Cereri WHERE ID = 12"
//     arvena3-sql --check DIR
//
// The first form runs one statement; a bare table name (Cereri) or a quoted
// path names a table file. A result is printed as CSV with a header line, in
// UTF-8; other statements print how many rows they changed. The second form
// checks every table of the folder and lists what is wrong. The exit status
// is 0 only on success; errors go to stderr in one line.
#include "datastore/dbf/tablecheck.h"
#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

QString csvField(const QVariant &value, const sqlstore::FieldInfo &field)
{
    if (!value.isValid() || value.isNull())
        return {};
    QString text;
    switch (value.typeId()) {
    case QMetaType::QDate:
        text = value.toDate().toString(Qt::ISODate);
        break;
    case QMetaType::Double:
        text = field.decimals > 0 ? QString::number(value.toDouble(), 'f', field.decimals)
                                  : QString::number(value.toDouble(), 'g', 15);
        break;
    default:
        text = value.toString();
    }
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r')) || text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' ')))
        text = QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return text;
}

void printCsv(const sqlstore::Query &q, QTextStream &out)
{
    QStringList header;
    for (int c = 0; c < q.columnCount(); ++c)
        header.append(csvField(q.field(c).name, sqlstore::FieldInfo()));
    out << header.join(QLatin1Char(',')) << '\n';
    for (int r = 0; r < q.rowCount(); ++r) {
        QStringList line;
        for (int c = 0; c < q.columnCount(); ++c)
            line.append(csvField(q.valueAt(r, c), q.field(c)));
        out << line.join(QLatin1Char(',')) << '\n';
    }
}

int runStatement(const QString &folder, const QString &sql)
{
    if (!QDir(folder).exists()) {
        std::fprintf(stderr, "arvena3-sql: dosarul %s nu exista\n", qPrintable(folder));
        return 2;
    }
    sqlstore::database().setTableFolder(folder);
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    const QString keyword = sqlstore::leadingKeyword(sqlstore::tokenize(sql));
    if (keyword == QLatin1String("SELECT") || keyword == QLatin1String("WITH") || keyword == QLatin1String("VALUES")) {
        printCsv(sqlstore::database().query(sql), out);
    } else {
        const int changed = sqlstore::database().execCount(sql);
        out << "randuri modificate: " << changed << '\n';
    }
    return 0;
}

int checkFolder(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        std::fprintf(stderr, "arvena3-sql: dosarul %s nu exista\n", qPrintable(folder));
        return 2;
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    int damaged = 0;
    const QStringList files = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : files) {
        if (!name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
            continue;
        const QStringList problems = dbf::checkTable(dir.filePath(name));
        if (problems.isEmpty()) {
            out << name << ": in regula\n";
            continue;
        }
        ++damaged;
        for (const QString &p : problems)
            out << name << ": " << p << '\n';
    }
    out.flush();
    if (damaged > 0) {
        std::fprintf(stderr, "arvena3-sql: %d tabele au probleme\n", damaged);
        return 1;
    }
    return 0;
}

int usage()
{
    std::fprintf(stderr, "folosire: arvena3-sql --data DOSAR \"COMANDA\" | arvena3-sql --check DOSAR\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == QLatin1String("--data"))
            return runStatement(args[1], args[2]);
        if (args.size() == 2 && args[0] == QLatin1String("--check"))
            return checkFolder(args[1]);
        return usage();
    } catch (const sqlstore::SqlError &e) {
        std::fprintf(stderr, "arvena3-sql: %s\n", e.message().simplified().toUtf8().constData());
        return 1;
    }
}
