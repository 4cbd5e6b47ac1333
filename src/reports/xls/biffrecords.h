// Records of the BIFF8 workbook stream: their type numbers, reading one
// substream (BOF ... EOF) with the CONTINUE records that belong to each
// record, writing records back, and the string forms the format uses.
#pragma once

#include "reports/xls/workbook.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace xls::biff {

enum RecordType : quint16 {
    RecFormula = 0x0006,
    RecEof = 0x000A,
    RecFilePass = 0x002F,
    RecContinue = 0x003C,
    RecDefColWidth = 0x0055,
    RecColInfo = 0x007D,
    RecBoundSheet = 0x0085,
    RecMulRk = 0x00BD,
    RecMulBlank = 0x00BE,
    RecRString = 0x00D6,
    RecDbCell = 0x00D7,
    RecXf = 0x00E0,
    RecMergedCells = 0x00E5,
    RecSst = 0x00FC,
    RecLabelSst = 0x00FD,
    RecExtSst = 0x00FF,
    RecDimensions = 0x0200,
    RecBlank = 0x0201,
    RecNumber = 0x0203,
    RecLabel = 0x0204,
    RecBoolErr = 0x0205,
    RecString = 0x0207,
    RecRow = 0x0208,
    RecIndex = 0x020B,
    RecArray = 0x0221,
    RecTable = 0x0236,
    RecRk = 0x027E,
    RecFont = 0x0031,
    RecFormat = 0x041E,
    RecShrFmla = 0x04BC,
    RecBof = 0x0809,
};

// The largest data of one record; longer data goes on in CONTINUE records.
inline constexpr int kMaxRecordData = 8224;

// BOF substream kinds.
inline constexpr quint16 kGlobalsStream = 0x0005;
inline constexpr quint16 kWorksheetStream = 0x0010;

// Reads the substream that starts at `offset` (a BOF record) up to its EOF,
// nested substreams (embedded charts) included. Throws XlsError when the
// stream ends first or a record runs past its end.
std::vector<Record> readSubstream(const QByteArray &stream, qint64 offset);

// Appends a record with its continuations; returns the offset at which it starts.
qint64 appendRecord(QByteArray &out, const Record &record);
qint64 appendRecord(QByteArray &out, quint16 type, const QByteArray &data);

quint16 u16(const QByteArray &b, int at);
quint32 u32(const QByteArray &b, int at);
double f64(const QByteArray &b, int at);
void put16(QByteArray &b, int at, quint16 v);
void put32(QByteArray &b, int at, quint32 v);
void add16(QByteArray &b, quint16 v);
void add32(QByteArray &b, quint32 v);
void addF64(QByteArray &b, double v);

// Reads bytes across a record and its continuations, in the ways strings
// continue: character data takes a fresh option byte at each boundary, other
// data runs straight on.
class PartReader {
public:
    explicit PartReader(const std::vector<QByteArray> &parts, int offset = 0) : parts_(parts), pos_(offset) {}
    bool atEnd();
    quint8 byte();
    quint16 word();
    quint32 dword();
    QByteArray bytes(qint64 count);
    // A string of `length` characters whose first part has the option byte
    // `options` (bit 0: two bytes a character).
    QString characters(int length, quint8 options);

private:
    bool nextPart();
    const std::vector<QByteArray> &parts_;
    size_t part_ = 0;
    int pos_ = 0;
};

// A string with a 16-bit length (XLUnicodeString) read from `reader`.
QString readUnicodeString(PartReader &reader);

// The two string forms a writer needs: 8-bit or 16-bit length, option byte,
// characters (one byte each when they all fit, else two).
QByteArray unicodeString(const QString &text, bool shortLength);

// Decodes an RK number.
double rkValue(quint32 rk);
// Encodes `value` as an RK number when it is exact that way.
bool toRk(double value, quint32 *rk);

} // namespace xls::biff
