#include "datastore/sql/dbfmodule.h"

#include "datastore/dbf/codepage.h"
#include "datastore/dbf/dbfformat.h"
#include "datastore/dbf/tablefile.h"
#include "datastore/sql/sqliteboundary.h"
#include "datastore/sql/sqltext.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace sqlstore {
namespace {

using dbf::Field;
using dbf::TableFile;

// One virtual table.
struct DbfTable {
    // Must come first: SQLite sees this part.
    sqlite3_vtab base;
    // The file.
    std::shared_ptr<TableFile> file;
    // Path shown in messages.
    QString path;
};

// One scan of a table.
struct DbfCursor {
    // Must come first: SQLite sees this part.
    sqlite3_vtab_cursor base;
    // The table scanned.
    DbfTable *table = nullptr;
    // Rows to visit when an index answered the scan; all rows otherwise.
    std::vector<quint32> candidates;
    bool useCandidates = false;
    // Position in candidates, or the row itself in a full scan.
    size_t position = 0;
    // Current row and its record.
    quint32 row = 0;
    dbf::Record record;
    bool atEnd = true;
    // Scratch space for decoding text.
    std::string text;
};

// Plans: idxNum 0 is a full scan; idxNum k > 0 looks up equality on column
// k - 1; idxNum -k a range of column k - 1, whose bounds idxStr names.
constexpr int kFullScan = 0;

void setError(sqlite3_vtab *vtab, const QString &message)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", message.toUtf8().constData());
}

QString shownPath(const DbfTable *table)
{
    return QDir::toNativeSeparators(table->path);
}

QString unquoteArgument(const char *argument)
{
    QString s = QString::fromUtf8(argument).trimmed();
    if (s.size() >= 2 && (s.front() == '\'' || s.front() == '"') && s.back() == s.front()) {
        const QChar quote = s.front();
        s = s.mid(1, s.size() - 2);
        s.replace(QString(2, quote), QString(quote));
    }
    return s;
}

QString schemaOf(const TableFile &file)
{
    QString sql = QStringLiteral("CREATE TABLE x(");
    QStringList seen;
    for (int i = 0; i < file.fields().size(); ++i) {
        const Field &f = file.fields()[i];
        QString name = f.name;
        // A damaged header may repeat a name; SQLite needs distinct ones.
        for (int k = 1; seen.contains(name, Qt::CaseInsensitive); ++k)
            name = f.name + QStringLiteral("_%1").arg(k);
        seen.append(name);
        if (i > 0)
            sql += QStringLiteral(", ");
        sql += quoteName(name) + QLatin1Char(' ') + declaredType(f.type, f.width, f.decimals);
    }
    return sql + QLatin1Char(')');
}

int connectTable(sqlite3 *db, void *, int argc, const char *const *argv, sqlite3_vtab **out, char **error)
{
    if (argc < 4) {
        *error = sqlite3_mprintf("dbf: lipseste calea tabelei");
        return SQLITE_ERROR;
    }
    auto table = std::make_unique<DbfTable>();
    std::memset(&table->base, 0, sizeof table->base);
    table->path = unquoteArgument(argv[3]);
    QString problem;
    bool outOfMemory = false;
    int rc = SQLITE_OK;
    const bool ran = runGuarded(
        [&] {
            table->file = TableFile::open(table->path);
            table->path = table->file->path();
            // The caller normally holds a lock already; reading the header
            // under a shared lock of our own is harmless then and needed
            // otherwise.
            table->file->begin(dbf::LockMode::Shared);
            const QString schema = schemaOf(*table->file);
            table->file->end();
            rc = sqlite3_declare_vtab(db, schema.toUtf8().constData());
            if (rc != SQLITE_OK)
                problem = QStringLiteral("Tabela %1: campurile nu pot fi declarate (%2)")
                              .arg(table->path, QString::fromUtf8(sqlite3_errmsg(db)));
        },
        &problem, &outOfMemory);
    if (outOfMemory)
        return SQLITE_NOMEM;
    if (!ran || rc != SQLITE_OK) {
        *error = sqlite3_mprintf("%s", problem.toUtf8().constData());
        return ran ? rc : SQLITE_ERROR;
    }
    *out = &table.release()->base;
    return SQLITE_OK;
}

