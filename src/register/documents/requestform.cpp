#include "register/documents/requestform.h"

#include "datastore/amountinwords.h"
#include "platform/filehelpers.h"
#include "register/documents/commonmarkers.h"
#include "register/documents/documentdata.h"
#include "register/documents/documentfiles.h"
#include "templates/resources.h"
#include "templates/rtfreplace.h"
#include "templates/rtftext.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

const QByteArray kAltSellerMarker = "[ALTVANZATOR]";
constexpr int kSignatureSlots = 40;

// The seller fields each block and signature names, marker spelling first.
const char *const kSellerMarkers[] = {"VANZATOR", "CNPCUI", "BI", "BISERIA", "BINR", "BIElib", "JUDET", "LOCV",
                                      "ADRESA", "TEL", "MANDATAR", "MCNPCUI", "MCALITATE", "MCONFORM", "MCODPOST",
                                      "MBI", "MBISERIA", "MBINR", "MBIElib", "MJUDET", "MLOCV", "MADRESA", "MTEL"};

// Adds markers once each: the first value given for a marker is the one used.
class FormFields {
public:
    explicit FormFields(TRTFReplace &rtf) : rtf_(rtf) {}
    void add(const QString &marker, const QString &value)
    {
        if (added_.contains(marker.toUpper()))
            return;
        added_.insert(marker.toUpper());
        rtf_.AddField(marker, value);
    }

private:
    TRTFReplace &rtf_;
    QSet<QString> added_;
};

QString yesNo(bool yes, bool first)
{
    return (yes == first) ? QStringLiteral("X") : QStringLiteral(" ");
}

// "[PREE<n>]": the holders of rank n, or "-".
QString holdersOfRank(const QList<Row> &holders, qint64 rank)
{
    QStringList parts;
    for (const Row &h : holders) {
        if (h.number(QStringLiteral("RANG")) != rank)
            continue;
        QString text = h[QStringLiteral("NUME")] + QStringLiteral(" CNP/CF ") + h[QStringLiteral("CNP")];
        const std::pair<const char *, const char *> optional[] = {{", adresa: ", "ADRESA"},
                                                                  {", Reg.Com.: ", "RC"},
                                                                  {", Cod postal: ", "CODPOSTAL"},
                                                                  {", E-mail: ", "EMAIL"},
                                                                  {", Tel.: ", "TEL"}};
        for (const auto &[caption, field] : optional) {
            const QString value = h[QString::fromLatin1(field)];
            if (!value.isEmpty())
                text += QString::fromLatin1(caption) + value;
        }
        parts << text;
    }
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QStringLiteral("; "));
}

// A company's fiscal code says nothing of a sex: only a natural person's
// personal code beginning with 2 or 6 makes her "Subsemnata".
QString openingWords(const QList<Row> &sellers, bool naturalPerson)
{
    if (sellers.size() > 1)
        return QStringLiteral("Subsemnatii: \\par");
    const QString code = sellers.isEmpty() ? QString() : sellers.first()[QStringLiteral("CNPCUI")];
    const bool woman = naturalPerson && (code.startsWith(QLatin1Char('2')) || code.startsWith(QLatin1Char('6')));
    return woman ? QStringLiteral("Subsemnata: \\par") : QStringLiteral("Subsemnatul: \\par");
}

QString communicationAddress(const Row &s, const QString &prefix)
{
    return QStringLiteral(", CNP ") + s[prefix + QStringLiteral("CNPCUI")]
           + QStringLiteral(", având adresa de comunicare in: ") + QStringLiteral(" localitatea ")
           + s[prefix + QStringLiteral("LOCV")] + QStringLiteral(", ") + s[prefix + QStringLiteral("ADRESA")]
           + QStringLiteral(", judetul/sectorul ") + s[prefix + QStringLiteral("JUDET")];
}

// "[VANZATORIFARAPRIN]" and, with the mandataries, "[VANZATORI]".
QString sellersWithAddress(const QList<Row> &sellers, bool naturalPerson, bool withMandataries)
{
    QString text = openingWords(sellers, naturalPerson);
    for (const Row &s : sellers) {
        text += QStringLiteral("   ") + s[QStringLiteral("VANZATOR")] + communicationAddress(s, QString())
                + QStringLiteral(", codul postal ............. e-mail ......................, tel. ")
                + s[QStringLiteral("TEL")] + QStringLiteral(",");
        if (withMandataries && !s[QStringLiteral("MANDATAR")].isEmpty()) {
            text += QStringLiteral(" ") + QStringLiteral(" prin ") + s[QStringLiteral("MANDATAR")]
                    + communicationAddress(s, QStringLiteral("M")) + QStringLiteral(", codul postal ")
                    + s[QStringLiteral("MCODPOST")] + QStringLiteral(" e-mail ......................, tel. ")
                    + s[QStringLiteral("MTEL")] + QStringLiteral(",");
        }
        text += QStringLiteral(" \\par ");
    }
    return text;
}

