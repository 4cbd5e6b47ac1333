#include "samplefill.h"

#include "templates/rtfreplace.h"
#include "templates/rtftext.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace samplefill {

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList markersOf(const QByteArray &text)
{
    static const QRegularExpression marker(QStringLiteral("\\[[A-Za-z0-9]+\\]"));
    QStringList found;
    auto it = marker.globalMatch(QString::fromLatin1(text));
    while (it.hasNext()) {
        const QString m = it.next().captured();
        if (!found.contains(m, Qt::CaseInsensitive))
            found.append(m);
    }
    return found;
}

// A fragment as the blank-form builder reads it: its lines joined together.
QByteArray joinedLines(const QByteArray &text)
{
    QByteArray joined = text;
    joined.replace("\r", "");
    joined.replace("\n", "");
    return joined;
}

// The table row of a rank, cut the way the list builder cuts it.
QByteArray rankRow(const QByteArray &list, int n, qsizetype *start)
{
    const qsizetype at = list.indexOf("[Pree" + QByteArray::number(n) + "]");
    const qsizetype from = at < 0 ? -1 : list.lastIndexOf("\\qc ", at);
    if (from < 0)
        return {};
    const QByteArray end = "\\ltrrow}\\pard ";
    const qsizetype to = list.indexOf(end, from + 101);
    if (to < 0 || to + end.size() >= list.size())
        return {};
    *start = from;
    return list.mid(from, to + end.size() + 1 - from);
}

struct Person {
    const char *name;
    const char *code;
    const char *place;
    const char *address;
};

const Person kSellers[] = {
    {"Popescu Ion", "1650312120017", "Feleacu", "str. Principală nr. 12"},
    {"Popescu Maria", "2680521120021", "Feleacu", "str. Principală nr. 12"},
    {"Mureșan Ștefan", "1591107125502", "Cluj-Napoca", "str. Horea nr. 7, ap. 3"},
    {"Țăranu Ana", "2720915125516", "Gilău", "str. Morii nr. 44"},
};

QString sellerValue(const QString &field, int k)
{
    const Person &p = kSellers[(k - 1) % 4];
    static const QHash<QString, QString> fixed = {
        {"BI", "CI"}, {"BISERIA", "CJ"}, {"BIELIB", "SPCLEP Cluj-Napoca"}, {"JUDET", "Cluj"},
        {"TEL", "0744123456"}, {"MANDATAR", "Rusu Gheorghe"}, {"MCNPCUI", "1700101120033"},
        {"MCALITATE", "împuternicit"}, {"MCONFORM", "procurii nr. 311/2026"},
        {"MLOCV", "Cluj-Napoca"}, {"MADRESA", "str. Avram Iancu nr. 5"}, {"MJUDET", "Cluj"},
        {"MCODPOST", "400117"}, {"MBI", "CI"}, {"MBISERIA", "CX"}, {"MBINR", "552211"},
        {"MBIELIB", "SPCLEP Cluj-Napoca"}, {"MTEL", "0722987654"}, {"MDATAN", "01.01.1970"},
    };
    if (field == "VANZATOR")
        return QString::fromUtf8(p.name);
    if (field == "CNPCUI")
        return QString::fromLatin1(p.code);
    if (field == "LOCV")
        return QString::fromUtf8(p.place);
    if (field == "ADRESA")
        return QString::fromUtf8(p.address);
    if (field == "BINR")
        return QString::number(400100 + k);
    if (field == "DATAN")
        return QStringLiteral("%1.0%2.19%3").arg(10 + k).arg(k).arg(60 + k);
    return fixed.value(field, QStringLiteral("-"));
}