int disconnectTable(sqlite3_vtab *vtab)
{
    delete reinterpret_cast<DbfTable *>(vtab);
    return SQLITE_OK;
}

bool indexable(const Field &f)
{
    return f.type == 'N' || f.type == 'F' || f.type == 'C';
}

bool isNumeric(const Field &f)
{
    return f.type == 'N' || f.type == 'F';
}

bool isRangeOperator(unsigned char op)
{
    return op == SQLITE_INDEX_CONSTRAINT_GT || op == SQLITE_INDEX_CONSTRAINT_GE || op == SQLITE_INDEX_CONSTRAINT_LT
           || op == SQLITE_INDEX_CONSTRAINT_LE;
}

// The letter that tells xFilter what an argument bounds: g >, G >=, l <, L <=.
char rangeLetter(unsigned char op)
{
    switch (op) {
    case SQLITE_INDEX_CONSTRAINT_GT: return 'g';
    case SQLITE_INDEX_CONSTRAINT_GE: return 'G';
    case SQLITE_INDEX_CONSTRAINT_LT: return 'l';
    default: return 'L';
    }
}

int planScan(sqlite3_vtab *vtab, sqlite3_index_info *info)
{
    auto *table = reinterpret_cast<DbfTable *>(vtab);
    const QList<Field> &fields = table->file->fields();
    const double rows = qMax<double>(1, table->file->rowCount());
    auto usable = [&](int i) {
        const auto &c = info->aConstraint[i];
        return c.usable && c.iColumn >= 0 && c.iColumn < fields.size();
    };
    auto isId = [&](int column) { return fields[column].type == 'N' && fields[column].decimals == 0; };

    // Equality first; whole-number columns (the ids) are the best keys.
    int chosen = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (!usable(i) || c.op != SQLITE_INDEX_CONSTRAINT_EQ || !indexable(fields[c.iColumn]))
            continue;
        if (chosen < 0 || (isId(c.iColumn) && !isId(info->aConstraint[chosen].iColumn)))
            chosen = i;
    }
    if (chosen >= 0) {
        info->idxNum = info->aConstraint[chosen].iColumn + 1;
        info->aConstraintUsage[chosen].argvIndex = 1;
        info->estimatedCost = 10;
        info->estimatedRows = 4;
        return SQLITE_OK;
    }

    // Then a range on one numeric column: at most one bound from each side.
    int column = -1;
    for (int i = 0; i < info->nConstraint && column < 0; ++i)
        if (usable(i) && isRangeOperator(info->aConstraint[i].op) && isNumeric(fields[info->aConstraint[i].iColumn]))
            column = info->aConstraint[i].iColumn;
    if (column >= 0) {
        std::string letters;
        bool low = false, high = false;
        for (int i = 0; i < info->nConstraint; ++i) {
            const auto &c = info->aConstraint[i];
            if (!usable(i) || c.iColumn != column || !isRangeOperator(c.op))
                continue;
            const char letter = rangeLetter(c.op);
            const bool lower = letter == 'g' || letter == 'G';
            if ((lower && low) || (!lower && high))
                continue;
            (lower ? low : high) = true;
            letters.push_back(letter);
            info->aConstraintUsage[i].argvIndex = int(letters.size());
        }
        info->idxNum = -(column + 1);
        info->idxStr = sqlite3_mprintf("%s", letters.c_str());
        info->needToFreeIdxStr = 1;
        const double share = (low && high) ? 0.1 : 0.3;
        info->estimatedCost = 20 + rows * share;
        info->estimatedRows = sqlite3_int64(rows * share);
        return SQLITE_OK;
    }

    info->idxNum = kFullScan;
    info->estimatedCost = rows * 1.1;
    info->estimatedRows = sqlite3_int64(rows);
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab *vtab, sqlite3_vtab_cursor **out)
{
    auto *cursor = new DbfCursor;
    std::memset(&cursor->base, 0, sizeof cursor->base);
    cursor->table = reinterpret_cast<DbfTable *>(vtab);
    *out = &cursor->base;
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor *base)
{
    delete reinterpret_cast<DbfCursor *>(base);
    return SQLITE_OK;
}

