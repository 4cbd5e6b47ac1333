// A data folder with requests, sellers, holders, answers and acts for the
// document tests and the benchmark: the real tables of the session's data
// folder, the program's own templates and the institution's settings.
#pragma once

#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "platform/session.h"
#include "templates/catalogue.h"

#include <QDate>
#include <QString>

namespace docfixture {

inline void exec(const char *table, const QString &columns, const QVariantList &values)
{
    QString marks;
    for (int i = 0; i < values.size(); ++i)
        marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
    sqlstore::database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QString::fromLatin1(table)) + QStringLiteral(" (")
                                  + columns + QStringLiteral(") VALUES (") + marks + QStringLiteral(")"),
                              values);
}

// Tables, templates and the settings of a town hall; numbering per request
// when `perRequest`.
inline void prepareDataFolder(bool perRequest = false)
{
    CreateTables();
    ExtractTemplates(session().dataFolder, session().programFolder);
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("UNITATE"), QStringLiteral("PRIMARIA COMUNEI VALEA MARE"));
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("LOCALIT"), QStringLiteral("VALEA MARE"));
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("JUDET"), QStringLiteral("5"));
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("PRIMAR"), QStringLiteral("IONESCU PETRE"));
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("SECRETAR"), QStringLiteral("MARIN ELENA"));
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("SITE"), QStringLiteral("www.valeamare.ro"));
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("NumTip"), perRequest ? QStringLiteral("2") : QStringLiteral("1"));
}

struct Request {
    qint64 id = 1;
    qint64 nr = 10;
    qint64 nr2 = 12;
    QDate datac = QDate(2025, 3, 3);
    QString tippf = QStringLiteral("FIZICA");
    int sellers = 1;
    int holders = 0;
    QString pv1 = QStringLiteral("N");
    int stare = 0;
};

inline void addRequest(const Request &r)
{
    exec("Cereri.dbf",
         QStringLiteral("ID, NR, NR2, NRDOSAR, DATAC, TIPPF, NRV, NRPREE, SUPRAF, COTAPARTE, COTAPARTES, FARACONTR, PRET,"
                        " NRCAD, NRCARTE, TARLA, NRTARLA, NRPARC, CATEG, FUNCTIONAR, STARE, PV1, LITIGII, GREVAT, CONDITII"),
         {r.id, r.nr, r.nr2, QStringLiteral("D-%1").arg(r.id), r.datac, r.tippf, r.sellers, r.holders, QStringLiteral("1.25"),
          QStringLiteral("1/1"), QStringLiteral("1.25"), QStringLiteral("X"), 15000.5, QStringLiteral("50123"),
          QStringLiteral("50123"), QStringLiteral("La Vii"), QStringLiteral("T12"), QStringLiteral("P45"),
          QStringLiteral("arabil"), QStringLiteral("POPA ANDREI"), r.stare, r.pv1, QStringLiteral("NU"),
          QStringLiteral("DA"), QStringLiteral("plata integrala la semnare")});
}

inline void addSeller(qint64 idv, qint64 id, int nrcrt, const QString &name, const QString &cnp,
                      const QString &mandatary = {}, const QString &mandataryCnp = {})
{
    exec("Vanzatori.dbf",
         QStringLiteral("IDV, ID, NRCRT, VANZATOR, CNPCUI, LOCV, ADRESA, JUDET, BI, BISERIA, BINR, BIELIB, BIDATA, TEL,"
                        " MANDATAR, MCNPCUI, MLOCV, MADRESA, MJUDET, MCODPOST, MCALITATE, MCONFORM"),
         {idv, id, nrcrt, name, cnp, QStringLiteral("Loc%1").arg(nrcrt), QStringLiteral("Str. Lunga nr. %1").arg(nrcrt),
          QStringLiteral("BRASOV"), QStringLiteral("CI"), QStringLiteral("BV"), QStringLiteral("12345%1").arg(nrcrt),
          QStringLiteral("SPCLEP Brasov"), QDate(2020, 5, 4), QStringLiteral("07220000%1").arg(nrcrt), mandatary,
          mandataryCnp, mandatary.isEmpty() ? QString() : QStringLiteral("Codlea"),
          mandatary.isEmpty() ? QString() : QStringLiteral("Str. Scurta 2"),
          mandatary.isEmpty() ? QString() : QStringLiteral("BRASOV"),
          mandatary.isEmpty() ? QString() : QStringLiteral("505100"),
          mandatary.isEmpty() ? QString() : QStringLiteral("imputernicit"),
          mandatary.isEmpty() ? QString() : QStringLiteral("procura 12/2025")});
}

