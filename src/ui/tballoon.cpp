#include "ui/tballoon.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const int tailHeight = 14;
const int tailWidth = 16;
// Distance of the tail from the balloon's nearer side edge.
const int tailInset = 20;
const int radius = 8;
const QColor fill(0xFF, 0xFF, 0xE1);
const QColor border(0x76, 0x76, 0x76);

} // namespace

TBalloon::TBalloon(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("Balon");
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedWidth(PreferredWidth);

    icon_ = new QLabel(this);
    icon_->setFixedSize(16, 16);
    title_ = new QLabel(this);
    title_->setTextFormat(Qt::PlainText);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    text_ = new QLabel(this);
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    for (QLabel *l : {title_, text_}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        l->setPalette(pal);
    }

    auto *heading = new QHBoxLayout;
    heading->setSpacing(6);
    heading->addWidget(icon_);
    heading->addWidget(title_, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addLayout(heading);
    layout->addWidget(text_);

    hideTimer_ = new QTimer(this);
    hideTimer_->setSingleShot(true);
    hideTimer_->setInterval(HideAfterMs);
    connect(hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void TBalloon::showAt(Kind kind, const QString &text, QWidget *control)
{
    const bool problem = kind == Kind::Problem;
    title_->setText(problem ? QStringLiteral("Problema !") : QStringLiteral("Indicatie"));
    text_->setText(text);
    const auto icon = problem ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation;
    icon_->setPixmap(style()->standardIcon(icon, nullptr, this).pixmap(16, 16));

    QPoint tip;
    if (control) {
        tip = control->mapToGlobal(TailOffset);
    } else if (QWidget *active = QApplication::activeWindow()) {
        tip = active->mapToGlobal(active->rect().center());
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        tip = screen->availableGeometry().center();
    }
    placeAt(tip);
    show();
    raise();
    hideTimer_->start();
}

void TBalloon::placeAt(const QPoint &tip)
{
    tip_ = tip;
    // Body below the tail unless the screen ends first; tail near the left
    // side unless the balloon would leave the screen on the right. The
    // margins leave room for the tail on whichever side it is.
    layout()->setContentsMargins(12, tailHeight + 8, 12, 8);
    layout()->activate();
    const int wanted = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(PreferredWidth)
                                                     : layout()->totalSizeHint().height();
    setFixedHeight(wanted);
    const QScreen *screen = QGuiApplication::screenAt(tip);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);

    below_ = tip.y() + height() <= area.bottom();
    int tailX = tailInset;
    if (tip.x() - tailX + width() > area.right())
        tailX = width() - tailInset;
    tailLocal_ = QPoint(tailX, below_ ? 0 : height());
    layout()->setContentsMargins(12, (below_ ? tailHeight : 0) + 8, 12, (below_ ? 0 : tailHeight) + 8);
    move(tip - tailLocal_);
    update();
}

QString TBalloon::title() const
{
    return title_->text();
}

QString TBalloon::text() const
{
    return text_->text();
}

void TBalloon::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = below_ ? QRectF(0.5, tailHeight + 0.5, width() - 1, height() - tailHeight - 1)
                               : QRectF(0.5, 0.5, width() - 1, height() - tailHeight - 1);
    QPainterPath path;
    path.addRoundedRect(body, radius, radius);
    // The tail leans away from the nearer edge, as a speech balloon's does.
    const double baseY = below_ ? body.top() + 1 : body.bottom() - 1;
    const double lean = tailLocal_.x() < width() / 2 ? tailWidth : -tailWidth;
    QPainterPath tail;
    tail.moveTo(tailLocal_.x() + 0.5, below_ ? 0.5 : height() - 0.5);
    tail.lineTo(tailLocal_.x() + lean * 0.25, baseY);
    tail.lineTo(tailLocal_.x() + lean, baseY);
    tail.closeSubpath();
    path = path.united(tail);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawPath(path);
}

void TBalloon::mousePressEvent(QMouseEvent *)
{
    hideTimer_->stop();
    hide();
}

TBalloon *balloon()
{
    static QPointer<TBalloon> instance;
    if (!instance)
        instance = new TBalloon;
    return instance;
}

void ShowProblem(const QString &text, QWidget *control)
{
    balloon()->showAt(TBalloon::Kind::Problem, text, control);
}

void ShowIndication(const QString &text, QWidget *control)
{
    balloon()->showAt(TBalloon::Kind::Indication, text, control);
}
