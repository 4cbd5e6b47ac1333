#include "dialogs/requestgrids.h"

#include "datastore/counters.h"

QList<GridColumn> SellerGridColumns()
{
    const QString ci = QStringLiteral("C.I.");
    const QString mandatar = QStringLiteral("Mandatar");
    return {{QStringLiteral("Nr. crt."), QStringLiteral("NRCRT")},
            {QStringLiteral("Nume si prenume / Denumire"), QStringLiteral("VANZATOR")},
            {QStringLiteral("CNP/CUI"), QStringLiteral("CNPCUI")},
            {QStringLiteral("Localitatea"), QStringLiteral("LOCV")},
            {QStringLiteral("Adresa"), QStringLiteral("ADRESA")},
            {QStringLiteral("Judet"), QStringLiteral("JUDET")},
            {QStringLiteral("Act"), QStringLiteral("BI"), ci},
            {QStringLiteral("Seria"), QStringLiteral("BISERIA"), ci},
            {QStringLiteral("Numar"), QStringLiteral("BINR"), ci},
            {QStringLiteral("Eliberat"), QStringLiteral("BIELIB"), ci},
            {QStringLiteral("La data"), QStringLiteral("BIDATA"), ci},
            {QStringLiteral("Telefon"), QStringLiteral("TEL")},
            {QStringLiteral("Nume si prenume"), QStringLiteral("MANDATAR"), mandatar},
            {QStringLiteral("CNP/CUI"), QStringLiteral("MCNPCUI"), mandatar},
            {QStringLiteral("Telefon"), QStringLiteral("MTEL"), mandatar}};
}

QList<GridColumn> HolderGridColumns()
{
    return {{QStringLiteral("Rang"), QStringLiteral("RANG"), QString(), true},
            {QStringLiteral("Tip persoana"), QStringLiteral("TIPPF")},
            {QStringLiteral("Nume si prenume / Denumire"), QStringLiteral("NUME")},
            {QStringLiteral("Adresa"), QStringLiteral("ADRESA")},
            {QStringLiteral("Prin Posta"), QStringLiteral("POSTAS"), QString(), true},
            {QStringLiteral("CNP / CIF"), QStringLiteral("CNP")},
            {QStringLiteral("Reg.Com."), QStringLiteral("RC")},
            {QStringLiteral("Cod Postal"), QStringLiteral("CODPOSTAL")},
            {QStringLiteral("Email"), QStringLiteral("EMAIL")},
            {QStringLiteral("Telefon"), QStringLiteral("TEL")}};
}

QList<GridColumn> RequestGridColumns()
{
    const QString cerere = QStringLiteral("Cerere");
    const QString vanzator = QStringLiteral("Date despre vanzator");
    const QString adresa = QStringLiteral("Adresa");
    return {{QStringLiteral("Numar"), QStringLiteral("NRS"), cerere},
            {QStringLiteral("Din data"), QStringLiteral("DATAC"), cerere},
            {QStringLiteral("Numar dosar"), QStringLiteral("NRDOSAR"), cerere},
            {QStringLiteral("Nr. Preemptori"), QStringLiteral("NRPREE")},
            {QStringLiteral("Nr. vanz."), QStringLiteral("NRV"), vanzator},
            {QStringLiteral("Vanzator"), QStringLiteral("VANZATOR"), vanzator},
            {QStringLiteral("Tip persoana"), QStringLiteral("TIPPF"), vanzator},
            {QStringLiteral("CNP / CUI"), QStringLiteral("CNPCUI"), vanzator},
            {QStringLiteral("Localitatea"), QStringLiteral("LOCV"), adresa},
            {QStringLiteral("Adresa"), QStringLiteral("ADRESA"), adresa},
            {QStringLiteral("Suprafata -ha-"), QStringLiteral("SUPRAF")},
            {QStringLiteral("Functionar"), QStringLiteral("FUNCTIONAR")},
            {QStringLiteral("Nume si prenume"), QStringLiteral("MANDATAR")},
            {QStringLiteral("Telefon"), QStringLiteral("MTEL")}};
}

QList<GridColumn> CommunicationGridColumns()
{
    const QString comunicare = QStringLiteral("Comunicare");
    const QString cumparator = QStringLiteral("Cumparator");
    return {{QStringLiteral("Numar"), QStringLiteral("NRS"), comunicare},
            {QStringLiteral("Din data"), QStringLiteral("DATAC"), comunicare},
            {QStringLiteral("Tip persoana"), QStringLiteral("TIPPF"), cumparator},
            {QStringLiteral("Cumparator"), QStringLiteral("CUMPARATOR"), cumparator},
            {QStringLiteral("CNP / CUI"), QStringLiteral("CNPCUI"), cumparator},
            {QStringLiteral("Rang"), QStringLiteral("RANG"), cumparator},
            {QStringLiteral("Localitatea"), QStringLiteral("LOC"), cumparator},
            {QStringLiteral("Adresa"), QStringLiteral("ADRESA"), cumparator},
            {QStringLiteral("Pret oferit -lei-"), QStringLiteral("PRET")},
            {QStringLiteral("Data afisarii"), QStringLiteral("DATAAFIS")}};
}

ComputedField RequestGridComputed()
{
    const QString number = NumberingType() == 1 ? QStringLiteral("NR") : QStringLiteral("NR2");
    return [number](const sqlstore::Query &row, const QString &field) -> QVariant {
        if (field == QLatin1String("POSTAS"))
            return row.value(QStringLiteral("POSTA")).toString() == QLatin1String("DA") ? QStringLiteral("X") : QString();
        if (field == QLatin1String("NRS"))
            return row.value(number);
        return {};
    };
}
