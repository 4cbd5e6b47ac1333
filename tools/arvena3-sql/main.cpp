// arvena3-sql: the administrator's console over a data folder.
//
//     arvena3-sql --data DIR "SELECT * FROM Cereri WHERE ID = 12"
//     arvena3-sql --data DIR "BEGIN; UPDATE Cereri SET STARE=4 WHERE ID=12; DELETE FROM Log WHERE ID=12; COMMIT"
//     arvena3-sql --data DIR < script.sql        (or "-" for the statements)
//     arvena3-sql --check DIR
//
// The first forms run a script of statements separated by ";", from the
// argument or from standard input; a bare table name (Cereri) or a quoted
// path names a table file. A result is printed as CSV with a header line, in
// UTF-8; other statements print how many rows they changed. The script stops
// at the first statement that fails; between BEGIN and COMMIT its statements
// count together or not at all, and a transaction the script leaves open is
// rolled back. The last form checks every table of the folder and lists what
// is wrong. The exit status is 0 only on success; errors go to stderr in one
// line.
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

void runStatement(const QString &sql, QTextStream &out)
{
    const QString keyword = sqlstore::leadingKeyword(sqlstore::tokenize(sql));
    if (keyword == QLatin1String("SELECT") || keyword == QLatin1String("WITH") || keyword == QLatin1String("VALUES")) {
        printCsv(sqlstore::database().query(sql), out);
    } else {
        const int changed = sqlstore::database().execCount(sql);
        if (keyword != QLatin1String("BEGIN") && keyword != QLatin1String("COMMIT") && keyword != QLatin1String("END")
            && keyword != QLatin1String("ROLLBACK"))
            out << "randuri modificate: " << changed << '\n';
    }
    out.flush();
}

int runScript(const QString &folder, const QString &script)
{
    if (!QDir(folder).exists()) {
        std::fprintf(stderr, "arvena3-sql: dosarul %s nu exista\n", qPrintable(folder));
        return 2;
    }
    sqlstore::database().setTableFolder(folder);
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString &statement : sqlstore::splitStatements(script))
        runStatement(statement, out);
    if (sqlstore::database().inTransaction()) {
        sqlstore::database().exec(QStringLiteral("ROLLBACK"));
        std::fprintf(stderr, "arvena3-sql: tranzactia nu s-a incheiat cu COMMIT si a fost anulata\n");
        return 1;
    }
    return 0;
}

QString standardInput()
{
    QTextStream in(stdin);
    in.setEncoding(QStringConverter::Utf8);
    return in.readAll();
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
    std::fprintf(stderr, "folosire: arvena3-sql --data DOSAR [\"COMENZI\" | -] | arvena3-sql --check DOSAR\n"
                         "(fara comenzi, sau cu -, comenzile se citesc de la intrarea standard)\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == QLatin1String("--data"))
            return runScript(args[1], args[2] == QLatin1String("-") ? standardInput() : args[2]);
        if (args.size() == 2 && args[0] == QLatin1String("--data"))
            return runScript(args[1], standardInput());
        if (args.size() == 2 && args[0] == QLatin1String("--check"))
            return checkFolder(args[1]);
        return usage();
    } catch (const sqlstore::SqlError &e) {
        std::fprintf(stderr, "arvena3-sql: %s\n", e.message().simplified().toUtf8().constData());
        return 1;
    }
}
