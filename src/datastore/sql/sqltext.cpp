#include "datastore/sql/sqltext.h"

#include "platform/filecase.h"
#include "datastore/sql/sqlerror.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace sqlstore {
namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

bool isNamePart(QChar c)
{
    return isNameStart(c) || c.isDigit() || c == QLatin1Char('$');
}

// Length of a quoted run starting at `i` and closed by `close` (doubled to
// escape it). Runs to the end of the text when it is never closed.
int quotedLength(const QString &sql, int i, QChar close)
{
    int j = i + 1;
    while (j < sql.size()) {
        if (sql.at(j) == close) {
            if (j + 1 < sql.size() && sql.at(j + 1) == close && close != QLatin1Char(']')) {
                j += 2;
                continue;
            }
            return j + 1 - i;
        }
        ++j;
    }
    return j - i;
}

QString unquote(const QString &text)
{
    if (text.size() < 2)
        return text;
    const QChar open = text.front();
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    QString inner = text.mid(1, text.size() - (text.back() == close ? 2 : 1));
    if (open != QLatin1Char('['))
        inner.replace(QString(2, close), QString(close));
    return inner;
}

// Indices of the tokens that are not blanks or comments.
QList<int> solidTokens(const QList<Token> &tokens)
{
    QList<int> solid;
    for (int i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind != Token::Space)
            solid.append(i);
    return solid;
}

bool isWord(const Token &t, const char *word)
{
    return t.kind == Token::Word && t.name.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const Token &t, const char *symbol)
{
    return t.kind == Token::Symbol && t.text == QLatin1String(symbol);
}

bool endsWithDbf(const QString &name)
{
    return name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive);
}

QString pathFor(const QString &name, const QString &bareFolder)
{
    const QString base = bareFolder.isEmpty() ? QDir::currentPath() : bareFolder;
    const QString path = QDir::isAbsolutePath(name) ? name : QDir(base).filePath(name);
    return platform::resolvePathNoCase(QDir::cleanPath(path));
}

// The file a name stands for, or empty when it is no table.
QString tablePathOf(const Token &t, const QString &bareFolder)
{
    if (t.kind != Token::QuotedName && t.kind != Token::Word)
        return {};
    if (t.kind == Token::QuotedName && endsWithDbf(t.name))
        return pathFor(t.name, bareFolder);
    if (bareFolder.isEmpty() || t.name.isEmpty() || t.name.contains(QLatin1Char('/')))
        return {};
    if (platform::existsNoCase(bareFolder, t.name + QStringLiteral(".dbf")))
        return platform::findFileNoCase(bareFolder, t.name + QStringLiteral(".dbf"));
    return {};
}

// Keywords that may stand before "(" without being a function name.
bool isKeywordBeforeParen(const QString &word)
{
    static const QSet<QString> keywords = {
        QStringLiteral("IN"),     QStringLiteral("EXISTS"), QStringLiteral("VALUES"), QStringLiteral("AND"),
        QStringLiteral("OR"),     QStringLiteral("NOT"),    QStringLiteral("WHERE"),  QStringLiteral("ON"),
        QStringLiteral("SELECT"), QStringLiteral("FROM"),   QStringLiteral("JOIN"),   QStringLiteral("AS"),
        QStringLiteral("SET"),    QStringLiteral("THEN"),   QStringLiteral("ELSE"),   QStringLiteral("WHEN"),
        QStringLiteral("BY"),     QStringLiteral("IS"),     QStringLiteral("LIKE"),   QStringLiteral("BETWEEN"),
        QStringLiteral("HAVING"), QStringLiteral("UNION"),  QStringLiteral("ALL"),    QStringLiteral("DISTINCT"),
        QStringLiteral("INTO"),   QStringLiteral("USING"),  QStringLiteral("CASE"),   QStringLiteral("RETURNING")};
    return keywords.contains(word.toUpper());
}

// Finds operands within the solid tokens (positions index `solid`).
class OperandFinder {
public:
    OperandFinder(const QList<Token> &tokens, const QList<int> &solid) : tokens_(tokens), solid_(solid) {}

    const Token &at(int p) const { return tokens_[solid_[p]]; }
    int size() const { return int(solid_.size()); }

    // Position of the bracket matching the "(" at p, or -1.
    int closing(int p) const
    {
        int depth = 0;
        for (int q = p; q < size(); ++q) {
            if (isSymbol(at(q), "("))
                ++depth;
            else if (isSymbol(at(q), ")") && --depth == 0)
                return q;
        }
        return -1;
    }

