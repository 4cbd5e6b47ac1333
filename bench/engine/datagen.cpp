#include "datagen.h"

#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"

#include <QDir>

namespace benchdata {
namespace {

using sqlstore::database;

QString table(const QString &folder, const QString &name)
{
    return sqlstore::quoteName(QDir(folder).filePath(name));
}

// Rows 1..N as a recursive common table expression.
QString numbers(int n)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1)").arg(n);
}

// A date spread over ten years, from a row number.
QString dateOf(const QString &expression)
{
    return QStringLiteral("date('2015-01-01', '+' || ((%1) * 7919 % 3650) || ' days')").arg(expression);
}

} // namespace

void generate(const QString &folder, int n)
{
    database().exec("CREATE TABLE " + table(folder, "Log.dbf")
                    + " (IDLOG DECIMAL(10,0), DATAL DATE, ORA CHAR(12), ACTIUNE CHAR(120), UTILIZATOR CHAR(16))");
    database().exec("CREATE TABLE " + table(folder, "Cereri.dbf")
                    + " (ID DECIMAL(10,0), NR DECIMAL(10,0), NR2 DECIMAL(10,0), NRDOSAR CHAR(12), DATAC DATE,"
                      " TIPPF CHAR(8), NRV DECIMAL(6,0), NRPREE DECIMAL(6,0), SUPRAF CHAR(24), COTAPARTE CHAR(10),"
                      " COTAPARTES CHAR(11), FARACONTR CHAR(1), PRET DECIMAL(12,2), NRCAD CHAR(80), NRCARTE CHAR(80),"
                      " TARLA CHAR(30), NRTARLA CHAR(20), NRPARC CHAR(100), CATEG CHAR(240), FUNCTIONAR CHAR(32),"
                      " STARE DECIMAL(6,0), PV1 CHAR(1), LITIGII CHAR(2), GREVAT CHAR(2), CONDITII CHAR(240))");
    database().exec("CREATE TABLE " + table(folder, "Comunicari.dbf")
                    + " (IDC DECIMAL(10,0), ID DECIMAL(10,0), NR DECIMAL(10,0), NR2 DECIMAL(10,0),"
                      " NR2PER DECIMAL(6,0), DATAC DATE, TIPPF CHAR(8), CUMPARATOR CHAR(80), CNPCUI CHAR(13),"
                      " RANG DECIMAL(6,0), LOC CHAR(32), ADRESA CHAR(120), PRET DECIMAL(8,2), DATAAFIS DATE)");
    database().exec("CREATE TABLE " + table(folder, "Preemptori.dbf")
                    + " (IDP DECIMAL(10,0), ID DECIMAL(10,0), RANG DECIMAL(10,0), POSTA CHAR(2), TIPPF CHAR(8),"
                      " NUME CHAR(80), ADRESA CHAR(120), CNP CHAR(13), RC CHAR(24), CODPOSTAL CHAR(8),"
                      " EMAIL CHAR(60), TEL CHAR(16))");
    database().exec("CREATE TABLE " + table(folder, "AlteActe.dbf")
                    + " (IDA DECIMAL(10,0), ID DECIMAL(10,0), BLOCAT CHAR(2), NR DECIMAL(10,0), NR2 DECIMAL(10,0),"
                      " NR2PER DECIMAL(6,0), DATAA DATE, DATAEXP DATE, MODUL CHAR(7), EMITENT CHAR(80),"
                      " DESTINATAR CHAR(80), TIPACT CHAR(80), DETALII CHAR(80), IDC DECIMAL(10,0))");
    database().exec("CREATE TABLE " + table(folder, "Vanzatori.dbf")
                    + " (IDV DECIMAL(10,0), ID DECIMAL(10,0), NRCRT DECIMAL(6,0), VANZATOR CHAR(80),"
                      " CNPCUI CHAR(13), LOCV CHAR(32), ADRESA CHAR(120), JUDET CHAR(32), BI CHAR(4),"
                      " BISERIA CHAR(4), BINR CHAR(10), BIELIB CHAR(40), BIDATA DATE, TEL CHAR(14),"
                      " MANDATAR CHAR(80), MCALITATE CHAR(80), MCONFORM CHAR(80), MCNPCUI CHAR(13), MLOCV CHAR(32),"
                      " MADRESA CHAR(120), MJUDET CHAR(32), MCODPOST CHAR(8), MBI CHAR(4), MBISERIA CHAR(4),"
                      " MBINR CHAR(10), MBIELIB CHAR(40), MBIDATA DATE, MTEL CHAR(14))");

    database().exec(numbers(n) + " INSERT INTO " + table(folder, "Cereri.dbf")
                    + " (ID, NR, NR2, NRDOSAR, DATAC, TIPPF, NRV, NRPREE, SUPRAF, COTAPARTE, COTAPARTES, FARACONTR,"
                      " PRET, NRCAD, NRCARTE, TARLA, NRTARLA, NRPARC, CATEG, FUNCTIONAR, STARE, PV1, LITIGII, GREVAT,"
                      " CONDITII)"
                      " SELECT i, i*8, i, 'D' || i, " + dateOf("i") + ","
                      " CASE WHEN i%5=0 THEN 'JURIDICA' ELSE 'FIZICA' END, 1+(i%3=0)+(i%7=0), 3+i%3,"
                      " (i%50) || ',5 ha', '1/1', (i%50) || ',5 ha', '', 10000+(i%997)*100.5,"
                      " 'NC' || (50000+i), 'CF' || (80000+i), 'Tarla ' || (i%90), 'T' || (i%90), 'P' || (i%400),"
                      " 'arabil - teren agricol în extravilan, categoria de folosinţă arabil', 'Ionescu Maria', i%6,"
                      " CASE WHEN i%2=0 THEN 'D' ELSE 'N' END, 'NU', 'NU',"
                      " 'Vânzare cu plata integrală la semnarea contractului' FROM n");
    database().exec(numbers(n) + ", k(j) AS (VALUES(1),(2),(3)) INSERT INTO " + table(folder, "Vanzatori.dbf")
                    + " (IDV, ID, NRCRT, VANZATOR, CNPCUI, LOCV, ADRESA, JUDET, BI, BISERIA, BINR, BIELIB, BIDATA, TEL,"
                      " MANDATAR, MCALITATE, MCONFORM, MCNPCUI)"
                      " SELECT i*10+j, i, j, 'Popescu Ştefan ' || i || '-' || j, 1800101000000+i, 'Sălcuţa',"
                      " 'Str. Principală nr. ' || (i%200), 'Dolj', 'CI', 'DJ', 100000+i, 'SPCLEP Craiova', "
                      + dateOf("i+j") + ", '0744' || (100000+i),"
                      " CASE WHEN i%10=0 THEN 'Mandatar ' || i END, CASE WHEN i%10=0 THEN 'avocat' END,"
                      " CASE WHEN i%10=0 THEN 'procura nr. ' || i END, CASE WHEN i%10=0 THEN 1900101000000+i END"
                      " FROM n, k WHERE j <= 1+(i%3=0)+(i%7=0)");
    database().exec(numbers(n) + ", k(j) AS (VALUES(1),(2),(3),(4),(5)) INSERT INTO " + table(folder, "Preemptori.dbf")
                    + " (IDP, ID, RANG, POSTA, TIPPF, NUME, ADRESA, CNP, RC, CODPOSTAL, EMAIL, TEL)"
                      " SELECT i*10+j, i, j, 'DA', 'FIZICA', 'Vecin ' || i || '-' || j, 'Str. Vecinilor nr. ' || j,"
                      " 2700101000000+i, '', '207555', '', '0251' || i FROM n, k WHERE j <= 3+i%3");
    database().exec(numbers(n) + " INSERT INTO " + table(folder, "Comunicari.dbf")
                    + " (IDC, ID, NR, NR2, NR2PER, DATAC, TIPPF, CUMPARATOR, CNPCUI, RANG, LOC, ADRESA, PRET, DATAAFIS)"
                      " SELECT i, i, i*8+7, i, 7, " + dateOf("i+20") + ", 'FIZICA', 'Vecin ' || i || '-1',"
                      " 2700101000000+i, CASE WHEN i%4=0 THEN 100 ELSE 1 END, 'Sălcuţa', 'Str. Vecinilor nr. 1',"
                      " 50000+(i%400)*100, " + dateOf("i") + " FROM n WHERE i%2=0");
    database().exec(numbers(n) + ", k(j) AS (VALUES(1),(2),(3),(4),(5),(6)) INSERT INTO " + table(folder, "AlteActe.dbf")
                    + " (IDA, ID, BLOCAT, NR, NR2, NR2PER, DATAA, DATAEXP, MODUL, EMITENT, DESTINATAR, TIPACT, DETALII, IDC)"
                      " SELECT i*10+j, i, CASE j WHEN 1 THEN '13' WHEN 2 THEN '14' WHEN 3 THEN '1' ELSE '' END,"
                      " i*8+j, i, j, " + dateOf("i") + ", CASE WHEN j%2=0 THEN " + dateOf("i+2") + " END,"
                      " CASE WHEN j=6 THEN 'intrare' ELSE 'iesire' END, 'Primăria comunei Sălcuţa',"
                      " 'Vecin ' || i || '-' || j, 'Notificare preemptor', 'Cererea ' || i, 0 FROM n, k");
}

} // namespace benchdata
