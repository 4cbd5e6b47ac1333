#include "datastore/sql/database.h"

#include "datastore/dbf/journal.h"
#include "datastore/dbf/tablefile.h"
#include "datastore/dbf/tableops.h"
#include "datastore/sql/collation.h"
#include "datastore/sql/dbfmodule.h"
#include "datastore/sql/sqltext.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <map>

namespace sqlstore {

using dbf::TableFile;

namespace {

// Tags of the values stored in a Query's rows.
enum : char { kNull = 0, kInteger = 1, kReal = 2, kText = 3, kBlob = 4 };

QString shortened(const QString &sql)
{
    QString s = sql.simplified();
    return s.size() > 300 ? s.left(300) + QStringLiteral("...") : s;
}

QString quotedString(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

void bindValue(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        sqlite3_bind_int64(statement, index, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement, index, value.toDouble());
        return;
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        if (!date.isValid()) {
            sqlite3_bind_null(statement, index);
            return;
        }
        const QByteArray iso = date.toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(statement, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDateTime: {
        const QByteArray iso = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        sqlite3_bind_text(statement, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

bool looksLikeIsoDate(const QString &s)
{
    if (s.size() != 10 || s.at(4) != QLatin1Char('-') || s.at(7) != QLatin1Char('-'))
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!s.at(i).isDigit())
            return false;
    return true;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Long: case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

QString withoutTrailingBlanks(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

// Equality as locate() and setFilter() compare.
bool sameValue(const QVariant &stored, const QVariant &wanted)
{
    if (stored.isNull() || !stored.isValid())
        return wanted.isNull() || !wanted.isValid();
    if (wanted.isNull() || !wanted.isValid())
        return false;
    if (isNumber(stored) || isNumber(wanted)) {
        bool a = false, b = false;
        const double x = stored.toDouble(&a);
        const double y = wanted.toDouble(&b);
        return a && b && x == y;
    }
    if (stored.typeId() == QMetaType::QDate || wanted.typeId() == QMetaType::QDate)
        return stored.toDate() == wanted.toDate();
    return withoutTrailingBlanks(stored.toString()) == withoutTrailingBlanks(wanted.toString());
}

} // namespace

// ---- Query -----------------------------------------------------------------

struct Query::Rows {
    // Every row's values, one after the other: a tag, then 8 bytes for a
    // number or a 4-byte length and the bytes of a text.
    std::string bytes;
    // Where each row starts in `bytes`.
    std::vector<size_t> starts;
};

Query::Query() : rows_(std::make_unique<Rows>()) {}
Query::~Query() = default;
Query::Query(Query &&) noexcept = default;
Query &Query::operator=(Query &&) noexcept = default;

int Query::columnCount() const
{
    return int(fields_.size());
}

const FieldInfo &Query::field(int column) const
{
    return fields_.at(column);
}

int Query::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Query::rowCount() const
{
    return int(visible_.size());
}

bool Query::seek(int row)
{
    position_ = std::clamp(row, 0, rowCount());
    return position_ < rowCount();
}

bool Query::first()
{
    return seek(0);
}

bool Query::next()
{
    return seek(position_ + 1);
}

bool Query::previous()
{
    if (position_ <= 0)
        return false;
    return seek(position_ - 1);
}

bool Query::last()
{
    return seek(rowCount() - 1);
}

QVariant Query::decode(int storedRow, int column) const
{
    if (storedRow < 0 || storedRow >= int(rows_->starts.size()) || column < 0 || column >= columnCount())
        return {};
    const char *p = rows_->bytes.data() + rows_->starts[size_t(storedRow)];
    auto skip = [&p]() {
        const char tag = *p++;
        if (tag == kInteger || tag == kReal) {
            p += 8;
        } else if (tag == kText || tag == kBlob) {
            quint32 n;
            std::memcpy(&n, p, 4);
            p += 4 + n;
        }
    };
    for (int i = 0; i < column; ++i)
        skip();
    const char tag = *p++;
    const FieldInfo &f = fields_[column];
    switch (tag) {
    case kInteger: {
        qint64 v;
        std::memcpy(&v, p, 8);
        if (f.type == 'L')
            return QVariant(v != 0);
        if (f.type == 'N' && f.decimals > 0)
            return QVariant(double(v));
        return QVariant(qlonglong(v));
    }
    case kReal: {
        double v;
        std::memcpy(&v, p, 8);
        return QVariant(v);
    }
    case kText: {
        quint32 n;
        std::memcpy(&n, p, 4);
        const QString s = QString::fromUtf8(p + 4, qsizetype(n));
        if (f.type == 'D' || (f.type == 0 && looksLikeIsoDate(s))) {
            const QDate date = QDate::fromString(s.left(10), Qt::ISODate);
            if (date.isValid())
                return QVariant(date);
        }
        return QVariant(s);
    }
    case kBlob: {
        quint32 n;
        std::memcpy(&n, p, 4);
        return QVariant(QByteArray(p + 4, qsizetype(n)));
    }
    default:
        return {};
    }
}

QVariant Query::valueAt(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return decode(visible_[size_t(row)], column);
}

QVariant Query::value(int column) const
{
    if (judged_ >= 0)
        return decode(judged_, column);
    return valueAt(position_, column);
}

QVariant Query::value(const QString &name) const
{
    const int column = fieldIndex(name);
    if (column < 0)
        throw SqlError(QStringLiteral("Coloana %1 nu exista in rezultatul comenzii: %2").arg(name, shortened(sql_)));
    return value(column);
}

bool Query::locate(const QString &column, const QVariant &wanted)
{
    const int index = fieldIndex(column);
    if (index < 0)
        return false;
    for (int row = 0; row < rowCount(); ++row) {
        if (sameValue(valueAt(row, index), wanted)) {
            position_ = row;
            return true;
        }
    }
    return false;
}

void Query::refilter()
{
    visible_.clear();
    const int stored = int(rows_->starts.size());
    visible_.reserve(size_t(stored));
    for (int row = 0; row < stored; ++row) {
        if (filter_) {
            judged_ = row;
            const bool accepted = filter_(*this);
            judged_ = -1;
            if (!accepted)
                continue;
        }
        visible_.push_back(row);
    }
    position_ = 0;
}

void Query::setFilter(std::function<bool(const Query &)> accept)
{
    filter_ = std::move(accept);
    refilter();
}

void Query::setFilter(const QString &column, const QVariant &wanted)
{
    const int index = fieldIndex(column);
    if (index < 0)
        throw SqlError(QStringLiteral("Coloana %1 nu exista in rezultatul comenzii: %2").arg(column, shortened(sql_)));
    setFilter([index, wanted](const Query &q) { return sameValue(q.value(index), wanted); });
}

void Query::requery()
{
    Query fresh = database().query(sql_, parameters_);
    fields_ = std::move(fresh.fields_);
    rows_ = std::move(fresh.rows_);
    refilter();
}

// ---- Database --------------------------------------------------------------

// A virtual table attached to the connection.
struct Database::Attached {
    // Name as the statements write it (SQLite matches it without regard to
    // the case of ASCII letters).
    QString name;
    // The file behind it.
    QString path;
    // The file's layout when it was declared.
    quint64 layoutVersion = 0;
};

Database &database()
{
    static Database instance;
    return instance;
}

Database::Database()
{
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK)
        throw SqlError(QStringLiteral("Motorul SQL nu poate porni"));
    registerDbfModule(db_);
    registerCollations(db_);
}

Database::~Database()
{
    if (transactionOpen_) {
        try {
            rollbackTransaction();
        } catch (const SqlError &) {
            // The journal stays; the next process to open the folder undoes it.
        }
    }
    attached_.clear();
    sqlite3_close_v2(db_);
}

void Database::setTableFolder(const QString &folder)
{
    tableFolder_ = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

void Database::setLockTimeout(int milliseconds)
{
    TableFile::setLockTimeout(milliseconds);
    dbf::FolderJournal::setLockTimeout(milliseconds);
}

void Database::fail(const QString &context) const
{
    throw SqlError(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(sqlite3_errmsg(db_)), context));
}

void Database::detachAll(const QString &path)
{
    for (auto it = attached_.begin(); it != attached_.end();) {
        if ((*it)->path == path) {
            const QByteArray drop = (QStringLiteral("DROP TABLE IF EXISTS temp.") + quoteName((*it)->name)).toUtf8();
            sqlite3_exec(db_, drop.constData(), nullptr, nullptr, nullptr);
            it = attached_.erase(it);
        } else {
            ++it;
        }
    }
}

void Database::attach(const QString &name, const QString &path)
{
    auto file = TableFile::open(path);
    for (auto it = attached_.begin(); it != attached_.end(); ++it) {
        Attached &a = **it;
        if (a.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (a.path == path && a.layoutVersion == file->layoutVersion())
            return;
        const QByteArray drop = (QStringLiteral("DROP TABLE IF EXISTS temp.") + quoteName(a.name)).toUtf8();
        sqlite3_exec(db_, drop.constData(), nullptr, nullptr, nullptr);
        attached_.erase(it);
        break;
    }
    const QByteArray create = (QStringLiteral("CREATE VIRTUAL TABLE temp.") + quoteName(name)
                               + QStringLiteral(" USING dbf(") + quotedString(path) + QLatin1Char(')'))
                                  .toUtf8();
    char *error = nullptr;
    if (sqlite3_exec(db_, create.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_free(error);
        throw SqlError(message);
    }
    auto a = std::make_unique<Attached>();
    a->name = name;
    a->path = path;
    a->layoutVersion = file->layoutVersion();
    attached_.push_back(std::move(a));
}

namespace {

QString folderOf(const QString &tablePath)
{
    return QDir::cleanPath(QFileInfo(tablePath).absolutePath());
}

// The tables of one statement, locked in the order of their paths (so that
// two processes never wait for each other), released when it goes away.
// Outside a transaction the statement also holds the folders it works in
// shared, so that it never meets another process's transaction half done;
// inside one, its writes are journaled before they reach the tables.
class StatementLocks {
public:
    explicit StatementLocks(dbf::FolderJournal *transaction) : transaction_(transaction) {}
    StatementLocks(const StatementLocks &) = delete;
    StatementLocks &operator=(const StatementLocks &) = delete;

    // Holds `folder` shared for the statement (not the folder of the
    // transaction, which this process holds already).
    void holdFolder(const QString &folder)
    {
        if (transaction_ && transaction_->folder() == folder)
            return;
        auto journal = dbf::FolderJournal::of(folder);
        for (const auto &held : folders_)
            if (held == journal)
                return;
        journal->beginStatement();
        folders_.push_back(std::move(journal));
    }
    void take(const QList<TableReference> &references)
    {
        std::map<QString, bool> byPath;
        for (const TableReference &r : references)
            byPath[r.path] = byPath[r.path] || r.written;
        std::map<QString, bool> folders;
        for (const auto &entry : byPath)
            folders[folderOf(entry.first)] = true;
        for (const auto &entry : folders)
            holdFolder(entry.first);
        for (const auto &[path, written] : byPath) {
            auto file = TableFile::open(path);
            file->begin(written ? dbf::LockMode::Exclusive : dbf::LockMode::Shared);
            held_.push_back({file, written});
        }
    }
    void commit()
    {
        for (const Held &h : held_) {
            if (!h.written || !h.file->hasStaged())
                continue;
            if (transaction_)
                transaction_->protect(h.file->path(), h.file->stagedRows());
            h.file->commitStaged();
        }
    }
    ~StatementLocks()
    {
        for (auto it = held_.rbegin(); it != held_.rend(); ++it)
            it->file->end();
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
            (*it)->endStatement();
    }

private:
    struct Held {
        std::shared_ptr<TableFile> file;
        bool written = false;
    };
    dbf::FolderJournal *transaction_ = nullptr;
    std::vector<std::shared_ptr<dbf::FolderJournal>> folders_;
    std::vector<Held> held_;
};

// The statements that open and close a transaction.
bool isTransactionCommand(const QString &keyword)
{
    static const QStringList commands = {QStringLiteral("BEGIN"), QStringLiteral("COMMIT"), QStringLiteral("END"),
                                         QStringLiteral("ROLLBACK"), QStringLiteral("SAVEPOINT"),
                                         QStringLiteral("RELEASE")};
    return commands.contains(keyword);
}

QList<FieldInfo> resultFields(sqlite3_stmt *statement)
{
    QList<FieldInfo> fields;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        FieldInfo f;
        f.name = QString::fromUtf8(sqlite3_column_name(statement, i));
        const int dot = int(f.name.lastIndexOf(QLatin1Char('.')));
        if (dot >= 0 && !f.name.contains(QLatin1Char('(')))
            f.name = f.name.mid(dot + 1);
        QString unique = f.name;
        for (int k = 1;; ++k) {
            const bool taken = std::any_of(fields.begin(), fields.end(), [&](const FieldInfo &g) {
                return g.name.compare(unique, Qt::CaseInsensitive) == 0;
            });
            if (!taken)
                break;
            unique = f.name + QStringLiteral("_%1").arg(k);
        }
        f.name = unique;
        char type = 0;
        int width = 0, decimals = 0;
        if (parseDeclaredType(sqlite3_column_decltype(statement, i), &type, &width, &decimals)) {
            f.type = type;
            f.width = width;
            f.decimals = decimals;
        }
        fields.append(f);
    }
    return fields;
}

void appendRow(sqlite3_stmt *statement, int columns, std::string &bytes)
{
    for (int i = 0; i < columns; ++i) {
        switch (sqlite3_column_type(statement, i)) {
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(statement, i);
            bytes.push_back(kInteger);
            bytes.append(reinterpret_cast<const char *>(&v), 8);
            break;
        }
        case SQLITE_FLOAT: {
            const double v = sqlite3_column_double(statement, i);
            bytes.push_back(kReal);
            bytes.append(reinterpret_cast<const char *>(&v), 8);
            break;
        }
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const bool text = sqlite3_column_type(statement, i) == SQLITE_TEXT;
            const void *data = text ? static_cast<const void *>(sqlite3_column_text(statement, i))
                                    : sqlite3_column_blob(statement, i);
            const quint32 n = quint32(sqlite3_column_bytes(statement, i));
            bytes.push_back(text ? kText : kBlob);
            bytes.append(reinterpret_cast<const char *>(&n), 4);
            bytes.append(static_cast<const char *>(data), n);
            break;
        }
        default:
            bytes.push_back(kNull);
        }
    }
}

} // namespace

int Database::run(const QString &sql, const QVariantList &parameters, Query *result)
{
    const QList<Token> tokens = tokenize(sql);
    const QString keyword = leadingKeyword(tokens);
    const bool command = isTransactionCommand(keyword);
    if (!transactionOpen_) {
        if (command)
            runTransactionCommand(keyword, tokens, sql);
        return command ? 0 : runStatement(tokens, sql, parameters, result);
    }
    try {
        if (!command)
            return runStatement(tokens, sql, parameters, result);
        runTransactionCommand(keyword, tokens, sql);
        return 0;
    } catch (const SqlError &e) {
        if (!transactionOpen_)
            throw;
        // The statement's locks are released by now: undo the whole operation.
        try {
            rollbackTransaction();
        } catch (const SqlError &undo) {
            throw SqlError(e.message() + QStringLiteral(" ") + undo.message());
        }
        throw;
    }
}

void Database::runTransactionCommand(const QString &keyword, const QList<Token> &tokens, const QString &sql)
{
    if (keyword == QLatin1String("BEGIN")) {
        if (transactionOpen_)
            throw SqlError(QStringLiteral("O tranzactie este deja deschisa: %1").arg(shortened(sql)));
        if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(shortened(sql));
        transactionOpen_ = true;
        if (!tableFolder_.isEmpty()) {
            try {
                joinTransaction(tableFolder_);
            } catch (const SqlError &) {
                rollbackTransaction();
                throw;
            }
        }
        return;
    }
    if (keyword == QLatin1String("COMMIT") || keyword == QLatin1String("END")) {
        if (!transactionOpen_)
            throw SqlError(QStringLiteral("Nu este deschisa nicio tranzactie: %1").arg(shortened(sql)));
        commitTransaction();
        return;
    }
    const bool toSavepoint = std::any_of(tokens.begin(), tokens.end(), [](const Token &t) {
        return t.kind == Token::Word && t.name.compare(QLatin1String("TO"), Qt::CaseInsensitive) == 0;
    });
    if (keyword == QLatin1String("ROLLBACK") && !toSavepoint) {
        if (!transactionOpen_)
            throw SqlError(QStringLiteral("Nu este deschisa nicio tranzactie: %1").arg(shortened(sql)));
        rollbackTransaction();
        return;
    }
    throw SqlError(QStringLiteral("Punctele intermediare de salvare nu sunt folosite: %1").arg(shortened(sql)));
}

void Database::joinTransaction(const QString &folder)
{
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (journal_) {
        if (journal_->folder() != clean)
            throw SqlError(QStringLiteral("O tranzactie lucreaza in tabelele unui singur dosar de date (%1), nu si in "
                                          "%2")
                               .arg(QDir::toNativeSeparators(journal_->folder()), QDir::toNativeSeparators(clean)));
        return;
    }
    auto journal = dbf::FolderJournal::of(clean);
    try {
        journal->beginTransaction();
    } catch (const dbf::DbfError &e) {
        throw SqlError(e.message());
    }
    journal_ = std::move(journal);
}

void Database::commitTransaction()
{
    // The folder's journal is what makes the transaction durable, and this is
    // its one commit: the tables are synced and the journal emptied, or, when
    // that fails, the journal has undone the transaction. SQLite's own
    // transaction holds nothing of the tables (the module has no transaction
    // hooks); it only keeps the tables attached meanwhile, and ends after.
    std::shared_ptr<dbf::FolderJournal> journal = std::move(journal_);
    transactionOpen_ = false;
    if (journal && journal->inTransaction()) {
        try {
            journal->commit();
        } catch (const dbf::DbfError &e) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            forgetAttachedTables();
            throw SqlError(e.message());
        }
    }
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
}

void Database::rollbackTransaction()
{
    std::shared_ptr<dbf::FolderJournal> journal = std::move(journal_);
    transactionOpen_ = false;
    QString problem;
    if (journal) {
        try {
            journal->rollback();
        } catch (const dbf::DbfError &e) {
            problem = e.message();
        }
    }
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    // Tables attached inside the transaction went with it.
    forgetAttachedTables();
    if (!problem.isEmpty())
        throw SqlError(problem);
}

void Database::forgetAttachedTables()
{
    for (const auto &a : attached_) {
        const QByteArray drop = (QStringLiteral("DROP TABLE IF EXISTS temp.") + quoteName(a->name)).toUtf8();
        sqlite3_exec(db_, drop.constData(), nullptr, nullptr, nullptr);
    }
    attached_.clear();
}

int Database::runStatement(const QList<Token> &tokens, const QString &sql, const QVariantList &parameters,
                           Query *result)
{
    try {
        const FileStatement fileStatement = fileStatementOf(tokens, tableFolder_);
        if (fileStatement.kind != FileStatement::None) {
            runFileStatement(fileStatement, sql);
            return 0;
        }
        return runSqlStatement(tokens, sql, parameters, result);
    } catch (const dbf::DbfError &e) {
        throw SqlError(e.message());
    }
}

void Database::runFileStatement(const FileStatement &statement, const QString &sql)
{
    if (transactionOpen_)
        throw SqlError(
            QStringLiteral("Structura tabelelor nu se schimba in timpul unei tranzactii: %1").arg(shortened(sql)));
    StatementLocks folderLock(nullptr);
    if (QDir(folderOf(statement.path)).exists())
        folderLock.holdFolder(folderOf(statement.path));
    detachAll(statement.path);
    switch (statement.kind) {
    case FileStatement::CreateTable:
        dbf::createTable(statement.path, statement.fields);
        break;
    case FileStatement::AlterTable:
        if (!statement.dropped.isEmpty())
            dbf::dropColumns(statement.path, statement.dropped);
        if (!statement.fields.isEmpty())
            dbf::addColumns(statement.path, statement.fields);
        break;
    case FileStatement::DropTable:
        dbf::TableFile::forget(statement.path);
        if (QFile::exists(statement.path) && !QFile::remove(statement.path))
            throw SqlError(
                QStringLiteral("Tabela %1 nu poate fi stearsa").arg(QDir::toNativeSeparators(statement.path)));
        break;
    case FileStatement::None:
        break;
    }
}

int Database::runSqlStatement(const QList<Token> &tokens, const QString &sql, const QVariantList &parameters,
                              Query *result)
{
    const QList<TableReference> references = tablesOf(tokens, tableFolder_);
    // The tables a transaction writes are in its folder; it may read
    // others (the work tables of a dialog), held only for the statement.
    if (transactionOpen_)
        for (const TableReference &r : references)
            if (r.written)
                joinTransaction(folderOf(r.path));
    StatementLocks locks(journal_.get());
    locks.take(references);
    for (const TableReference &r : references)
        attach(r.name, r.path);

    const QByteArray text = joinTokens(adaptToOldEngine(tokens)).toUtf8();
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, &tail) != SQLITE_OK)
        fail(shortened(sql));
    if (!statement)
        return 0;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(statement, sqlite3_finalize);
    if (tail && QByteArray(tail).trimmed().size() > 0 && QByteArray(tail).trimmed() != ";")
        throw SqlError(QStringLiteral("Se poate rula o singura comanda odata: %1").arg(shortened(sql)));
    const int wanted = sqlite3_bind_parameter_count(statement);
    for (int i = 0; i < wanted; ++i)
        bindValue(statement, i + 1, parameters.value(i));

    std::string bytes;
    std::vector<size_t> starts;
    const int columns = sqlite3_column_count(statement);
    for (;;) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(shortened(sql));
        if (result) {
            starts.push_back(bytes.size());
            appendRow(statement, columns, bytes);
        }
    }
    const int changed = sqlite3_stmt_readonly(statement) ? 0 : sqlite3_changes(db_);
    locks.commit();
    if (result) {
        result->sql_ = sql;
        result->parameters_ = parameters;
        result->fields_ = resultFields(statement);
        result->rows_->bytes = std::move(bytes);
        result->rows_->starts = std::move(starts);
        result->refilter();
    }
    return changed;
}

void Database::exec(const QString &sql, const QVariantList &parameters)
{
    run(sql, parameters, nullptr);
}

int Database::execCount(const QString &sql, const QVariantList &parameters)
{
    return run(sql, parameters, nullptr);
}

Query Database::query(const QString &sql, const QVariantList &parameters)
{
    Query q;
    run(sql, parameters, &q);
    return q;
}

QVariant Database::scalar(const QString &sql, const QVariantList &parameters)
{
    const Query q = query(sql, parameters);
    return q.rowCount() > 0 && q.columnCount() > 0 ? q.valueAt(0, 0) : QVariant();
}

} // namespace sqlstore

namespace sqlstore {

Transaction::Transaction(const QString &dataFolder)
{
    database().exec(QStringLiteral("BEGIN"));
    if (dataFolder.isEmpty())
        return;
    try {
        database().joinTransaction(dataFolder);
    } catch (const SqlError &) {
        database().rollbackTransaction();
        throw;
    }
}

Transaction::~Transaction()
{
    if (!open_ || !database().inTransaction())
        return;
    try {
        database().exec(QStringLiteral("ROLLBACK"));
    } catch (const SqlError &) {
        // The journal stays on disk and the next statement undoes it.
    }
}

void Transaction::commit()
{
    open_ = false;
    database().exec(QStringLiteral("COMMIT"));
}

} // namespace sqlstore
