#include "register/registermodels.h"

#include "datastore/calendar.h"
#include "dialogs/numericrules.h"

#include <QColor>
#include <QFont>

namespace {

const QStringList kDeadlineColumns = {QStringLiteral("DataScad1"), QStringLiteral("DataScad2"),
                                      QStringLiteral("DataScad")};

} // namespace

QList<GridColumn> RegisterRequestColumns()
{
    const QString request = QStringLiteral("Cerere"), seller = QStringLiteral("Date despre vanzator"),
                  address = QStringLiteral("Adresa"), land = QStringLiteral("Date despre teren"),
                  mandatary = QStringLiteral("Mandatar"), share = QStringLiteral("Cota parte");
    return {
        {"Inchis", "STARES", request, true},
        {"Termen expirat", "Expirat", request, true},
        {"Numar", "NRS", request, true},
        {"Din data", "DATAC", request},
        {"Numar dosar", "NRDOSAR", request},
        {"Nr. Preemptori", "NRPREE", request},
        {"Nr. vanz.", "NRV", request},
        {"Vanzator", "VANZATOR", seller, true},
        {"Tip persoana", "TIPPF", seller},
        {"CNP / CUI", "CNPCUI", seller},
        {"Localitatea", "LOCV", address},
        {"Adresa", "ADRESA", address},
        {"Suprafata -ha-", "SUPRAF", land},
        {"Raport", "COTAPARTE", share},
        {"Supraf. (ha)", "COTAPARTES", share},
        {"Fara contract", "FARACONTR", land},
        {" Pret -lei-", "PRET", land},
        {"Nr. cadastral", "NRCAD", land},
        {"Nr. carte funciara", "NRCARTE", land},
        {"Denumire Tarla", "TARLA", land},
        {"Nr. tarla", "NRTARLA", land},
        {"Nr. parcela", "NRPARC", land},
        {"Categoria", "CATEG", land},
        {"Functionar", "FUNCTIONAR", land},
        {"Zile de asteptat", "ZileRamase", request, true},
        {"Nume si prenume", "MANDATAR", mandatary},
        {"Telefon", "MTEL", mandatary},
    };
}

QList<GridColumn> RegisterAnswerColumns(bool stageOne)
{
    const QString answer = stageOne ? QStringLiteral("Comunicare") : QStringLiteral("Oferta");
    const QString person = stageOne ? QStringLiteral("Cumparator") : QStringLiteral("Potential cumparator");
    return {
        {"Numar", "NRS", answer, true}, {"Din data", "DATAC", answer},       {"Tip persoana", "TIPPF", person},
        {"Cumparator", "CUMPARATOR", person, true}, {"CNP / CUI", "CNPCUI", person}, {"Rang", "RANG", person},
        {"Localitatea", "LOC", person}, {"Adresa", "ADRESA", person},      {"Pret oferit -lei-", "PRET", answer},
        {"Data afisarii", "DATAAFIS", answer},
    };
}

QList<GridColumn> RegisterActColumns()
{
    const QString band = QStringLiteral("Inregistrare");
    return {
        {"Numar", "NRS", band, true},   {"Data inregistrarii", "DATAA", band}, {"Data expedierii", "DATAEXPS", band},
        {"Tip Act", "TIPACT", band, true}, {"Emitent", "EMITENT", band},     {"Destinatar", "DESTINATAR", band},
        {"Detalii", "DETALII", band},
    };
}

QString RequestCellText(const RequestRegister &requests, int row, const QString &field)
{
    const QVariant value = requests.value(row, field);
    if (kDeadlineColumns.contains(field))
        return value.toInt() == 0 ? QString() : FromDaySerial(value.toInt()).toString(QStringLiteral("dd.MM.yyyy"));
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::Double:
        return ShortestDecimal(value.toDouble());
    case QMetaType::QString:
        return value.toString().trimmed();
    default:
        return value.toString();
    }
}

RequestsModel::RequestsModel(RequestRegister &requests, QObject *parent)
    : QAbstractTableModel(parent), requests_(requests), columns_(RegisterRequestColumns())
{
}

void RequestsModel::reload()
{
    beginResetModel();
    endResetModel();
}

int RequestsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : requests_.rowCount();
}

int RequestsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RequestsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= requests_.rowCount())
        return {};
    const GridColumn &column = columns_.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return RequestCellText(requests_, index.row(), column.field);
    case Qt::ToolTipRole:
        return requests_.columns(index.row()).HINTS;
    case Qt::FontRole:
        if (column.bold) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    case Qt::ForegroundRole:
        if (column.field == QLatin1String("Expirat") || column.field == QLatin1String("STARES"))
            return QColor(Qt::red);
        return {};
    default:
        return {};
    }
}

QVariant RequestsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return GridHeaderData(columns_, section, orientation, role);
}

ComputedField AnswerAndActColumns(bool perRequestNumbering)
{
    return [perRequestNumbering](const sqlstore::Query &row, const QString &field) -> QVariant {
        if (field == QLatin1String("NRS")) {
            const auto whole = [&row](const char *column) {
                return qint64(row.value(QLatin1String(column)).toDouble());
            };
            return EntryDisplayNumber(whole("NR"), whole("NR2"), whole("NR2PER"), perRequestNumbering);
        }
        if (field == QLatin1String("DATAEXPS")) {
            const QDate sent = row.value(QStringLiteral("DATAEXP")).toDate();
            return sent.isValid() && ToDaySerial(sent) >= 10000 ? sent.toString(QStringLiteral("dd.MM.yyyy"))
                                                                : QStringLiteral("-");
        }
        return {};
    };
}