// Moves to the first live row at or after the current position.
int settle(DbfCursor *cursor)
{
    TableFile &file = *cursor->table->file;
    // Also what a failure below leaves: the scan ends.
    cursor->atEnd = true;
    for (;;) {
        if (cursor->useCandidates) {
            if (cursor->position >= cursor->candidates.size())
                break;
            cursor->row = cursor->candidates[cursor->position];
        } else {
            if (cursor->position >= file.rowCount())
                break;
            cursor->row = quint32(cursor->position);
        }
        cursor->record = file.record(cursor->row);
        if (!cursor->record.deleted()) {
            cursor->atEnd = false;
            return SQLITE_OK;
        }
        ++cursor->position;
    }
    cursor->record = dbf::Record();
    return SQLITE_OK;
}

// The key a text value has in the index: its Windows-1250 bytes without
// trailing blanks. Returns false when no stored value can equal it.
bool textKey(sqlite3_value *value, std::string &key)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    if (!text)
        return false;
    QByteArray bytes;
    if (!dbf::encodeUtf8(text, sqlite3_value_bytes(value), bytes))
        return false;
    key.assign(bytes.constData(), size_t(dbf::trimmedLength(bytes.constData(), int(bytes.size()))));
    return true;
}

// Candidates of a range plan; false when a bound is not a number (then the
// scan reads every row and SQLite judges them).
bool rangeCandidates(DbfCursor *cursor, int column, const char *letters, int argc, sqlite3_value **argv)
{
    TableFile::Bound low, high;
    for (int i = 0; i < argc && letters && letters[i]; ++i) {
        const int kind = sqlite3_value_numeric_type(argv[i]);
        if (kind != SQLITE_INTEGER && kind != SQLITE_FLOAT)
            return false;
        const char letter = letters[i];
        TableFile::Bound &bound = (letter == 'g' || letter == 'G') ? low : high;
        bound.given = true;
        bound.value = sqlite3_value_double(argv[i]);
        bound.inclusive = letter == 'G' || letter == 'L';
    }
    cursor->candidates = cursor->table->file->rowsInRange(column, low, high);
    return true;
}

int startScan(sqlite3_vtab_cursor *base, int idxNum, const char *idxStr, int argc, sqlite3_value **argv)
{
    auto *cursor = reinterpret_cast<DbfCursor *>(base);
    TableFile &file = *cursor->table->file;
    cursor->position = 0;
    cursor->candidates.clear();
    cursor->useCandidates = false;
    if (idxNum < 0) {
        cursor->useCandidates = rangeCandidates(cursor, -idxNum - 1, idxStr, argc, argv);
        return settle(cursor);
    }
    if (idxNum != kFullScan && argc >= 1) {
        const int column = idxNum - 1;
        const Field &f = file.fields()[column];
        sqlite3_value *value = argv[0];
        cursor->useCandidates = true;
        if (f.type == 'C') {
            std::string key;
            if (sqlite3_value_type(value) != SQLITE_NULL && textKey(value, key))
                cursor->candidates = file.rowsWithText(column, key);
        } else {
            const int kind = sqlite3_value_numeric_type(value);
            if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT)
                cursor->candidates = file.rowsWithNumber(column, sqlite3_value_double(value));
        }
    }
    return settle(cursor);
}

int nextRow(sqlite3_vtab_cursor *base)
{
    auto *cursor = reinterpret_cast<DbfCursor *>(base);
    ++cursor->position;
    return settle(cursor);
}

int eof(sqlite3_vtab_cursor *base)
{
    return reinterpret_cast<DbfCursor *>(base)->atEnd ? 1 : 0;
}

void resultText(sqlite3_context *context, const char *bytes, int length, std::string &scratch)
{
    bool ascii = true;
    for (int i = 0; i < length && ascii; ++i)
        ascii = (unsigned char)bytes[i] < 0x80;
    if (ascii) {
        sqlite3_result_text(context, bytes, length, SQLITE_TRANSIENT);
        return;
    }
    scratch.clear();
    dbf::decodeToUtf8(bytes, length, scratch);
    sqlite3_result_text(context, scratch.data(), int(scratch.size()), SQLITE_TRANSIENT);
}