const QHash<QString, QString> &readableValues()
{
    static const QHash<QString, QString> values = {
        {"JUDET", "Cluj"}, {"JUD", "Cluj"}, {"PRIMARIA", "Primăria Comunei Feleacu"},
        {"LOCALIT", "Feleacu"}, {"PRIMAR", "Ionuț Șerban"}, {"SECRETAR", "Adriana Țurcanu"},
        {"SITE", "www.primariafeleacu.ro"}, {"NR", "245"}, {"DATAA", "16.03.2026"},
        {"NRC", "231"}, {"DATAC", "02.03.2026"}, {"NRDOSAR", "18/2026"}, {"ORA", "10:30"},
        {"FUNCTIONAR", "Câmpean Ioana"}, {"VANZATOR", "Popescu Ion și Popescu Maria"},
        {"VANZATORLOCV", "Popescu Ion domiciliat în Feleacu, Popescu Maria domiciliată în Feleacu"},
        {"SUPRAF", "1.2500"}, {"COTAPARTE", "1/2"}, {"COTAPARTES", "0.6250"},
        {"NRCAD", "51234"}, {"NRCARTE", "51234"}, {"TARLA", "Dealul Mare"}, {"NRTARLA", "27"},
        {"NRPARC", "312/2"}, {"CATEG", "arabil"}, {"PRET", "45000.00"},
        {"PRETL", "patruzecișicincidemii lei"}, {"CONDITII", "plata integrală la semnarea contractului"},
        {"LD", " "}, {"LN", "X"}, {"SD", " "}, {"SN", "X"}, {"FC1", "X"}, {"FC2", " "},
        {"ZI", "02"}, {"LUNA", "03"}, {"AN", "2026"}, {"SEMNATURI", "Vânzători/Împuterniciți,"},
        {"VAND", "Vindem"}, {"DECLAR", "Declarăm că suntem proprietari ai"}, {"DECLAR2", "Declarăm că"},
        {"DECLAR3", "declarăm"}, {"SUNT", "Suntem"},
        {"NUME", "Cozma Vasile"}, {"CNP", "1580407120045"}, {"RC", "-"}, {"CODPOSTAL", "407280"},
        {"EMAIL", "vasile.cozma@example.ro"}, {"RANG", "3"},
        {"NOTIFICARE", "Notificarea preemtorului Cozma Vasile nr.234/02.03.2026 pentru terenul "
                       "supus vânzarii de proprietarul/proprietarii Popescu Ion si Popescu Maria"},
        {"NRLP", "232"}, {"NRCOMUNICARE", "250"}, {"NRPVAFIS", "243"}, {"DATAPVAFIS", "02.03.2026"},
        {"NOTIFNRDATA", "233/02.03.2026; 234/02.03.2026; 235/02.03.2026"},
        {"DATASCAD1", "06.05.2026"}, {"DATASCAD2", "05.06.2026"},
        {"INTERVAL1", "02.03.2026 - 06.05.2026"}, {"INTERVAL2", "07.05.2026 - 05.06.2026"},
        {"DL", "dl."}, {"DLUI", "domnului"}, {"NUMIT", "numiții"},
        {"LOCV", "Feleacu"}, {"ADRESA", "str. Principală nr. 12"}, {"JUDETV", "Cluj"},
        {"CNPCUI", "1650312120017"}, {"NRCOM", "2"}, {"NRCOMUNICARI", "2"}, {"NRCA", "250"},
        {"CALITATE", "Preemptor de rangul 3"}, {"CUMPARATOR", "Cozma Vasile"},
        {"CNPCUIP", "1580407120045"}, {"DATANP", "07.04.1958"}, {"LOCP", "Vâlcele"},
        {"ADRESAP", "str. Fânațelor nr. 9"}, {"PRETP", "45000.00"},
        {"PRETPL", "patruzecișicincidemii lei"}, {"DATACOM", "20.03.2026"}, {"NRP", "250"},
        {"DATA", "07.05.2026"},
    };
    return values;
}

} // namespace

QList<TemplateEntry> readMarkerTable(const QString &folder)
{
    QList<TemplateEntry> rows;
    for (const QByteArray &raw : readFile(QDir(folder).filePath("markers.tsv")).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList cells = line.split('\t');
        rows.append({cells.value(0), cells.value(1), cells.value(2),
                     cells.value(3).split(' ', Qt::SkipEmptyParts)});
    }
    return rows;
}