    int opening(int p) const
    {
        int depth = 0;
        for (int q = p; q >= 0; --q) {
            if (isSymbol(at(q), ")"))
                ++depth;
            else if (isSymbol(at(q), "(") && --depth == 0)
                return q;
        }
        return -1;
    }

    // Last position of the operand starting at p, or -1.
    int operandEnd(int p) const
    {
        if (p >= size())
            return -1;
        const Token &t = at(p);
        int end = -1;
        if (isSymbol(t, "(")) {
            end = closing(p);
        } else if (isWord(t, "CASE")) {
            int depth = 0;
            for (int q = p; q < size(); ++q) {
                if (isWord(at(q), "CASE"))
                    ++depth;
                else if (isWord(at(q), "END") && --depth == 0) {
                    end = q;
                    break;
                }
            }
        } else if (t.kind == Token::Word || t.kind == Token::QuotedName) {
            end = p;
            if (p + 1 < size() && isSymbol(at(p + 1), "(") && t.kind == Token::Word)
                end = closing(p + 1);
            while (end >= 0 && end + 2 < size() && isSymbol(at(end + 1), ".")
                   && (at(end + 2).kind == Token::Word || at(end + 2).kind == Token::QuotedName))
                end += 2;
        } else if (t.kind == Token::String || t.kind == Token::Number || t.kind == Token::Parameter) {
            end = p;
        }
        if (end >= 0 && end + 2 < size() && isWord(at(end + 1), "COLLATE"))
            end += 2;
        return end;
    }

    // First position of the operand ending at p, or -1.
    int operandStart(int p) const
    {
        if (p < 0)
            return -1;
        if (p >= 2 && isWord(at(p - 1), "COLLATE"))
            p -= 2;
        const Token &t = at(p);
        int start = -1;
        if (isSymbol(t, ")")) {
            start = opening(p);
            if (start > 0 && at(start - 1).kind == Token::Word && !isKeywordBeforeParen(at(start - 1).name))
                --start;
        } else if (isWord(t, "END")) {
            int depth = 0;
            for (int q = p; q >= 0; --q) {
                if (isWord(at(q), "END"))
                    ++depth;
                else if (isWord(at(q), "CASE") && --depth == 0) {
                    start = q;
                    break;
                }
            }
        } else if (t.kind == Token::Word || t.kind == Token::QuotedName) {
            start = p;
            while (start >= 2 && isSymbol(at(start - 1), ".")
                   && (at(start - 2).kind == Token::Word || at(start - 2).kind == Token::QuotedName))
                start -= 2;
        } else if (t.kind == Token::String || t.kind == Token::Number || t.kind == Token::Parameter) {
            start = p;
        }
        return start;
    }

private:
    const QList<Token> &tokens_;
    const QList<int> &solid_;
};

int findTarget(const QList<Token> &tokens, const QList<int> &solid, QString keyword)
{
    if (solid.isEmpty())
        return -1;
    int from = 0;
    if (keyword == QLatin1String("WITH")) {
        // The statement after the common table expressions: the first of
        // these words outside brackets.
        int depth = 0;
        keyword.clear();
        for (; from < solid.size() && keyword.isEmpty(); ++from) {
            const Token &t = tokens[solid[from]];
            if (isSymbol(t, "("))
                ++depth;
            else if (isSymbol(t, ")"))
                --depth;
            else if (depth == 0 && t.kind == Token::Word) {
                const QString w = t.name.toUpper();
                if (w == QLatin1String("INSERT") || w == QLatin1String("REPLACE") || w == QLatin1String("DELETE")
                    || w == QLatin1String("UPDATE"))
                    keyword = w;
            }
        }
        --from;
        if (keyword.isEmpty())
            return -1;
    }
    for (int p = from; p + 1 < solid.size(); ++p) {
        const Token &t = tokens[solid[p]];
        if (keyword == QLatin1String("INSERT") || keyword == QLatin1String("REPLACE")) {
            if (isWord(t, "INTO"))
                return solid[p + 1];
        } else if (keyword == QLatin1String("DELETE")) {
            if (isWord(t, "FROM"))
                return solid[p + 1];
        } else if (keyword == QLatin1String("UPDATE")) {
            if (p == from) {
                int q = from + 1;
                if (q + 1 < solid.size() && isWord(tokens[solid[q]], "OR"))
                    q += 2;
                return q < solid.size() ? solid[q] : -1;
            }
        }
    }
    return -1;
}

