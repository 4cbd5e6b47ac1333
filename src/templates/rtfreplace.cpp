#include "templates/rtfreplace.h"

#include "platform/filehelpers.h"
#include "platform/filecase.h"
#include "platform/shellopen.h"
#include "templates/rtftext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray kPard = "\\pard";
const QByteArray kEmptyValue = "..........";
const QByteArray kLineEnd = "\r\n";

// Trimmed the way the template lines were always trimmed: every byte up to
// the blank counts as white space.
QByteArray trimLine(const QByteArray &line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && uchar(line.at(begin)) <= ' ')
        ++begin;
    while (end > begin && uchar(line.at(end - 1)) <= ' ')
        --end;
    return line.mid(begin, end - begin);
}

int braceBalance(const QByteArray &line)
{
    return int(line.count('{') - line.count('}'));
}

qsizetype firstPardLine(const QList<QByteArray> &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(kPard))
            return i;
    }
    return -1;
}

} // namespace

bool TRTFReplace::ChooseDest(const QString &base)
{
    for (int n = 0; n <= 99; ++n) {
        const QString candidate = base + QString::number(n) + ".rtf";
        if (!QFileInfo::exists(candidate) || (!IsFileHeldOpen(candidate) && QFile::remove(candidate))) {
            RTFDest = candidate;
            return true;
        }
    }
    return false;
}

bool TRTFReplace::readTemplate()
{
    templateLines_.clear();
    pardLine_ = -1;
    const QString path = platform::resolvePathNoCase(RTFSursa);
    QFile file(path);
    if (RTFSursa.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Nu pot accesa modelul %1!").arg(QDir::toNativeSeparators(RTFSursa));
        return false;
    }
    const QByteArray text = file.readAll();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\r' && c != '\n')
            continue;
        templateLines_.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        templateLines_.append(text.mid(start));
    pardLine_ = firstPardLine(templateLines_);
    return true;
}

bool TRTFReplace::createDocument()
{
    QFile dest(RTFDest);
    if (RTFDest.isEmpty() || !dest.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = QStringLiteral("Documentul %1 nu poate fi creat (%2)!")
                     .arg(QDir::toNativeSeparators(RTFDest), dest.errorString());
        return false;
    }
    return true;
}

bool TRTFReplace::appendToDocument(const QByteArray &text)
{
    if (!documentOpen_ || text.isEmpty())
        return documentOpen_;
    QFile file(RTFDest);
    // The flush is where a full disk shows: a write only fills the buffer.
    if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(text) == text.size() && file.flush())
        return true;
    return fail(QStringLiteral("Documentul %1 nu poate fi scris (%2)!")
                    .arg(QDir::toNativeSeparators(RTFDest), file.errorString()));
}

bool TRTFReplace::fail(const QString &reason)
{
    error_ = reason;
    failedDest_ = RTFDest;
    documentOpen_ = false;
    // Only a file this document made: RTFDest may name a device.
    if (QFileInfo(RTFDest).isFile())
        QFile::remove(RTFDest);
    return false;
}

bool TRTFReplace::BeginDocument()
{
    clearFields();
    documentOpen_ = false;
    error_.clear();
    failedDest_.clear();
    if (!readTemplate())
        return false;
    const QString source = QFileInfo(platform::resolvePathNoCase(RTFSursa)).absoluteFilePath();
    if (source == QFileInfo(RTFDest).absoluteFilePath()) {
        error_ = QStringLiteral("Modelul %1 nu poate fi si documentul scris!").arg(QDir::toNativeSeparators(RTFSursa));
        return false;
    }
    if (!createDocument())
        return false;
    if (pardLine_ < 0) {
        // Empty, or saved by a word processor without the line the body
        // starts on: nothing sensible can be produced from it.
        return fail(QStringLiteral("Modelul %1 este gol sau deteriorat: nu are inceputul textului (\\pard)!")
                        .arg(QDir::toNativeSeparators(RTFSursa)));
    }
    const QByteArray &pard = templateLines_.at(pardLine_);
    QByteArray header;
    for (qsizetype i = 0; i < pardLine_; ++i)
        header += templateLines_.at(i) + kLineEnd;
    const QByteArray before = trimLine(pard.left(pard.indexOf(kPard)));
    if (!before.isEmpty())
        header += before + kLineEnd;
    documentOpen_ = true;
    return appendToDocument(header);
}

