#include "datastore/dbf/tablecheck.h"

#include "datastore/dbf/codepage.h"
#include "datastore/dbf/tablefile.h"

namespace dbf {
namespace {

QString problemOf(const Field &f, const char *record)
{
    const char *value = record + f.offset;
    ValueState state = ValueState::Ok;
    QString kind;
    switch (f.type) {
    case 'N':
    case 'F': {
        bool isInteger = false;
        qint64 integer = 0;
        double real = 0;
        state = readNumber(value, f.width, &isInteger, &integer, &real);
        kind = QStringLiteral("un numar");
        break;
    }
    case 'D': {
        int y = 0, m = 0, d = 0;
        state = readDate(value, &y, &m, &d);
        kind = QStringLiteral("o data");
        break;
    }
    case 'L': {
        bool truth = false;
        state = readLogical(value[0], &truth);
        kind = QStringLiteral("o valoare logica");
        break;
    }
    default:
        return {};
    }
    if (state != ValueState::Damaged)
        return {};
    return QStringLiteral("campul %1: \"%2\" nu este %3").arg(f.name, decodeText(value, f.width), kind);
}

} // namespace

QStringList checkTable(const QString &path, int limit)
{
    QStringList problems;
    int more = 0;
    auto report = [&](const QString &line) {
        if (problems.size() < limit)
            problems.append(line);
        else
            ++more;
    };
    try {
        auto table = TableFile::open(path);
        table->begin(LockMode::Shared);
        try {
            for (quint32 row = 0; row < table->rowCount(); ++row) {
                const Record r = table->record(row);
                if (r.data[0] != ' ' && r.data[0] != '*')
                    report(QStringLiteral("randul %1: semnul de stergere este \"%2\"").arg(row + 1).arg(QChar(r.data[0])));
                for (const Field &f : table->fields()) {
                    const QString problem = problemOf(f, r.data);
                    if (!problem.isEmpty())
                        report(QStringLiteral("randul %1, %2").arg(row + 1).arg(problem));
                }
            }
        } catch (...) {
            table->end();
            throw;
        }
        table->end();
    } catch (const DbfError &e) {
        report(e.message());
    }
    if (more > 0)
        problems.append(QStringLiteral("... si inca %1 probleme").arg(more));
    return problems;
}

} // namespace dbf