dbf::Field parseFieldDefinition(const QList<Token> &tokens, const QList<int> &solid, int &p, int end)
{
    auto bad = [&](const QString &why) -> dbf::Field {
        throw SqlError(QStringLiteral("Definitie de camp gresita: %1").arg(why));
    };
    if (p >= end || (tokens[solid[p]].kind != Token::Word && tokens[solid[p]].kind != Token::QuotedName))
        return bad(QStringLiteral("lipseste numele campului"));
    dbf::Field f;
    f.name = tokens[solid[p++]].name;
    if (p >= end || tokens[solid[p]].kind != Token::Word)
        return bad(QStringLiteral("lipseste tipul campului %1").arg(f.name));
    const QString type = tokens[solid[p++]].name.toUpper();
    QList<int> numbers;
    if (p < end && isSymbol(tokens[solid[p]], "(")) {
        ++p;
        while (p < end && !isSymbol(tokens[solid[p]], ")")) {
            const Token &t = tokens[solid[p++]];
            if (t.kind == Token::Number)
                numbers.append(t.text.toInt());
            else if (!isSymbol(t, ","))
                return bad(QStringLiteral("dimensiunea campului %1").arg(f.name));
        }
        if (p >= end)
            return bad(QStringLiteral("lipseste ')' dupa campul %1").arg(f.name));
        ++p;
    }
    if (type == QLatin1String("CHAR") || type == QLatin1String("CHARACTER") || type == QLatin1String("VARCHAR")) {
        f.type = 'C';
        f.width = numbers.value(0, 1);
    } else if (type == QLatin1String("DECIMAL") || type == QLatin1String("NUMERIC") || type == QLatin1String("NUMBER")) {
        f.type = 'N';
        f.width = numbers.value(0, 10);
        f.decimals = numbers.value(1, 0);
    } else if (type == QLatin1String("FLOAT")) {
        f.type = 'F';
        f.width = numbers.value(0, 20);
        f.decimals = numbers.value(1, 0);
    } else if (type == QLatin1String("INTEGER") || type == QLatin1String("INT")) {
        f.type = 'N';
        f.width = 11;
    } else if (type == QLatin1String("SMALLINT")) {
        f.type = 'N';
        f.width = 6;
    } else if (type == QLatin1String("DATE")) {
        f.type = 'D';
        f.width = 8;
    } else if (type == QLatin1String("BOOLEAN") || type == QLatin1String("LOGICAL")) {
        f.type = 'L';
        f.width = 1;
    } else {
        return bad(QStringLiteral("tipul %1 al campului %2 nu este cunoscut").arg(type, f.name));
    }
    return f;
}

QString targetPath(const Token &t, const QString &bareFolder)
{
    if (t.kind == Token::QuotedName && endsWithDbf(t.name))
        return pathFor(t.name, bareFolder);
    if (!bareFolder.isEmpty() && (t.kind == Token::Word || t.kind == Token::QuotedName))
        return pathFor(endsWithDbf(t.name) ? t.name : t.name + QStringLiteral(".dbf"), bareFolder);
    return {};
}

} // namespace

