// Shared by the register tests: a private program folder with empty tables,
// requests made as the request dialog would hand them over, and readers of
// what the operations wrote.
#pragma once

#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "dialogs/workingtables.h"
#include "register/requestlifecycle.h"
#include "sampleanswer.h"
#include "scriptedprompter.h"
#include "startupfixture.h"

#include <QDate>
#include <gtest/gtest.h>

namespace registertest {

struct Holder {
    QString name;
    int rank = 1;
    bool byPost = false;
};

inline SellerLine seller(const QString &name)
{
    SellerLine s;
    s.vanzator = name;
    s.cnpcui = QStringLiteral("1800101223344");
    s.locv = QStringLiteral("ARVENA");
    s.adresa = QStringLiteral("STR. MARE 1");
    return s;
}

// A request as the dialog collects it for a new request (`requestId` "-1")
// or an existing one.
inline CollectedRequest collected(const QDate &date, const QStringList &sellers, const QList<Holder> &holders,
                                  const QString &requestId = QStringLiteral("-1"))
{
    CollectedRequest c;
    c.tables = CreateWorkingTables(requestId);
    if (requestId == QLatin1String("-1")) {
        for (const QString &name : sellers)
            AddSellerLine(c.tables, seller(name));
        for (const Holder &h : holders) {
            HolderLine line;
            line.nume = h.name;
            line.rang = h.rank;
            line.posta = h.byPost;
            line.adresa = QStringLiteral("ARVENA");
            AddHolderLine(c.tables, line, requestId);
        }
    }
    c.fields.dataC = date;
    c.fields.nrDosar = QStringLiteral("D1");
    c.fields.supraf = QStringLiteral("1.5");
    c.fields.cotaParteS = QStringLiteral("1.5");
    c.fields.pret = QStringLiteral("25000");
    c.fields.nrV = QString::number(sellers.size());
    c.fields.tarla = QStringLiteral("LA PADURE");
    c.share = QStringLiteral("1/1");
    c.holderCount = HolderLineCount(c.tables);
    return c;
}

inline sqlstore::Query acts(qlonglong id)
{
    return sqlstore::database().query(QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                                          + QStringLiteral(" WHERE ID=? ORDER BY NR"),
                                      {id});
}

inline QVariant requestValue(qlonglong id, const QString &column)
{
    return sqlstore::database().scalar(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ")
                                           + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                                           + QStringLiteral(" WHERE ID=?"),
                                       {id});
}

inline qlonglong countOf(const QString &file, const QString &condition = QStringLiteral("1=1"),
                         const QVariantList &parameters = {})
{
    return sqlstore::database()
        .scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QuotedTablePath(file) + QStringLiteral(" WHERE ") + condition,
                parameters)
        .toLongLong();
}

class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session().workstationUser = QStringLiteral("PC1 - clerk");
        CreateTables();
        WriteSetting(QStringLiteral("CONST"), QStringLiteral("UNITATE"), QStringLiteral("PRIMARIA ARVENA"));
    }

    // Adds a request and drops the working tables, as the window does.
    qlonglong add(const QDate &date, const QStringList &sellers, const QList<Holder> &holders)
    {
        CollectedRequest c = collected(date, sellers, holders);
        const qlonglong id = life.AddRequest(c);
        DropWorkingTables(c.tables);
        return id;
    }

    ProgramFolderFixture folder;
    ScriptedPrompter prompter;
    RequestLifecycle life{prompter};
};

} // namespace registertest
