#include "register/documents/notifications.h"

#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "register/documents/documentfiles.h"
#include "templates/rtfreplace.h"

namespace {

using sqlstore::database;

// The act of a holder: by its id, or by name for acts that carry none.
const char kHolderOfAct[] = "(B.IDC=A.IDP OR ((B.IDC IS NULL OR B.IDC=0) AND B.DESTINATAR=A.NUME))";

void addNotification(TRTFReplace &rtf, const ActContext &act, const QString &sellers, const Row &n)
{
    const Row &r = act.request.row;
    rtf.AddField(QStringLiteral("[VANZATOR]"), sellers);
    rtf.AddField(QStringLiteral("[JUDET]"), act.settings.judet);
    rtf.AddField(QStringLiteral("[PRIMARIA]"), act.settings.unitate);
    rtf.AddField(QStringLiteral("[NR]"), ActNumber(n, act.settings.perRequestNumbering));
    rtf.AddField(QStringLiteral("[DATAA]"), n[QStringLiteral("DATAA")]);
    rtf.AddField(QStringLiteral("[NRC]"), act.request.number);
    rtf.AddField(QStringLiteral("[DATAC]"), r[QStringLiteral("DATAC")]);
    for (const char *field : {"NUME", "CNP", "RC", "ADRESA", "CODPOSTAL", "EMAIL", "TEL", "RANG"}) {
        const QString name = QString::fromLatin1(field);
        rtf.AddField(QLatin1Char('[') + name + QLatin1Char(']'), n[name]);
    }
    for (const char *field : {"SUPRAF", "NRCAD", "NRCARTE", "NRTARLA", "NRPARC", "CATEG", "PRET"}) {
        const QString name = QString::fromLatin1(field);
        rtf.AddField(QLatin1Char('[') + name + QLatin1Char(']'), r[name]);
    }
    rtf.AddField(QStringLiteral("[COTAPARTE]"), ShareText(r));
    rtf.AddField(QStringLiteral("[PRIMAR]"), act.settings.primar);
    rtf.AddField(QStringLiteral("[SECRETAR]"), act.settings.secretar);
}

} // namespace

QString NotificationSellersPhrase(const QList<Row> &sellers)
{
    QString text;
    for (qsizetype r = 0; r < sellers.size(); ++r) {
        const Row &s = sellers.at(r);
        if (r > 0 && r + 1 == sellers.size())
            text += QStringLiteral(" si ");
        text += s[QStringLiteral("VANZATOR")];
        if (!s[QStringLiteral("MANDATAR")].isEmpty())
            text += QStringLiteral(" prin ") + s[QStringLiteral("MANDATAR")];
        if (r + 1 < sellers.size())
            text += QStringLiteral("; ");
    }
    return text;
}

QList<Row> LoadNotifications(qint64 requestId)
{
    sqlstore::Query q = database().query(
        QStringLiteral("SELECT A.*, B.NR, B.NR2, B.NR2PER, B.DATAA FROM ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
            + QStringLiteral(" B JOIN ") + QuotedTablePath(QStringLiteral("Preemptori.dbf")) + QStringLiteral(" A ON ")
            + QString::fromLatin1(kHolderOfAct)
            + QStringLiteral(" WHERE B.ID=? AND A.ID=? AND B.BLOCAT='14' ORDER BY A.RANG, A.NUME"),
        {requestId, requestId});
    QList<Row> rows;
    for (bool more = q.first(); more; more = q.next())
        rows.append(RowOf(q));
    return rows;
}

DocumentResult BuildNotifications(const ActContext &act, const QString &templatePath, const QString &target)
{
    const QList<Row> notifications = LoadNotifications(act.request.id);
    if (notifications.isEmpty())
        return {DocumentStatus::Failed, {}, QStringLiteral("Cererea nu are notificari de listat!")};
    const QString sellers = NotificationSellersPhrase(act.sellers);
    WholeDocument file(target);
    TRTFReplace rtf;
    rtf.RTFSursa = templatePath;
    rtf.RTFDest = file.partPath();
    rtf.BeginDocument();
    for (qsizetype i = 0; i < notifications.size(); ++i) {
        if (i > 0)
            rtf.NewPage();
        addNotification(rtf, act, sellers, notifications.at(i));
        rtf.WriteBody();
    }
    QString error;
    if (!rtf.EndDocument())
        return {DocumentStatus::Failed, {}, file.explain(rtf.errorString())};
    if (!file.commit(&error))
        return {DocumentStatus::Failed, {}, error};
    return {DocumentStatus::Written, target, {}};
}

int RenameHolderNotification(qint64 requestId, qint64 idp, const QString &oldName, const QString &newName)
{
    return database().execCount(QStringLiteral("UPDATE ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                                    + QStringLiteral(" SET DESTINATAR=? WHERE ID=? AND BLOCAT='14'"
                                                     " AND (IDC=? OR ((IDC IS NULL OR IDC=0) AND DESTINATAR=?))"),
                                {newName, requestId, idp, oldName});
}