QList<Token> tokenize(const QString &sql)
{
    QList<Token> tokens;
    int i = 0;
    const int n = int(sql.size());
    while (i < n) {
        const QChar c = sql.at(i);
        Token t;
        int length = 1;
        if (c.isSpace()) {
            t.kind = Token::Space;
            while (i + length < n && sql.at(i + length).isSpace())
                ++length;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            t.kind = Token::Space;
            while (i + length < n && sql.at(i + length) != QLatin1Char('\n'))
                ++length;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            t.kind = Token::Space;
            const int close = int(sql.indexOf(QLatin1String("*/"), i + 2));
            length = close < 0 ? n - i : close + 2 - i;
        } else if (c == QLatin1Char('\'')) {
            t.kind = Token::String;
            length = quotedLength(sql, i, c);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            t.kind = Token::QuotedName;
            length = quotedLength(sql, i, c);
        } else if (c == QLatin1Char('[')) {
            t.kind = Token::QuotedName;
            length = quotedLength(sql, i, QLatin1Char(']'));
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql.at(i + 1).isDigit())) {
            t.kind = Token::Number;
            while (i + length < n) {
                const QChar d = sql.at(i + length);
                const QChar before = sql.at(i + length - 1);
                if (d.isLetterOrNumber() || d == QLatin1Char('.')
                    || ((d == QLatin1Char('+') || d == QLatin1Char('-'))
                        && (before == QLatin1Char('e') || before == QLatin1Char('E'))))
                    ++length;
                else
                    break;
            }
        } else if (c == QLatin1Char('?') || c == QLatin1Char(':') || c == QLatin1Char('@')
                   || c == QLatin1Char('$')) {
            t.kind = Token::Parameter;
            while (i + length < n && isNamePart(sql.at(i + length)))
                ++length;
            if (c != QLatin1Char('?') && length == 1)
                t.kind = Token::Symbol;
        } else if (isNameStart(c)) {
            t.kind = Token::Word;
            while (i + length < n && isNamePart(sql.at(i + length)))
                ++length;
        } else {
            t.kind = Token::Symbol;
            static const QStringList pairs = {QStringLiteral("||"), QStringLiteral("<="), QStringLiteral(">="),
                                              QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("=="),
                                              QStringLiteral("<<"), QStringLiteral(">>")};
            if (i + 1 < n && pairs.contains(sql.mid(i, 2)))
                length = 2;
        }
        t.text = sql.mid(i, length);
        if (t.kind == Token::Word)
            t.name = t.text;
        else if (t.kind == Token::QuotedName)
            t.name = unquote(t.text);
        tokens.append(t);
        i += length;
    }
    return tokens;
}

QString quoteName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString joinTokens(const QList<Token> &tokens)
{
    QString sql;
    for (const Token &t : tokens)
        sql += t.text;
    return sql;
}

QString leadingKeyword(const QList<Token> &tokens)
{
    for (const Token &t : tokens) {
        if (t.kind == Token::Space || isSymbol(t, "("))
            continue;
        return t.kind == Token::Word ? t.name.toUpper() : QString();
    }
    return {};
}

QList<TableReference> tablesOf(const QList<Token> &tokens, const QString &bareFolder)
{
    const QList<int> solid = solidTokens(tokens);
    const QString keyword = leadingKeyword(tokens);
    const int target = findTarget(tokens, solid, keyword);
    QList<TableReference> references;
    for (int p = 0; p < solid.size(); ++p) {
        const int i = solid[p];
        const Token &t = tokens[i];
        // A name after "." is a column; a word before "(" is a function.
        if (p > 0 && isSymbol(tokens[solid[p - 1]], "."))
            continue;
        if (t.kind == Token::Word && p + 1 < solid.size() && isSymbol(tokens[solid[p + 1]], "(")
            && !(p > 0 && isWord(tokens[solid[p - 1]], "INTO")))
            continue;
        const QString path = tablePathOf(t, bareFolder);
        if (path.isEmpty())
            continue;
        TableReference ref{t.name, path, i == target};
        bool merged = false;
        for (TableReference &known : references) {
            if (known.name.compare(ref.name, Qt::CaseInsensitive) == 0) {
                if (known.path != ref.path)
                    throw SqlError(QStringLiteral("Numele %1 si %2 desemneaza fisiere diferite in aceeasi comanda")
                                       .arg(known.name, ref.name));
                known.written = known.written || ref.written;
                merged = true;
            }
        }
        if (!merged)
            references.append(ref);
    }
    return references;
}