inline void addHolder(qint64 idp, qint64 id, int rank, const QString &name, const QString &address)
{
    exec("Preemptori.dbf", QStringLiteral("IDP, ID, RANG, POSTA, TIPPF, NUME, ADRESA, CNP, CODPOSTAL"),
         {idp, id, rank, QStringLiteral("DA"), QStringLiteral("FIZICA"), name, address, QStringLiteral("1800101080011"),
          QStringLiteral("500001")});
}

struct Act {
    qint64 ida = 1;
    qint64 id = 1;
    QString kind;
    qint64 nr = 0;
    qint64 nr2 = 12;
    qint64 nr2per = 0;
    qint64 idc = 0;
    QString destinatar;
    QDate dataa = QDate(2025, 3, 3);
};

inline void addAct(const Act &a)
{
    exec("AlteActe.dbf", QStringLiteral("IDA, ID, BLOCAT, NR, NR2, NR2PER, DATAA, MODUL, EMITENT, DESTINATAR, TIPACT, DETALII, IDC"),
         {a.ida, a.id, a.kind, a.nr, a.nr2, a.nr2per, a.dataa, QStringLiteral("iesire"),
          QStringLiteral("PRIMARIA COMUNEI VALEA MARE"), a.destinatar, QStringLiteral("ACT ") + a.kind,
          QStringLiteral("Cererea %1").arg(a.id), a.idc});
}

struct Answer {
    qint64 idc = 1;
    qint64 id = 1;
    qint64 nr = 0;
    qint64 nr2 = 12;
    qint64 nr2per = 0;
    int rank = 1;
    QString name;
    QString tippf = QStringLiteral("FIZICA");
    QDate datac = QDate(2025, 3, 20);
    double price = 16000;
};

inline void addAnswer(const Answer &a)
{
    exec("Comunicari.dbf", QStringLiteral("IDC, ID, NR, NR2, NR2PER, DATAC, TIPPF, CUMPARATOR, CNPCUI, RANG, LOC, ADRESA, PRET, DATAAFIS"),
         {a.idc, a.id, a.nr, a.nr2, a.nr2per, a.datac, a.tippf, a.name, QStringLiteral("2850505080022"), a.rank,
          QStringLiteral("Ghimbav"), QStringLiteral("Str. Noua 7"), a.price, a.datac});
}

// A request as the register writes it: `holders` holders of ranks 1, 2, ...
// (cycling through 1 .. 7), the list (kind 9), one notification per holder
// (kind 14, carrying the holder's IDP), the display report (1) and the two
// forwarding letters (2, 15), numbered one after the other from the
// request's number, as per-request numbers 1, 2, ...
inline void addOpenedRequest(Request r, const QList<QString> &sellerNames)
{
    r.sellers = int(sellerNames.size());
    addRequest(r);
    for (int k = 0; k < sellerNames.size(); ++k)
        addSeller(r.id * 100 + k, r.id, k + 1, sellerNames.at(k), QStringLiteral("17001010800%1").arg(k + 10));
    qint64 nr = r.nr;
    qint64 per = 0;
    qint64 ida = r.id * 1000;
    addAct({++ida, r.id, QStringLiteral("9"), ++nr, r.nr2, ++per, 0, QStringLiteral("D.A.J. si A.D.S.")});
    for (int h = 0; h < r.holders; ++h) {
        const qint64 idp = r.id * 1000 + h;
        const QString name = QStringLiteral("PREEMPTOR %1").arg(h + 1);
        addHolder(idp, r.id, h % 7 + 1, name, QStringLiteral("Str. Campului %1").arg(h + 1));
        addAct({++ida, r.id, QStringLiteral("14"), ++nr, r.nr2, ++per, idp, name});
    }
    addAct({++ida, r.id, QStringLiteral("1"), ++nr, r.nr2, ++per, 0, QStringLiteral("D.A.J. si A.D.S.")});
    addAct({++ida, r.id, QStringLiteral("2"), ++nr, r.nr2, ++per, 0, QStringLiteral("D.A.J.")});
    addAct({++ida, r.id, QStringLiteral("15"), ++nr, r.nr2, ++per, 0, QStringLiteral("A.D.S.")});
}

