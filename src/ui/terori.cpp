#include "ui/terori.h"

#include "platform/sound.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <cstdio>

namespace {

struct ButtonSpec {
    const char *caption;
    int bit;
    int result;
};

// In the order they are placed.
const ButtonSpec buttonSpecs[] = {
    {"&Da", ButtonDa, ResultYes},
    {"&Nu", ButtonNu, ResultNo},
    {"&Renunt", ButtonRenunt, ResultCancel},
    {"&OK", ButtonOk, ResultOk},
};

struct KindLook {
    QStyle::StandardPixmap icon;
    QColor from;
    QColor to;
    bool beep;
};

KindLook lookOfKind(int kind)
{
    switch (kind) {
    case KindWarning:
        return {QStyle::SP_MessageBoxWarning, QColor(0xB7, 0xB1, 0x8A), QColor(0x38, 0x36, 0x23), false};
    case KindInformation:
        return {QStyle::SP_MessageBoxInformation, QColor(0xE1, 0xDE, 0xFA), QColor(0x00, 0x00, 0xBB), false};
    case KindConfirmation:
        return {QStyle::SP_MessageBoxQuestion, QColor(0x81, 0xA2, 0xD3), QColor(0x36, 0x5F, 0x9C), false};
    default:
        return {QStyle::SP_MessageBoxCritical, QColor(0xFF, 0xD5, 0xD5), QColor(0xFF, 0x00, 0x00), true};
    }
}

// Texts come with carriage returns as line breaks.
QString withLineBreaks(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

const int buttonHeight = 25;
const int lineWidth = 342;

} // namespace

TErori::TErori(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("TErori");
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);

    icon_ = new QLabel(this);
    icon_->setGeometry(8, (TopBandHeight - 32) / 2, 32, 32);

    title_ = new QLabel(this);
    title_->setObjectName("TitluL");
    title_->setGeometry(48, 0, ClientWidth - 56, TopBandHeight);
    title_->setTextFormat(Qt::PlainText);
    title_->setWordWrap(true);
    title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);

    const int middle = ClientHeight - TopBandHeight - BottomBandHeight;
    text_ = new QLabel(this);
    text_->setObjectName("TextL");
    text_->setGeometry(9, TopBandHeight + (middle - 65) / 2, 321, 65);
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignCenter);

    const int y = ClientHeight - BottomBandHeight + (BottomBandHeight - buttonHeight) / 2;
    int index = 1;
    for (const ButtonSpec &spec : buttonSpecs) {
        auto *b = new QPushButton(QString::fromLatin1(spec.caption), this);
        b->setObjectName("BE" + QString::number(index++));
        b->setGeometry(0, y, ButtonWidth, buttonHeight);
        b->setAutoDefault(true);
        const int result = spec.result;
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        buttons_.append(b);
    }
}

QList<int> TErori::ButtonLefts(int count)
{
    QList<int> lefts;
    if (count <= 0)
        return lefts;
    const int gap = (lineWidth - ButtonWidth * count) / (count + 1);
    for (int k = 1; k <= count; ++k)
        lefts.append(k * (gap + ButtonWidth) - ButtonWidth);
    return lefts;
}

QString TErori::CaptionOfKind(int kind)
{
    switch (kind) {
    case KindWarning:
        return QStringLiteral("Atentie !");
    case KindInformation:
        return QStringLiteral("Informatie");
    case KindConfirmation:
        return QStringLiteral("Confirmare");
    default:
        return QStringLiteral("Eroare");
    }
}

int TErori::Prepare(const QString &title, const QString &text, int buttons, int kind)
{
    title_->setText(withLineBreaks(title));
    text_->setText(withLineBreaks(text));

    const KindLook look = lookOfKind(kind);
    setWindowTitle(CaptionOfKind(kind));
    icon_->setPixmap(style()->standardIcon(look.icon, nullptr, this).pixmap(32, 32));
    from_ = look.from;
    to_ = look.to;
    if (look.beep)
        platform::beep();

    QList<QPushButton *> shown;
    for (int i = 0; i < buttons_.size(); ++i) {
        const bool visible = (buttons & buttonSpecs[i].bit) != 0;
        buttons_[i]->setVisible(visible);
        buttons_[i]->setDefault(false);
        if (visible)
            shown.append(buttons_[i]);
    }
    const QList<int> lefts = ButtonLefts(int(shown.size()));
    for (int k = 0; k < shown.size(); ++k)
        shown[k]->move(lefts[k], shown[k]->y());
    if (!shown.isEmpty()) {
        shown.first()->setDefault(true);
        shown.first()->setFocus();
    }
    update();
    return int(shown.size());
}

int TErori::Mesaj(const QString &title, const QString &text, int buttons, int kind)
{
    if (Prepare(title, text, buttons, kind) == 0)
        return ResultCancel;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    return exec();
}

QList<QPushButton *> TErori::visibleButtons() const
{
    QList<QPushButton *> shown;
    for (QPushButton *b : buttons_) {
        if (!b->isHidden())
            shown.append(b);
    }
    return shown;
}

QString TErori::title() const
{
    return title_->text();
}

QString TErori::text() const
{
    return text_->text();
}

void TErori::reject()
{
    done(ResultCancel);
}

void TErori::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, from_);
    gradient.setColorAt(1, to_);
    p.fillRect(0, 0, width(), TopBandHeight, gradient);
    p.fillRect(0, height() - BottomBandHeight, width(), BottomBandHeight, gradient);
}

TErori *messageDialog()
{
    // Lives until the process ends, like the other windows made at start.
    static QPointer<TErori> dialog;
    if (!dialog)
        dialog = new TErori;
    return dialog;
}

int Mesaj(const QString &title, const QString &text, int buttons, int kind)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        // A tool without windows still tells what happened.
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(withLineBreaks(text)));
        return ResultCancel;
    }
    return messageDialog()->Mesaj(title, text, buttons, kind);
}