FileStatement fileStatementOf(const QList<Token> &tokens, const QString &bareFolder)
{
    FileStatement statement;
    const QList<int> solid = solidTokens(tokens);
    int end = int(solid.size());
    while (end > 0 && isSymbol(tokens[solid[end - 1]], ";"))
        --end;
    if (end < 3)
        return statement;
    const Token &first = tokens[solid[0]];
    if (!isWord(tokens[solid[1]], "TABLE"))
        return statement;
    int p = 2;
    if (isWord(first, "DROP") && p + 1 < end && isWord(tokens[solid[p]], "IF") && isWord(tokens[solid[p + 1]], "EXISTS"))
        p += 2;
    if (p >= end)
        return statement;
    const QString path = targetPath(tokens[solid[p]], bareFolder);
    if (path.isEmpty())
        return statement;
    statement.path = path;
    ++p;
    if (isWord(first, "CREATE")) {
        statement.kind = FileStatement::CreateTable;
        if (p >= end || !isSymbol(tokens[solid[p]], "("))
            throw SqlError(QStringLiteral("CREATE TABLE %1: lipseste lista de campuri").arg(path));
        ++p;
        const int close = end - 1;
        if (!isSymbol(tokens[solid[close]], ")"))
            throw SqlError(QStringLiteral("CREATE TABLE %1: lista de campuri nu se incheie cu ')'").arg(path));
        while (p < close) {
            statement.fields.append(parseFieldDefinition(tokens, solid, p, close));
            if (p < close && !isSymbol(tokens[solid[p]], ","))
                throw SqlError(QStringLiteral("CREATE TABLE %1: lipseste ',' dupa campul %2")
                                   .arg(path, statement.fields.last().name));
            if (p < close)
                ++p;
        }
    } else if (isWord(first, "ALTER")) {
        statement.kind = FileStatement::AlterTable;
        while (p < end) {
            const bool add = isWord(tokens[solid[p]], "ADD");
            const bool drop = isWord(tokens[solid[p]], "DROP");
            if (!add && !drop)
                throw SqlError(QStringLiteral("ALTER TABLE %1: se asteapta ADD sau DROP").arg(path));
            ++p;
            if (p < end && isWord(tokens[solid[p]], "COLUMN"))
                ++p;
            if (add) {
                statement.fields.append(parseFieldDefinition(tokens, solid, p, end));
            } else {
                if (p >= end)
                    throw SqlError(QStringLiteral("ALTER TABLE %1: lipseste campul de sters").arg(path));
                statement.dropped.append(tokens[solid[p++]].name);
            }
            if (p < end && !isSymbol(tokens[solid[p]], ","))
                throw SqlError(QStringLiteral("ALTER TABLE %1: lipseste ','").arg(path));
            if (p < end)
                ++p;
        }
    } else if (isWord(first, "DROP")) {
        statement.kind = FileStatement::DropTable;
    }
    return statement;
}

QList<Token> adaptToOldEngine(const QList<Token> &tokens)
{
    const QList<int> solid = solidTokens(tokens);
    const OperandFinder finder(tokens, solid);
    QList<QString> prefix(tokens.size());
    QList<QString> suffix(tokens.size());
    QSet<QPair<int, int>> wrapped;
    auto wrap = [&](int start, int end) {
        if (start < 0 || end < start || wrapped.contains({start, end}))
            return;
        wrapped.insert({start, end});
        // Literals are never NULL.
        if (start == end && (finder.at(start).kind == Token::String || finder.at(start).kind == Token::Number))
            return;
        prefix[solid[start]] += QStringLiteral("ifnull(");
        suffix[solid[end]].prepend(QStringLiteral(",'')"));
    };
    bool changed = false;
    for (int p = 0; p < finder.size(); ++p) {
        const Token &t = finder.at(p);
        if (isSymbol(t, "||")) {
            wrap(finder.operandStart(p - 1), p - 1);
            wrap(p + 1, finder.operandEnd(p + 1));
            changed = true;
        } else if (isWord(t, "IN") && p + 1 < finder.size() && isSymbol(finder.at(p + 1), "(")) {
            const bool negated = p > 0 && isWord(finder.at(p - 1), "NOT");
            const int leftEnd = negated ? p - 2 : p - 1;
            const int start = finder.operandStart(leftEnd);
            const int close = finder.closing(p + 1);
            if (start < 0 || close < 0)
                continue;
            prefix[solid[start]] += QStringLiteral("coalesce((");
            suffix[solid[close]].prepend(negated ? QStringLiteral("),1)") : QStringLiteral("),0)"));
            changed = true;
        }
    }
    if (!changed)
        return tokens;
    QList<Token> out;
    for (int i = 0; i < tokens.size(); ++i) {
        Token t = tokens[i];
        t.text = prefix[i] + t.text + suffix[i];
        out.append(t);
    }
    return out;
}

QStringList splitStatements(const QString &script)
{
    QStringList statements;
    QString current;
    bool meaningful = false;
    auto flush = [&]() {
        if (meaningful)
            statements.append(current.trimmed());
        current.clear();
        meaningful = false;
    };
    for (const Token &t : tokenize(script)) {
        if (t.kind == Token::Symbol && t.text == QLatin1String(";")) {
            flush();
            continue;
        }
        current += t.text;
        meaningful = meaningful || t.kind != Token::Space;
    }
    flush();
    return statements;
}

} // namespace sqlstore
