// Feeds arbitrary bytes to the table-file parser: first to the header and
// value functions on the bytes themselves, then, as a file, through the whole
// engine (a SELECT and the administrator's check). Any crash, leak or
// undefined behaviour is a fault; refusing the bytes with an error is fine.
#include "datastore/dbf/codepage.h"
#include "datastore/dbf/dbfformat.h"
#include "datastore/dbf/tablecheck.h"
#include "datastore/sql/database.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <unistd.h>

namespace {

void readEveryValue(const char *data, size_t size, const dbf::Header &h)
{
    for (quint32 row = 0; row < h.recordCount && row < 1000; ++row) {
        const char *record = data + h.headerLength + size_t(row) * h.recordLength;
        for (const dbf::Field &f : h.fields) {
            const char *value = record + f.offset;
            bool isInteger = false, truth = false;
            qint64 integer = 0;
            double real = 0;
            int y = 0, m = 0, d = 0;
            switch (f.type) {
            case 'N':
            case 'F':
                dbf::readNumber(value, f.width, &isInteger, &integer, &real);
                break;
            case 'D':
                dbf::readDate(value, &y, &m, &d);
                break;
            case 'L':
                dbf::readLogical(value[0], &truth);
                break;
            default:
                dbf::decodeText(value, dbf::trimmedLength(value, f.width));
            }
        }
    }
    (void)size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const char *data = reinterpret_cast<const char *>(bytes);
    dbf::Header header;
    QString error;
    if (dbf::parseHeader(data, qint64(size), qint64(size), header, &error))
        readEveryValue(data, size, header);

    static const QString path = QDir::tempPath() + QStringLiteral("/fuzz_dbf_%1.dbf").arg(getpid());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(data, qint64(size));
    file.close();
    try {
        sqlstore::database().query(QStringLiteral("SELECT * FROM \"%1\"").arg(path));
    } catch (const sqlstore::SqlError &) {
    }
    dbf::checkTable(path);
    return 0;
}
