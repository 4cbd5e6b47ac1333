// The records of a new workbook and of the formats added to it: the least a
// reader expects (one sheet, the default fonts and the sixteen built-in style
// formats, the Normal style), in the order the format describes.
#include "reports/xls/biffrecords.h"
#include "reports/xls/workbook.h"

namespace xls {

using namespace biff;

namespace {

constexpr quint16 kDefaultColors = (0x41 << 7) | 0x40; // window text on window background
constexpr quint8 kBlack = 8;

QByteArray fontRecord(const Font &font)
{
    QByteArray d;
    add16(d, quint16(font.height));
    add16(d, font.italic ? 0x0002 : 0);
    add16(d, 0x7FFF); // automatic colour
    add16(d, font.bold ? 700 : 400);
    add16(d, 0);      // no super- or subscript
    d.append(char(0)); // no underline
    d.append(char(0)); // family
    d.append(char(0)); // character set: the strings are Unicode
    d.append(char(0));
    d += unicodeString(font.name, true);
    return d;
}

QByteArray xfRecord(int font, int numberFormat, bool style, quint8 alignment, quint8 usedAttributes, bool borders)
{
    QByteArray d;
    add16(d, quint16(font));
    add16(d, quint16(numberFormat));
    add16(d, style ? 0xFFF5 : 0x0001); // locked; a style has no parent
    d.append(char(alignment));
    d.append(char(0)); // no rotation
    d.append(char(0)); // no indent
    d.append(char(usedAttributes));
    if (borders) {
        add32(d, 0x1111u | (quint32(kBlack) << 16) | (quint32(kBlack) << 23)); // thin left, right, top, bottom
        add32(d, quint32(kBlack) | (quint32(kBlack) << 7));
    } else {
        add32(d, 0);
        add32(d, 0);
    }
    add16(d, kDefaultColors);
    return d;
}

QByteArray shortRecord(quint16 value)
{
    QByteArray d;
    add16(d, value);
    return d;
}

} // namespace

Workbook Workbook::create(const QString &sheetName)
{
    Workbook book;
    book.streamName_ = QStringLiteral("Workbook");
    book.container_.root.name = QStringLiteral("Root Entry");
    book.container_.root.storage = true;

    QByteArray bof;
    add16(bof, 0x0600);
    add16(bof, kGlobalsStream);
    add16(bof, 0x0DBB);
    add16(bof, 0x07CC);
    add32(bof, 0);
    add32(bof, 0x0006);
    auto &g = book.globals_;
    g.push_back(Record{RecBof, {bof}});
    g.push_back(Record{0x00E1, {shortRecord(1200)}}); // interface header: Unicode
    g.push_back(Record{0x00C1, {QByteArray(2, '\0')}});
    g.push_back(Record{0x00E2, {QByteArray()}});
    g.push_back(Record{0x0042, {shortRecord(1200)}}); // code page
    g.push_back(Record{0x0161, {shortRecord(0)}});
    g.push_back(Record{0x0019, {shortRecord(0)}});
    g.push_back(Record{0x0012, {shortRecord(0)}});
    g.push_back(Record{0x0013, {shortRecord(0)}});
    QByteArray window;
    add16(window, 0x0168);
    add16(window, 0x001E);
    add16(window, 0x3A5C);
    add16(window, 0x2328);
    add16(window, 0x0038);
    add16(window, 0);
    add16(window, 0);
    add16(window, 1);
    add16(window, 0x0258);
    g.push_back(Record{0x003D, {window}});
    g.push_back(Record{0x0040, {shortRecord(0)}});
    g.push_back(Record{0x008D, {shortRecord(0)}});
    g.push_back(Record{0x0022, {shortRecord(0)}}); // dates count from 1900
    g.push_back(Record{0x000E, {shortRecord(1)}});
    g.push_back(Record{0x01B7, {shortRecord(0)}});
    g.push_back(Record{0x00DA, {shortRecord(0)}});
    for (int i = 0; i < 4; ++i) {
        g.push_back(Record{RecFont, {fontRecord(Font())}});
        ++book.fontCount_;
    }
    for (int i = 0; i < 16; ++i) {
        const bool style = i < 15;
        g.push_back(Record{RecXf, {xfRecord(i == 0 || !style ? 0 : 1, 0, style, 0x20, i == 0 || !style ? 0 : 0xF4, false)}});
    }
    QByteArray normal;
    add16(normal, 0x8000);
    normal.append(char(0));
    normal.append(char(0xFF));
    g.push_back(Record{0x0293, {normal}});
    QByteArray bound;
    add32(bound, 0);
    bound.append(char(0)); // visible
    bound.append(char(0)); // worksheet
    bound += unicodeString(sheetName.left(31), true);
    g.push_back(Record{RecBoundSheet, {bound}});
    book.sstAt_ = int(g.size());
    g.push_back(Record{RecSst, {QByteArray()}});
    g.push_back(Record{RecEof, {QByteArray()}});

    auto sheet = std::make_unique<Sheet>();
    sheet->book_ = &book;
    sheet->name_ = sheetName.left(31);
    QByteArray sheetBof = bof;
    put16(sheetBof, 2, kWorksheetStream);
    auto &h = sheet->head_;
    h.push_back(Record{RecBof, {sheetBof}});
    sheet->indexAt_ = int(h.size());
    h.push_back(Record{RecIndex, {QByteArray()}});
    h.push_back(Record{0x000D, {shortRecord(1)}});   // calculate automatically
    h.push_back(Record{0x000C, {shortRecord(100)}});
    h.push_back(Record{0x000F, {shortRecord(1)}});   // A1 references
    h.push_back(Record{0x0011, {shortRecord(0)}});
    QByteArray delta;
    addF64(delta, 0.001);
    h.push_back(Record{0x0010, {delta}});
    h.push_back(Record{0x005F, {shortRecord(1)}});
    h.push_back(Record{0x002A, {shortRecord(0)}});
    h.push_back(Record{0x002B, {shortRecord(0)}});   // gridlines are not printed
    h.push_back(Record{0x0082, {shortRecord(1)}});
    h.push_back(Record{0x0080, {QByteArray(8, '\0')}});
    QByteArray rowHeight;
    add16(rowHeight, 0);
    add16(rowHeight, 0x00FF);
    h.push_back(Record{0x0225, {rowHeight}});
    h.push_back(Record{0x0081, {shortRecord(0x05C1)}}); // fit to the page width
    h.push_back(Record{0x0083, {shortRecord(1)}});      // centred on the page
    QByteArray setup;
    add16(setup, 9);   // A4
    add16(setup, 100);
    add16(setup, 1);
    add16(setup, 1);   // one page wide
    add16(setup, 0);   // as many pages high as needed
    add16(setup, 0);   // landscape
    add16(setup, 600);
    add16(setup, 600);
    addF64(setup, 0.3);
    addF64(setup, 0.3);
    add16(setup, 1);
    h.push_back(Record{0x00A1, {setup}});
    h.push_back(Record{RecDefColWidth, {shortRecord(8)}});
    sheet->dimensionsAt_ = int(h.size());
    h.push_back(Record{RecDimensions, {QByteArray()}});
    QByteArray window2;
    add16(window2, 0x06B6);
    add16(window2, 0);
    add16(window2, 0);
    add32(window2, 64);
    add16(window2, 0);
    add16(window2, 0);
    add32(window2, 0);
    sheet->tail_.push_back(Record{0x023E, {window2}});
    sheet->tail_.push_back(Record{RecMergedCells, {QByteArray()}});
    sheet->tail_.push_back(Record{RecEof, {QByteArray()}});
    book.sheets_.push_back(std::move(sheet));
    return book;
}

int Workbook::addFont(const Font &font)
{
    int last = -1;
    for (size_t i = 0; i < globals_.size(); ++i)
        if (globals_[i].type == RecFont)
            last = int(i);
    globals_.insert(globals_.begin() + last + 1, Record{RecFont, {fontRecord(font)}});
    if (sstAt_ > last)
        ++sstAt_;
    const int index = fontCount_++;
    return index >= 4 ? index + 1 : index; // font 4 does not exist in the format
}

int Workbook::addNumberFormat(const QString &code)
{
    int last = -1;
    for (size_t i = 0; i < globals_.size(); ++i)
        if (globals_[i].type == RecFormat || globals_[i].type == RecFont)
            last = int(i);
    QByteArray d;
    const int index = nextFormatCode_++;
    add16(d, quint16(index));
    d += unicodeString(code, false);
    globals_.insert(globals_.begin() + last + 1, Record{RecFormat, {d}});
    if (sstAt_ > last)
        ++sstAt_;
    return index;
}

int Workbook::addCellFormat(const CellFormat &format)
{
    int last = -1, count = 0;
    for (size_t i = 0; i < globals_.size(); ++i)
        if (globals_[i].type == RecXf) {
            last = int(i);
            ++count;
        }
    const quint8 alignment = quint8(format.horizontal | (format.wrap ? 0x08 : 0) | (format.vertical << 4));
    globals_.insert(globals_.begin() + last + 1,
                    Record{RecXf, {xfRecord(format.font, format.numberFormat, false, alignment, 0xFC, format.borders)}});
    if (sstAt_ > last)
        ++sstAt_;
    return count;
}

} // namespace xls