// Puts the value of field `f` of a record into `context`.
void resultValue(sqlite3_context *context, const Field &f, const char *record, std::string &scratch)
{
    const char *value = record + f.offset;
    switch (f.type) {
    case 'N':
    case 'F': {
        bool isInteger = false;
        qint64 integer = 0;
        double real = 0;
        if (dbf::readNumber(value, f.width, &isInteger, &integer, &real) != dbf::ValueState::Ok)
            return sqlite3_result_null(context);
        if (isInteger && f.decimals == 0)
            return sqlite3_result_int64(context, integer);
        return sqlite3_result_double(context, isInteger ? double(integer) : real);
    }
    case 'D': {
        int y = 0, m = 0, d = 0;
        if (dbf::readDate(value, &y, &m, &d) != dbf::ValueState::Ok)
            return sqlite3_result_null(context);
        // The stored digits are already in order: only the dashes are new.
        const char iso[10] = {value[0], value[1], value[2], value[3], '-', value[4],
                              value[5], '-',      value[6], value[7]};
        return sqlite3_result_text(context, iso, 10, SQLITE_TRANSIENT);
    }
    case 'L': {
        bool truth = false;
        if (dbf::readLogical(value[0], &truth) != dbf::ValueState::Ok)
            return sqlite3_result_null(context);
        return sqlite3_result_int(context, truth ? 1 : 0);
    }
    default: {
        const int length = dbf::trimmedLength(value, f.width);
        if (length == 0)
            return sqlite3_result_null(context);
        return resultText(context, value, length, scratch);
    }
    }
}

int columnValue(sqlite3_vtab_cursor *base, sqlite3_context *context, int index)
{
    auto *cursor = reinterpret_cast<DbfCursor *>(base);
    const QList<Field> &fields = cursor->table->file->fields();
    if (index < 0 || index >= fields.size() || cursor->atEnd)
        return SQLITE_OK;
    // An UPDATE that leaves this column alone keeps its bytes as they are.
    if (sqlite3_vtab_nochange(context))
        return SQLITE_OK;
    resultValue(context, fields[index], cursor->record.data, cursor->text);
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor *base, sqlite_int64 *out)
{
    *out = reinterpret_cast<DbfCursor *>(base)->row;
    return SQLITE_OK;
}

QString shownValue(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return text ? QString::fromUtf8(text) : QString();
}