QString readableValue(const QString &marker)
{
    const QString name = marker.mid(1, marker.size() - 2).toUpper();
    if (readableValues().contains(name))
        return readableValues().value(name);
    static const QRegularExpression numbered(QStringLiteral("^([A-Z]+?)(\\d+)$"));
    const auto m = numbered.match(name);
    if (m.hasMatch()) {
        const QString field = m.captured(1);
        const int k = m.captured(2).toInt();
        if (field == "P")
            return QStringLiteral("X");
        if (field == "PREE")
            return QStringLiteral("Cozma Vasile CNP/CF 1580407120045, adresa: Vâlcele");
        if (field == "S") {
            if (k > 3)
                return QStringLiteral(" ");
            return sellerValue("VANZATOR", k) + "\\line    (numele si prenumele in clar)\\par \\par    "
                                                "Semnatura\\line ........................";
        }
        return sellerValue(field, k);
    }
    if (name == "VANZATORI")
        return QStringLiteral("Subsemnații: \\par    Popescu Ion, CNP 1650312120017, având adresa de "
                              "comunicare în localitatea Feleacu, str. Principală nr. 12 \\par    "
                              "Popescu Maria, CNP 2680521120021, având adresa de comunicare în "
                              "localitatea Feleacu, str. Principală nr. 12 \\par ");
    if (name == "VANZATORILIST")
        return QStringLiteral("      Popescu Ion în calitate de vânzător, proprietar/coproprietar, CNP "
                              "1650312120017, cu domiciliul în localitatea Feleacu, str. Principală "
                              "nr. 12, județul Cluj \\par       ");
    return QStringLiteral("…");
}

QByteArray withExtraSellers(const QByteArray &form, const QByteArray &block, int sellers)
{
    const QByteArray marker = "[ALTVANZATOR]";
    const qsizetype at = form.toUpper().indexOf(marker);
    if (at < 0)
        return form;
    QByteArray out = form;
    out.remove(at, marker.size());
    for (int n = sellers; n >= 2; --n) {
        QByteArray copy = block;
        copy.replace("1]", QByteArray::number(n) + "]");
        out.insert(at + 1, copy);
    }
    return out;
}

QByteArray withRankOneHolders(const QByteArray &list, const QStringList &names, const QStringList &addresses)
{
    qsizetype start = -1;
    const QByteArray row = rankRow(list, 1, &start);
    if (row.isEmpty() || names.isEmpty())
        return list;
    QByteArray rows;
    for (qsizetype i = 0; i < names.size(); ++i) {
        QByteArray copy = row;
        copy.replace(" 1.\\cell", " " + QByteArray::number(i + 1) + ".\\cell");
        copy.replace("[Pree1]", rtftext::escapeValue(names[i]));
        copy.replace("[Adresa1]", rtftext::escapeValue(addresses.value(i)));
        rows += copy;
    }
    QByteArray out = list;
    out.replace(start, row.size(), rows);
    return out;
}

bool fillTemplate(const QString &folder, const TemplateEntry &entry, const QString &dest,
                  const ValueFor &values, const Sample &sample)
{
    QByteArray source = readFile(QDir(folder).filePath(entry.resource + ".rtf"));
    if (source.isEmpty())
        return false;
    if (source.toUpper().contains("[ALTVANZATOR]"))
        source = withExtraSellers(source, readFile(QDir(folder).filePath("COPFM1.rtf")), sample.sellers);
    if (!sample.firstRankHolders.isEmpty() && source.contains("[Pree1]")) {
        QStringList addresses;
        for (const QString &name : sample.firstRankHolders)
            addresses.append(values("[Adresa1]") + " (" + name + ")");
        source = withRankOneHolders(source, sample.firstRankHolders, addresses);
    }

    QTemporaryDir work;
    const QString sourcePath = work.filePath(entry.resource + ".rtf");
    QFile out(sourcePath);
    if (!out.open(QIODevice::WriteOnly) || out.write(source) != source.size())
        return false;
    out.close();

    TRTFReplace rtf;
    rtf.RTFSursa = sourcePath;
    rtf.RTFDest = dest;
    if (!rtf.BeginDocument())
        return false;
    for (const QString &marker : markersOf(source)) {
        if (marker == "[1]" || marker == "[2]") {
            // The places for the applicants beyond the two the form holds.
            if (sample.applicants <= 2) {
                rtf.AddField(marker, " ");
                continue;
            }
            const QString base = entry.resource;
            const QByteArray fragment =
                joinedLines(readFile(QDir(folder).filePath(base + marker.mid(1, 1) + ".rtf")));
            for (int i = 0; i < sample.applicants - 2; ++i)
                rtf.AddRawField(marker, fragment);
        } else if (marker.compare("[Dosar]", Qt::CaseInsensitive) == 0 && !sample.expiredFiles.isEmpty()) {
            for (const QString &file : sample.expiredFiles)
                rtf.AddField(marker, file);
        } else {
            rtf.AddField(marker, values(marker));
        }
    }
    rtf.WriteBody(1);
    return rtf.EndDocument() && QFile::exists(dest);
}

} // namespace samplefill