QString signature(const Row &s)
{
    const QString mandatary = s[QStringLiteral("MANDATAR")];
    return s[QStringLiteral("VANZATOR")] + (mandatary.isEmpty() ? QString() : QStringLiteral(" prin ") + mandatary)
           + QStringLiteral("\\line    (numele si prenumele in clar)\\par \\par    Semnatura\\line ........................");
}

// A code that is not a correct personal code (a company's, or none) gives a blank.
QString birthDateOrBlank(const QString &code)
{
    const QString date = BirthDateOfCode(code);
    return date.isEmpty() ? QStringLiteral(" ") : date;
}

void addSellerFields(FormFields &f, const QList<Row> &sellers, int blocks)
{
    const int slotCount = qMax(blocks, int(sellers.size()));
    for (int k = 1; k <= slotCount; ++k) {
        const Row s = k <= sellers.size() ? sellers.at(k - 1) : Row();
        const QString n = QString::number(k);
        for (const char *name : kSellerMarkers) {
            const QString field = QString::fromLatin1(name);
            f.add(QLatin1Char('[') + field + n + QLatin1Char(']'), s[field]);
        }
        f.add(QStringLiteral("[DATAN") + n + QLatin1Char(']'), birthDateOrBlank(s[QStringLiteral("CNPCUI")]));
        f.add(QStringLiteral("[MDATAN") + n + QLatin1Char(']'), birthDateOrBlank(s[QStringLiteral("MCNPCUI")]));
    }
    for (int k = 1; k <= kSignatureSlots; ++k)
        f.add(QStringLiteral("[S%1]").arg(k), k <= sellers.size() ? signature(sellers.at(k - 1)) : QStringLiteral(" "));
}

void addFormFields(TRTFReplace &rtf, const DocumentSettings &settings, const RequestRecord &request,
                   const QList<Row> &sellers, const QList<Row> &holders, int blocks)
{
    const Row &r = request.row;
    FormFields f(rtf);
    f.add(QStringLiteral("[JUD]"), settings.judet);
    f.add(QStringLiteral("[LOCALIT]"), settings.localit);
    f.add(QStringLiteral("[PRIMARIA]"), settings.unitate);
    f.add(QStringLiteral("[NR]"), request.number);
    f.add(QStringLiteral("[LD]"), yesNo(r[QStringLiteral("LITIGII")] == QLatin1String("DA"), true));
    f.add(QStringLiteral("[LN]"), yesNo(r[QStringLiteral("LITIGII")] == QLatin1String("DA"), false));
    f.add(QStringLiteral("[SD]"), yesNo(r[QStringLiteral("GREVAT")] == QLatin1String("DA"), true));
    f.add(QStringLiteral("[SN]"), yesNo(r[QStringLiteral("GREVAT")] == QLatin1String("DA"), false));
    f.add(QStringLiteral("[FC1]"), yesNo(r[QStringLiteral("FARACONTR")] == QLatin1String("X"), true));
    f.add(QStringLiteral("[FC2]"), yesNo(r[QStringLiteral("FARACONTR")] == QLatin1String("X"), false));
    f.add(QStringLiteral("[CONDITII]"), r[QStringLiteral("CONDITII")]);
    const QDate datac = r.date(QStringLiteral("DATAC"));
    f.add(QStringLiteral("[ZI]"), datac.isValid() ? datac.toString(QStringLiteral("dd")) : QString());
    f.add(QStringLiteral("[LUNA]"), datac.isValid() ? datac.toString(QStringLiteral("MM")) : QString());
    f.add(QStringLiteral("[AN]"), datac.isValid() ? datac.toString(QStringLiteral("yyyy")) : QString());
    for (const QString &field : r.names) {
        if (field != QLatin1String("ID"))
            f.add(QLatin1Char('[') + field + QLatin1Char(']'), r.text.value(field));
    }
    f.add(QStringLiteral("[PRETL]"), AmountInWords(r[QStringLiteral("PRET")]));
    for (int rank = 1; rank <= 7; ++rank)
        f.add(QStringLiteral("[PREE%1]").arg(rank), holdersOfRank(holders, rank));
    const bool several = sellers.size() > 1;
    f.add(QStringLiteral("[SEMNATURI]"), several ? QStringLiteral("Vanzatori/Imputerniciti,") : QStringLiteral("Vanzator/Imputernicit,"));
    f.add(QStringLiteral("[VAND]"), several ? QStringLiteral("Vindem") : QStringLiteral("Vand"));
    addSellerFields(f, sellers, blocks);
    f.add(QStringLiteral("[VANZATORIFARAPRIN]"), sellersWithAddress(sellers, request.naturalPerson, false));
    f.add(QStringLiteral("[VANZATORI]"), sellersWithAddress(sellers, request.naturalPerson, true));
    const bool one = r.number(QStringLiteral("NRV")) == 1;
    f.add(QStringLiteral("[Declar]"), one ? QStringLiteral("Declar ca sunt proprietar al") : QStringLiteral("Declaram ca suntem proprietari ai"));
    f.add(QStringLiteral("[Declar2]"), one ? QStringLiteral("Declar că") : QStringLiteral("Declaram că"));
    f.add(QStringLiteral("[Declar3]"), one ? QStringLiteral("declar") : QStringLiteral("declaram"));
    f.add(QStringLiteral("[Sunt]"), one ? QStringLiteral("Sunt") : QStringLiteral("Suntem"));
}