// Writes `value` into field `f` of `record`. Returns false with *why set when
// the value cannot be stored.
bool storeValue(const Field &f, sqlite3_value *value, char *record, QString *why)
{
    char *out = record + f.offset;
    const int kind = sqlite3_value_type(value);
    if (kind == SQLITE_NULL) {
        std::memset(out, ' ', size_t(f.width));
        return true;
    }
    switch (f.type) {
    case 'C': {
        QByteArray bytes;
        QString bad;
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        if (!dbf::encodeUtf8(text, sqlite3_value_bytes(value), bytes, &bad)) {
            *why = QStringLiteral("caracterul \"%1\" nu poate fi scris in codificarea Windows-1250").arg(bad);
            return false;
        }
        const int n = qMin(int(bytes.size()), f.width);
        std::memcpy(out, bytes.constData(), size_t(n));
        std::memset(out + n, ' ', size_t(f.width - n));
        return true;
    }
    case 'N':
    case 'F': {
        bool ok = false;
        if (kind == SQLITE_INTEGER) {
            ok = dbf::formatInteger(sqlite3_value_int64(value), f.width, f.decimals, out);
        } else if (kind == SQLITE_FLOAT) {
            ok = dbf::formatNumber(sqlite3_value_double(value), f.width, f.decimals, out);
        } else {
            const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
            const int length = sqlite3_value_bytes(value);
            if (dbf::trimmedLength(text, length) == 0 || QByteArray(text, length).trimmed().isEmpty()) {
                std::memset(out, ' ', size_t(f.width));
                return true;
            }
            double number = 0;
            if (!dbf::parseNumberText(text, length, &number)) {
                *why = QStringLiteral("valoarea \"%1\" nu este un numar").arg(shownValue(value));
                return false;
            }
            ok = dbf::formatNumber(number, f.width, f.decimals, out);
        }
        if (!ok)
            *why = QStringLiteral("numarul %1 nu incape in %2 caractere").arg(shownValue(value)).arg(f.width);
        return ok;
    }
    case 'D': {
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        const int length = sqlite3_value_bytes(value);
        if (kind == SQLITE_TEXT && QByteArray(text, length).trimmed().isEmpty()) {
            std::memset(out, ' ', 8);
            return true;
        }
        int y = 0, m = 0, d = 0;
        if (kind != SQLITE_TEXT || !dbf::parseDateText(text, length, &y, &m, &d)) {
            *why = QStringLiteral("valoarea \"%1\" nu este o data").arg(shownValue(value));
            return false;
        }
        dbf::formatDate(y, m, d, out);
        return true;
    }
    case 'L': {
        bool truth = false;
        if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) {
            truth = sqlite3_value_double(value) != 0;
        } else {
            const QString s = shownValue(value).trimmed().toUpper();
            if (s.isEmpty()) {
                out[0] = ' ';
                return true;
            }
            if (dbf::readLogical(s.at(0).toLatin1(), &truth) != dbf::ValueState::Ok) {
                *why = QStringLiteral("valoarea \"%1\" nu este logica").arg(s);
                return false;
            }
        }
        out[0] = truth ? 'T' : 'F';
        return true;
    }
    default:
        *why = QStringLiteral("campul de tip %1 nu poate fi scris").arg(QChar(f.type));
        return false;
    }
}

int changeRow(sqlite3_vtab *vtab, int argc, sqlite3_value **argv, sqlite_int64 *newRowid)
{
    auto *table = reinterpret_cast<DbfTable *>(vtab);
    TableFile &file = *table->file;
    if (argc == 1) {
        const quint32 row = quint32(sqlite3_value_int64(argv[0]));
        std::vector<char> bytes(size_t(file.header().recordLength));
        const char *staged = file.stagedRecord(row);
        std::memcpy(bytes.data(), staged ? staged : file.record(row).data, bytes.size());
        bytes[0] = '*';
        file.stageWrite(row, bytes.data());
        return SQLITE_OK;
    }
    const bool inserting = sqlite3_value_type(argv[0]) == SQLITE_NULL;
    if (sqlite3_value_type(argv[1]) != SQLITE_NULL
        && (inserting || sqlite3_value_int64(argv[1]) != sqlite3_value_int64(argv[0]))) {
        setError(vtab, QStringLiteral("Tabela %1: numarul randului nu poate fi schimbat").arg(shownPath(table)));
        return SQLITE_CONSTRAINT;
    }
    const QList<Field> &fields = file.fields();
    std::vector<char> bytes(size_t(file.header().recordLength), ' ');
    quint32 row = 0;
    if (!inserting) {
        row = quint32(sqlite3_value_int64(argv[0]));
        const char *staged = file.stagedRecord(row);
        std::memcpy(bytes.data(), staged ? staged : file.record(row).data, bytes.size());
    }
    for (int i = 0; i < fields.size() && i + 2 < argc; ++i) {
        sqlite3_value *value = argv[i + 2];
        if (!inserting && sqlite3_value_nochange(value))
            continue;
        QString why;
        if (!storeValue(fields[i], value, bytes.data(), &why)) {
            setError(vtab, QStringLiteral("Tabela %1, campul %2: %3").arg(shownPath(table), fields[i].name, why));
            return SQLITE_CONSTRAINT;
        }
    }
    bytes[0] = ' ';
    if (inserting)
        *newRowid = file.stageAppend(bytes.data());
    else
        file.stageWrite(row, bytes.data());
    return SQLITE_OK;
}

// The methods SQLite calls, each through the boundary that keeps exceptions
// out of SQLite. The module has no transaction methods: transactions over the
// tables are the journal's, driven by Database (datastore/dbf/journal.h).
int xConnect(sqlite3 *db, void *aux, int argc, const char *const *argv, sqlite3_vtab **out, char **error) noexcept
{
    return connectTable(db, aux, argc, argv, out, error);
}