// The realistic file: request 1 (per-request number 12) of two sellers, the
// second with a mandatary, four holders with their opening acts (12/1 to
// 12/8), one acceptance communication 12/9 from a person not on the list with
// its acts 3, 4, 5, an offer 12/13 with its acts 6 and 19, and one act of
// every other kind; the acts of a choice carry the communication.
inline void addFullRequest()
{
    Request r;
    r.holders = 4;
    r.sellers = 2;
    r.nr = 100;
    addRequest(r);
    addSeller(1, 1, 1, QStringLiteral("ANA VASILE"), QStringLiteral("2800101080011"));
    addSeller(2, 1, 2, QStringLiteral("BOGDAN ROTARU"), QStringLiteral("1790202080022"), QStringLiteral("ION MANDA"),
              QStringLiteral("1700303080033"));
    qint64 nr = 100;
    qint64 per = 0;
    qint64 ida = 0;
    addAct({++ida, 1, QStringLiteral("9"), ++nr, 12, ++per, 0, QStringLiteral("D.A.J. si A.D.S.")});
    const QString names[] = {QStringLiteral("VECIN UNU"), QStringLiteral("VECIN DOI"), QStringLiteral("ARENDAS TREI"),
                             QStringLiteral("STATUL ROMAN")};
    const int ranks[] = {1, 1, 2, 7};
    for (int h = 0; h < 4; ++h) {
        addHolder(h + 1, 1, ranks[h], names[h], QStringLiteral("Str. Campului %1").arg(h + 1));
        addAct({++ida, 1, QStringLiteral("14"), ++nr, 12, ++per, h + 1, names[h]});
    }
    addAct({++ida, 1, QStringLiteral("1"), ++nr, 12, ++per, 0, QStringLiteral("D.A.J. si A.D.S.")});
    addAct({++ida, 1, QStringLiteral("2"), ++nr, 12, ++per, 0, QStringLiteral("D.A.J.")});
    addAct({++ida, 1, QStringLiteral("15"), ++nr, 12, ++per, 0, QStringLiteral("A.D.S.")});
    Answer communication;
    communication.idc = 1;
    communication.nr = ++nr;
    communication.nr2per = ++per;
    communication.rank = 2;
    communication.name = QStringLiteral("STRAIN VASILE");
    addAnswer(communication);
    for (const char *kind : {"3", "4", "5"})
        addAct({++ida, 1, QString::fromLatin1(kind), ++nr, 12, ++per, 1, QStringLiteral("D.A.J.")});
    Answer offer;
    offer.idc = 2;
    offer.nr = ++nr;
    offer.nr2per = ++per;
    offer.rank = 100;
    offer.name = QStringLiteral("CUMPARATOR SRL");
    offer.tippf = QStringLiteral("JURIDICA");
    offer.datac = QDate(2025, 5, 20);
    addAnswer(offer);
    ++per; // an offer's list number is skipped
    for (const char *kind : {"6", "19"})
        addAct({++ida, 1, QString::fromLatin1(kind), ++nr, 12, ++per, 2, QStringLiteral("D.A.J.")});
    for (const char *kind : {"17", "7", "10", "11", "16", "18", "23"})
        addAct({++ida, 1, QString::fromLatin1(kind), ++nr, 12, ++per, 0, QStringLiteral("D.A.J.")});
    for (const char *kind : {"12", "8", "13"})
        addAct({++ida, 1, QString::fromLatin1(kind), ++nr, 12, ++per, 1, QStringLiteral("D.A.J.")});
    for (const char *kind : {"21", "22"})
        addAct({++ida, 1, QString::fromLatin1(kind), ++nr, 12, ++per, 2, QStringLiteral("D.A.J.")});
    addAct({++ida, 1, QString(), ++nr, 12, ++per, 0, QStringLiteral("ALTCINEVA")});
}

} // namespace docfixture