void TRTFReplace::AddField(const QString &marker, const QString &value)
{
    if (!marker.isEmpty())
        fields_.append({rtftext::toWindows1250(marker), rtftext::escapeValue(value)});
}

void TRTFReplace::AddRawField(const QString &marker, const QByteArray &rtf)
{
    if (!marker.isEmpty())
        fields_.append({rtftext::toWindows1250(marker), rtf});
}

void TRTFReplace::AddRawField(const QString &marker, const QString &rtf)
{
    AddRawField(marker, rtftext::toRtfText(rtf));
}

bool TRTFReplace::WriteBody(int copies)
{
    const QList<QByteArray> &lines = templateLines_;
    QByteArray out;
    for (int copy = 1; documentOpen_ && copy <= copies; ++copy) {
        if (copy > 1)
            out += "\\page" + kLineEnd;
        qsizetype i = pardLine_;
        QByteArray line = lines.at(i).mid(lines.at(i).indexOf(kPard));
        int depth = braceBalance(line) + 1;
        while (i + 1 < lines.size() && depth != 0) {
            if (!line.isEmpty())
                writeRepeated(line, &out);
            line = lines.at(++i);
            depth += braceBalance(line);
        }
        // The line that closes the document (or the file's last line): its
        // closing brace belongs to the document, which EndDocument writes.
        QByteArray last = trimLine(line);
        last.chop(1);
        if (!last.isEmpty()) {
            last = substitute(last);
            if (!last.isEmpty())
                out += last + kLineEnd;
        }
    }
    clearFields();
    return appendToDocument(out);
}

bool TRTFReplace::NewPage()
{
    clearFields();
    return appendToDocument(" \\par \\page " + kLineEnd);
}

bool TRTFReplace::EndDocument()
{
    clearFields();
    const bool written = appendToDocument("}" + kLineEnd);
    documentOpen_ = false;
    return written;
}

void TRTFReplace::OpenDocument() const
{
    if (RTFDest.isEmpty() || RTFDest == failedDest_)
        return;
    const QFileInfo info(RTFDest);
    if (info.dir().exists() && info.isFile())
        platform::openWithAssociatedProgram(info.absoluteFilePath());
}

void TRTFReplace::clearFields()
{
    fields_.clear();
    // A pending repeat points into the list just emptied; it has no meaning
    // for the next record.
    groupStart_ = -1;
}

void TRTFReplace::writeRepeated(const QByteArray &line, QByteArray *out)
{
    // Each copy of a repeated line uses up one value, so a line can never need
    // more copies than there are fields; the bound also ends lines whose
    // repeated markers would otherwise hand the turn to each other for ever.
    const qsizetype most = qMax<qsizetype>(1, fields_.size());
    qsizetype written = 0;
    do {
        *out += substitute(line) + kLineEnd;
        ++written;
    } while (groupStart_ != -1 && written < most);
    groupStart_ = -1;
}

qsizetype TRTFReplace::runLength(qsizetype n) const
{
    qsizetype r = 1;
    while (n + r < fields_.size() && fields_.at(n + r).marker == fields_.at(n).marker)
        ++r;
    return r;
}

QByteArray TRTFReplace::valueFor(qsizetype n, const QByteArray &asWritten) const
{
    const QByteArray &value = fields_.at(n).value;
    if (value.isEmpty())
        return kEmptyValue;
    if (asWritten.size() > 4 && rtftext::isAllCapitals(asWritten))
        return rtftext::upperCaseText(value);
    return value;
}

QByteArray TRTFReplace::substitute(QByteArray line)
{
    bool found = false;
    for (qsizetype n = 0; n < fields_.size(); ++n) {
        qsizetype p = rtftext::indexOfNoCase(line, fields_.at(n).marker);
        while (p >= 0) {
            found = true;
            if (groupStart_ >= 0 && fields_.at(groupStart_).marker == fields_.at(n).marker)
                n = groupStart_;
            const QByteArray &marker = fields_.at(n).marker;
            const QByteArray value = valueFor(n, line.mid(p, marker.size()));
            line.replace(p, marker.size(), value);
            // Go on after the value: a value may hold its own marker.
            p = rtftext::indexOfNoCase(line, marker, p + value.size());
            const qsizetype r = runLength(n);
            if (r == 1 && groupStart_ >= 0 && fields_.at(groupStart_).marker == marker) {
                groupStart_ = -1;
            } else if (r > 1) {
                groupStart_ = n + 1;
                n += r - 1;
            }
        }
    }
    if (!found)
        groupStart_ = -1;
    return line;
}
