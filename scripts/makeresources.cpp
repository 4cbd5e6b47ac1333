// Build-time maker of the carried files that are not kept in the repository
// as they are: the law texts, written as short PDF files from our own HTML
// summaries, and the icon of the backup file type.
//
//     makeresources <output folder> <P1.html> ... <P5.html>
//
// Each <name>.html becomes <output folder>/<name>.pdf (A4); the icon is
// written as <output folder>/ico1.ico. Runs on the offscreen platform.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QtEndian>

#include <cstdio>

namespace {

bool writePdf(const QString &htmlPath, const QString &pdfPath)
{
    QFile html(htmlPath);
    if (!html.open(QIODevice::ReadOnly))
        return false;
    QPdfWriter writer(pdfPath);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(QFileInfo(htmlPath).completeBaseName());
    writer.setCreator("Arvena3");

    // Laid out on the writer itself, so that point sizes mean points on paper.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDefaultFont(QFont("DejaVu Serif", 11));
    document.setHtml(QString::fromUtf8(html.readAll()));
    const QSizeF page(writer.width(), writer.height());
    document.setPageSize(page);

    QPainter painter(&writer);
    for (int n = 0; n < document.pageCount(); ++n) {
        if (n > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -n * page.height());
        document.drawContents(&painter, QRectF(QPointF(0, n * page.height()), page));
        painter.restore();
    }
    painter.end();
    return QFileInfo(pdfPath).size() > 0;
}

QByteArray iconPng(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A green field with a furrowed strip and a white "A": the register's archive.
    painter.setBrush(QColor(46, 125, 50));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
    painter.setBrush(QColor(197, 160, 90));
    painter.drawRect(QRectF(1, size * 0.68, size - 2, size * 0.14));
    painter.setPen(Qt::white);
    QFont font("DejaVu Sans", 1, QFont::Bold);
    font.setPixelSize(int(size * 0.58));
    painter.setFont(font);
    painter.drawText(QRectF(0, 0, size, size * 0.72), Qt::AlignCenter, "A");
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// An icon file holding PNG images, which every current desktop reads.
bool writeIcon(const QString &path)
{
    const QList<int> sizes = {16, 32, 48};
    QList<QByteArray> images;
    for (int size : sizes)
        images.append(iconPng(size));
    QByteArray out;
    auto put16 = [&out](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto put32 = [&out, &put16](quint32 v) { put16(quint16(v & 0xFFFF)); put16(quint16(v >> 16)); };
    put16(0);
    put16(1);
    put16(quint16(sizes.size()));
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        out.append(char(sizes.at(i))).append(char(sizes.at(i))).append(char(0)).append(char(0));
        put16(1);
        put16(32);
        put32(quint32(images.at(i).size()));
        put32(offset);
        offset += quint32(images.at(i).size());
    }
    for (const QByteArray &png : images)
        out += png;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: makeresources <output folder> <law text .html>...\n");
        return 2;
    }
    const QDir out(args.at(1));
    if (!QDir().mkpath(out.path()))
        return 1;
    for (const QString &html : args.mid(2)) {
        const QString pdf = out.filePath(QFileInfo(html).completeBaseName() + ".pdf");
        if (!writePdf(html, pdf)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(pdf));
            return 1;
        }
    }
    if (!writeIcon(out.filePath("ico1.ico"))) {
        std::fprintf(stderr, "cannot write the icon\n");
        return 1;
    }
    return 0;
}
