// The dBASE table format: header, field descriptors and field values.
//
// Read: dBASE III+, IV, 5 and 7 files and their FoxPro cousins (level byte in
// header byte 0; 32-byte field descriptors, or 48-byte ones at level 4, the
// dBASE 7 layout). Field types C (text), N (decimal), D (date) are read and
// written; F (float) and L (logical) are tolerated on read and written like
// N and a T/F byte; any other type reads as raw text and cannot be written.
// Written: level 3 (dBASE III+ without memo), the language-driver byte of
// Windows-1250 (0xC8) and 32-byte descriptors, which every dBASE reader opens.
//
// Header bytes this system relies on:
//   4..7   record count (little endian), written after the records it counts;
//   8..9   header length, 10..11 record length;
//   24..27 change counter: bumped by every statement that writes, so that a
//          process may keep what it learned of a table (an index of a column)
//          until the counter, the size or the time of the file moves. Other
//          dBASE programs leave this multi-user area alone;
//   28     production-index flag (a ".mdx" beside the table is trusted);
//   29     language driver.
//
// Nothing here does input or output: the functions work on bytes, so that the
// fuzz target can hand them anything.
#pragma once

#include "platform/error.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace dbf {

// A failure of the file layer. message() names the table and the problem.
class DbfError : public ArvenaError {
public:
    using ArvenaError::ArvenaError;
};

// One column of a table.
struct Field {
    // Name as stored in the descriptor (at most 10 characters at level 3).
    QString name;
    // Type letter: 'C', 'N', 'D', 'F', 'L', or another letter read as raw text.
    char type = 'C';
    // Width in bytes.
    int width = 0;
    // Decimals of N and F fields; 0 for the others.
    int decimals = 0;
    // Offset of the value within the record (the deletion flag is byte 0).
    int offset = 0;
};

// What the first 32 bytes of a table's header say: enough to see that the
// file changed and where its records lie.
struct HeaderStart {
    // Header byte 0: dBASE level and memo flags.
    quint8 level = 0x03;
    // Number of rows, deleted ones included.
    quint32 recordCount = 0;
    // Bytes before the first record.
    int headerLength = 0;
    // Bytes of one record, deletion flag included.
    int recordLength = 0;
    // Header byte 28: a production index is attached.
    quint8 productionIndex = 0;
    // Header byte 29: language driver.
    quint8 languageDriver = 0;
    // Header bytes 24..27: the change counter described above.
    quint32 changeCounter = 0;
    bool operator==(const HeaderStart &) const = default;
};

// What the whole header of a table says.
struct Header : HeaderStart {
    // Size of one field descriptor: 32, or 48 for dBASE 7.
    int descriptorSize = 32;
    // Columns in file order, with their offsets.
    QList<Field> fields;
};

// Byte offsets within the header.
constexpr int kRecordCountOffset = 4;
constexpr int kChangeCounterOffset = 24;
constexpr int kProductionIndexOffset = 28;
constexpr int kLanguageDriverOffset = 29;
// Language driver written into new tables: Windows-1250.
constexpr quint8 kLanguageDriver1250 = 0xC8;
// Largest record we accept (dBASE 7 allows 32 767 bytes).
constexpr int kMaxRecordLength = 65535;

// Parses the header held in `data` (`size` bytes, at least the header length
// when the file is sound) of a file of `fileSize` bytes. Returns false and
// puts the reason into *error when the header is not a sound dBASE header
// (too short, absurd lengths, descriptors that do not add up to the record
// length, rows beyond the end of the file).
bool parseHeader(const char *data, qint64 size, qint64 fileSize, Header &header, QString *error);

// Reads the first 32 bytes of a header (`data` holds at least 32 bytes).
// Nothing is checked: parseHeader says whether the whole header is sound.
HeaderStart readHeaderStart(const char *data);

// A sound header for a new, empty table with `fields` (offsets are filled in).
// Returns an empty array and sets *error when a field is not acceptable.
QByteArray buildHeader(QList<Field> &fields, QString *error);

// Writes count, change counter and today's date into a header's first 32 bytes.
void stampHeader(char *header32, quint32 recordCount, quint32 changeCounter);

// Validation of a column definition (name, type, width, decimals).
bool checkField(const Field &field, QString *error);

// Length of a value without its trailing blanks (and NUL bytes).
int trimmedLength(const char *value, int width);

// Reading values. Each returns Null for a blank value, Damaged for bytes that
// are not a value of the type, Ok otherwise.
enum class ValueState { Ok, Null, Damaged };

// A decimal: *isInteger when written without a decimal point and small enough
// for 64 bits; then *integer holds it, else *real.
ValueState readNumber(const char *value, int width, bool *isInteger, qint64 *integer, double *real);

// A date as year, month and day ("YYYYMMDD"; blank or zero is Null).
ValueState readDate(const char *value, int *year, int *month, int *day);

// A logical: T/Y true, F/N false, blank or "?" Null.
ValueState readLogical(const char value, bool *truth);

// Writing values into a field of `width` bytes at `out`.

// A number with `decimals` decimals, right-aligned. When it does not fit with
// all its decimals it is written with the fewest decimals that keep its value
// (120000.00 in 8,2 as "  120000"); returns false when it still does not fit.
bool formatNumber(double value, int width, int decimals, char *out);
bool formatInteger(qint64 value, int width, int decimals, char *out);

// A date "YYYYMMDD".
void formatDate(int year, int month, int day, char *out);

// Parses date text as written in statements: "YYYY-MM-DD" (with an optional
// time after it), "dd.MM.yyyy" or "YYYYMMDD". Returns false for anything else
// or for a day that does not exist.
bool parseDateText(const char *text, int length, int *year, int *month, int *day);

// Parses number text such as " -12.50 " (no thousands separators).
bool parseNumberText(const char *text, int length, double *value);

} // namespace dbf