int xBestIndex(sqlite3_vtab *vtab, sqlite3_index_info *info) noexcept
{
    return guardedMethod(vtab, [&] { return planScan(vtab, info); });
}

int xOpen(sqlite3_vtab *vtab, sqlite3_vtab_cursor **out) noexcept
{
    return guardedMethod(vtab, [&] { return openCursor(vtab, out); });
}

int xFilter(sqlite3_vtab_cursor *cursor, int idxNum, const char *idxStr, int argc, sqlite3_value **argv) noexcept
{
    return guardedMethod(cursor->pVtab, [&] { return startScan(cursor, idxNum, idxStr, argc, argv); });
}

int xNext(sqlite3_vtab_cursor *cursor) noexcept
{
    return guardedMethod(cursor->pVtab, [&] { return nextRow(cursor); });
}

int xColumn(sqlite3_vtab_cursor *cursor, sqlite3_context *context, int index) noexcept
{
    return guardedMethod(cursor->pVtab, [&] { return columnValue(cursor, context, index); });
}

int xUpdate(sqlite3_vtab *vtab, int argc, sqlite3_value **argv, sqlite_int64 *newRowid) noexcept
{
    return guardedMethod(vtab, [&] { return changeRow(vtab, argc, argv, newRowid); });
}

const sqlite3_module kDbfModule = {
    /* iVersion */ 1,
    /* xCreate */ xConnect,
    /* xConnect */ xConnect,
    /* xBestIndex */ xBestIndex,
    /* xDisconnect */ disconnectTable,
    /* xDestroy */ disconnectTable,
    /* xOpen */ xOpen,
    /* xClose */ closeCursor,
    /* xFilter */ xFilter,
    /* xNext */ xNext,
    /* xEof */ eof,
    /* xColumn */ xColumn,
    /* xRowid */ rowid,
    /* xUpdate */ xUpdate,
    /* xBegin */ nullptr,
    /* xSync */ nullptr,
    /* xCommit */ nullptr,
    /* xRollback */ nullptr,
    /* xFindFunction */ nullptr,
    /* xRename */ nullptr,
    /* xSavepoint */ nullptr,
    /* xRelease */ nullptr,
    /* xRollbackTo */ nullptr,
    /* xShadowName */ nullptr,
};

} // namespace

QString declaredType(char type, int width, int decimals)
{
    switch (type) {
    case 'C': return QStringLiteral("CHAR(%1) COLLATE ROMANIAN").arg(width);
    case 'N': return QStringLiteral("DECIMAL(%1,%2)").arg(width).arg(decimals);
    case 'F': return QStringLiteral("FLOAT(%1,%2)").arg(width).arg(decimals);
    case 'D': return QStringLiteral("DATE TEXT COLLATE DBFDATE");
    case 'L': return QStringLiteral("LOGICAL");
    default: return QStringLiteral("RAWCHAR(%1) COLLATE ROMANIAN").arg(width);
    }
}

bool parseDeclaredType(const char *declared, char *type, int *width, int *decimals)
{
    if (!declared)
        return false;
    int w = 0, d = 0;
    if (std::sscanf(declared, "CHAR(%d)", &w) == 1) {
        *type = 'C';
    } else if (std::sscanf(declared, "DECIMAL(%d,%d)", &w, &d) == 2) {
        *type = 'N';
    } else if (std::sscanf(declared, "FLOAT(%d,%d)", &w, &d) == 2) {
        *type = 'F';
    } else if (std::strncmp(declared, "DATE TEXT", 9) == 0) {
        *type = 'D';
        w = 8;
    } else if (std::strcmp(declared, "LOGICAL") == 0) {
        *type = 'L';
        w = 1;
    } else if (std::sscanf(declared, "RAWCHAR(%d)", &w) == 1) {
        *type = '?';
    } else {
        return false;
    }
    *width = w;
    *decimals = d;
    return true;
}

int registerDbfModule(sqlite3 *db)
{
    return sqlite3_create_module(db, "dbf", &kDbfModule, nullptr);
}

} // namespace sqlstore
