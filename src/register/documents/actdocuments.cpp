#include "register/documents/actdocuments.h"

#include "register/documents/commonmarkers.h"
#include "register/documents/displayreport.h"
#include "register/documents/documentfiles.h"
#include "register/documents/listbuilder.h"
#include "register/documents/notifications.h"
#include "templates/rtfreplace.h"

#include <QFile>

namespace {

struct KindRow {
    int kind;
    ActBuilder builder;
    const char *file;
};

// Kinds whose template does not depend on the request (11, 12 and 20 do).
const KindRow kKinds[] = {
    {1, ActBuilder::DisplayReport, "Anexa_9.rtf"},
    {2, ActBuilder::Common, "AdresaDAJ.rtf"},
    {3, ActBuilder::HolderList, "Anexa_3.rtf"},
    {4, ActBuilder::Common, "PVComun.rtf"},
    {5, ActBuilder::Common, "AdresaCom.rtf"},
    {6, ActBuilder::Common, "PVOfertant.rtf"},
    {7, ActBuilder::Common, "Anexa_13.rtf"},
    {8, ActBuilder::Common, "PVFinalCom.rtf"},
    {9, ActBuilder::HolderList, "Anexa_3.rtf"},
    {10, ActBuilder::Common, "AdresaFinalFaraCom.rtf"},
    {13, ActBuilder::Common, "AdresaFinalCom.rtf"},
    {14, ActBuilder::Notifications, "Anexa_4.rtf"},
    {15, ActBuilder::Common, "AdresaADS.rtf"},
    {16, ActBuilder::Common, "Anexa_12.rtf"},
    {17, ActBuilder::Common, "Anexa_11.rtf"},
    {18, ActBuilder::Common, "AdresaAnulare.rtf"},
    {19, ActBuilder::Common, "AdresaOfertant.rtf"},
    {21, ActBuilder::Common, "PVFinalOf.rtf"},
    {22, ActBuilder::Common, "AdresaFinalOf.rtf"},
    {23, ActBuilder::Common, "CerereAnulOf.rtf"},
};

DocumentResult failed(const QString &message)
{
    return {DocumentStatus::Failed, {}, message};
}

DocumentResult fillCommon(const ActContext &act, const QString &templatePath, const QString &target)
{
    WholeDocument file(target);
    TRTFReplace rtf;
    rtf.RTFSursa = templatePath;
    rtf.RTFDest = file.partPath();
    rtf.BeginDocument();
    AddCommonMarkers(rtf, act);
    rtf.WriteBody();
    QString error;
    if (!rtf.EndDocument())
        return failed(file.explain(rtf.errorString()));
    if (!file.commit(&error))
        return failed(error);
    return {DocumentStatus::Written, target, {}};
}

DocumentResult buildHolderList(const ActContext &act, const QString &templatePath, const QString &target)
{
    QString error;
    const QString work = WriteHolderListTemplate(templatePath, HolderListEntries(act.request.id, act.kind), &error);
    if (work.isEmpty())
        return failed(error);
    const DocumentResult result = fillCommon(act, work, target);
    QFile::remove(work);
    return result;
}

DocumentResult build(const ActTemplate &choice, const ActContext &act, const QString &target)
{
    const QString templatePath = DataTemplatePath(choice.file);
    if (!DocumentExists(templatePath))
        return {DocumentStatus::MissingTemplate, templatePath, MissingTemplateMessage(templatePath)};
    switch (choice.builder) {
    case ActBuilder::None:
        break;
    case ActBuilder::Common:
        return fillCommon(act, templatePath, target);
    case ActBuilder::HolderList:
        return buildHolderList(act, templatePath, target);
    case ActBuilder::Notifications:
        return BuildNotifications(act, templatePath, target);
    case ActBuilder::DisplayReport:
        return BuildDisplayReport(act, templatePath, target);
    }
    return {DocumentStatus::NoDocument, {}, {}};
}

} // namespace

ActTemplate ActKindTemplate(int kind, const RequestRecord &request, const Row &answer)
{
    for (const KindRow &row : kKinds) {
        if (row.kind == kind)
            return {row.builder, QString::fromLatin1(row.file)};
    }
    switch (kind) {
    case 11:
        if (request.legalPerson)
            return {ActBuilder::Common, QStringLiteral("A3A_AdrSitJ.rtf")};
        return {ActBuilder::Common, request.sellerCount == 1 ? QStringLiteral("A3A_AdrSit.rtf") : QStringLiteral("A3A_AdrSitM.rtf")};
    case 12:
        return {ActBuilder::Common, request.naturalPerson ? QStringLiteral("Anexa_7PF.rtf") : QStringLiteral("Anexa_7PJ.rtf")};
    case 20: {
        const bool offer = answer.number(QStringLiteral("RANG")) >= 100;
        const bool company = answer[QStringLiteral("TIPPF")] == QLatin1String("JURIDICA");
        return {ActBuilder::Common, QStringLiteral("ANEXA_%1%2.rtf").arg(offer ? "6" : "5", company ? "PJ" : "PF")};
    }
    default:
        return {};
    }
}

DocumentResult BuildActDocument(qint64 ida, const QString &target, qint64 selectedAnswer)
{
    const Row act = LoadAct(ida);
    if (act.isEmpty())
        return failed(QStringLiteral("Actul nu mai exista in registru!"));
    bool numeric = false;
    const int kind = act[QStringLiteral("BLOCAT")].toInt(&numeric);
    if (!numeric)
        return {DocumentStatus::NoDocument, {}, {}};
    const DocumentSettings settings = LoadDocumentSettings();
    bool found = false;
    const RequestRecord request = LoadRequest(act.number(QStringLiteral("ID")), settings, &found);
    if (!found)
        return failed(QStringLiteral("Cererea actului nu mai exista in registru!"));
    const ActTemplate choice = ActKindTemplate(kind, request);
    if (choice.builder == ActBuilder::None || kind == 20)
        return {DocumentStatus::NoDocument, {}, {}};
    const ActContext context{settings, request, LoadSellers(request.id), kind, act, selectedAnswer};
    return build(choice, context, target);
}

DocumentResult BuildAnswerDocument(qint64 idc, const QString &target)
{
    const Row answer = LoadAnswer(idc);
    if (answer.isEmpty())
        return failed(QStringLiteral("Comunicarea nu mai exista in registru!"));
    const DocumentSettings settings = LoadDocumentSettings();
    bool found = false;
    const RequestRecord request = LoadRequest(answer.number(QStringLiteral("ID")), settings, &found);
    if (!found)
        return failed(QStringLiteral("Cererea comunicarii nu mai exista in registru!"));
    const ActContext context{settings, request, LoadSellers(request.id), 20, answer, idc};
    return build(ActKindTemplate(20, request, answer), context, target);
}
