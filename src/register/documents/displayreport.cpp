#include "register/documents/displayreport.h"

#include "register/documents/documentfiles.h"
#include "register/documents/notifications.h"
#include "templates/rtfreplace.h"

namespace {

// The sellers joined by ", " with " si " before the last.
QString sellersPhrase(const QList<Row> &sellers)
{
    QString text;
    for (qsizetype r = 0; r < sellers.size(); ++r) {
        if (r > 0)
            text += r + 1 == sellers.size() ? QStringLiteral(" si ") : QStringLiteral(", ");
        text += sellers.at(r)[QStringLiteral("VANZATOR")];
    }
    return text;
}

} // namespace

QString ListNumberBeforeReport(const QString &reportNumber, qint64 holders)
{
    return NumberBefore(reportNumber, holders + 1);
}

QString NotificationLines(const ActContext &act)
{
    const QString sellers = sellersPhrase(act.sellers);
    QStringList lines;
    for (const Row &n : LoadNotifications(act.request.id)) {
        lines << QStringLiteral("Notificarea preemtorului ") + n[QStringLiteral("NUME")] + QStringLiteral(" nr.")
                     + ActNumber(n, act.settings.perRequestNumbering) + QLatin1Char('/') + n[QStringLiteral("DATAA")]
                     + QStringLiteral(" pentru terenul supus vânzarii de proprietarul/proprietarii ") + sellers;
    }
    return lines.isEmpty() ? QStringLiteral("Notificarea preemtorului: -") : lines.join(QStringLiteral(" \\par "));
}

DocumentResult BuildDisplayReport(const ActContext &act, const QString &templatePath, const QString &target)
{
    const Row &r = act.request.row;
    WholeDocument file(target);
    TRTFReplace rtf;
    rtf.RTFSursa = templatePath;
    rtf.RTFDest = file.partPath();
    rtf.BeginDocument();
    rtf.AddField(QStringLiteral("[JUDET]"), act.settings.judet);
    rtf.AddField(QStringLiteral("[PRIMARIA]"), act.settings.unitate);
    rtf.AddField(QStringLiteral("[PRIMAR]"), act.settings.primar);
    rtf.AddField(QStringLiteral("[SECRETAR]"), act.settings.secretar);
    rtf.AddField(QStringLiteral("[SITE]"), act.settings.site);
    const QString number = ActNumber(act.act, act.settings.perRequestNumbering);
    rtf.AddField(QStringLiteral("[NR]"), number);
    rtf.AddField(QStringLiteral("[DATAA]"), act.act[QStringLiteral("DATAA")]);
    rtf.AddField(QStringLiteral("[VANZATOR]"), sellersPhrase(act.sellers));
    rtf.AddField(QStringLiteral("[FUNCTIONAR]"), r[QStringLiteral("FUNCTIONAR")]);
    rtf.AddField(QStringLiteral("[LOCALIT]"), act.settings.localit);
    rtf.AddField(QStringLiteral("[NRC]"), act.request.number);
    rtf.AddField(QStringLiteral("[DATAC]"), r[QStringLiteral("DATAC")]);
    rtf.AddField(QStringLiteral("[ORA]"), CurrentTime());
    rtf.AddField(QStringLiteral("[SUPRAF]"), r[QStringLiteral("SUPRAF")]);
    rtf.AddField(QStringLiteral("[NOTIFICARE]"), NotificationLines(act));
    rtf.AddField(QStringLiteral("[NRLP]"), ListNumberBeforeReport(number, r.number(QStringLiteral("NRPREE"))));
    rtf.WriteBody();
    QString error;
    if (!rtf.EndDocument())
        return {DocumentStatus::Failed, {}, file.explain(rtf.errorString())};
    if (!file.commit(&error))
        return {DocumentStatus::Failed, {}, error};
    return {DocumentStatus::Written, target, {}};
}