QByteArray readAll(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

DocumentResult failed(const QString &message)
{
    return {DocumentStatus::Failed, {}, message};
}

} // namespace

QString MissingTemplateMessage(const QString &templatePath)
{
    return QStringLiteral("Nu pot accesa modelul ") + QDir::toNativeSeparators(templatePath) + QStringLiteral("!");
}

QByteArray WithSellerBlocks(QByteArray form, const QByteArray &block, int sellers)
{
    const qsizetype at = rtftext::indexOfNoCase(form, kAltSellerMarker);
    if (at < 0)
        return form;
    form.remove(at, kAltSellerMarker.size());
    // Right after the marker's line end (CR LF counts as one).
    qsizetype insertAt = qMin(at + 1, form.size());
    if (at < form.size() && form.at(at) == '\r' && at + 1 < form.size() && form.at(at + 1) == '\n')
        ++insertAt;
    for (int n = sellers; n >= 2; --n) {
        QByteArray copy = block;
        copy.replace("1]", QByteArray::number(n) + "]");
        form.insert(insertAt, copy);
    }
    return form;
}

DocumentResult BuildRequestForm(qint64 id, const QString &target)
{
    const DocumentSettings settings = LoadDocumentSettings();
    bool found = false;
    const RequestRecord request = LoadRequest(id, settings, &found);
    if (!found)
        return failed(QStringLiteral("Cererea nu mai exista in registru!"));
    const QString model = DataTemplatePath(request.naturalPerson ? QStringLiteral("CeresiOfertaPF3.rtf")
                                                                 : QStringLiteral("CeresiOfertaPJ3.rtf"));
    bool readable = false;
    const QByteArray form = readAll(model, &readable);
    if (!readable)
        return {DocumentStatus::MissingTemplate, model, MissingTemplateMessage(model)};

    const QList<Row> sellers = LoadSellers(id);
    const int blocks = int(request.row.number(QStringLiteral("NRV")));
    const QString work = TempFileName(QStringLiteral("COTmp"), QStringLiteral(".rtf"));
    const QByteArray block = blocks > 1 ? ResourceData(QStringLiteral("COPFM1"), QString::fromLatin1(kResourceTemplate)) : QByteArray();
    if (work.isEmpty() || !writeAll(work, WithSellerBlocks(form, block, blocks))) {
        QFile::remove(work);
        return failed(QStringLiteral("Nu pot scrie fisierul de lucru %1!").arg(QDir::toNativeSeparators(work)));
    }

    WholeDocument file(target);
    TRTFReplace rtf;
    rtf.RTFSursa = work;
    rtf.RTFDest = file.partPath();
    rtf.BeginDocument();
    addFormFields(rtf, settings, request, sellers, LoadHolders(id), blocks);
    rtf.WriteBody();
    const bool written = rtf.EndDocument();
    QFile::remove(work);
    QString error;
    if (!written)
        return failed(file.explain(rtf.errorString()));
    if (!file.commit(&error))
        return failed(error);
    return {DocumentStatus::Written, target, {}};
}
