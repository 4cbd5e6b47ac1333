#include "ui/tform1.h"

#include "platform/version.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

namespace {

const QColor navy(0x00, 0x00, 0x80);

int startDelayMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ARVENA3_START_DELAY_MS", &ok);
    return ok && ms >= 0 ? ms : 1000;
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("TForm1");
    setWindowTitle("Start...");
    setFixedSize(430, 170);
    setCursor(Qt::WaitCursor);

    title_ = new QLabel("Arvena.3/2014 - Vanzari teren extravilan", this);
    title_->setObjectName("TitluL");
    title_->setGeometry(16, 18, 398, 30);
    title_->setAlignment(Qt::AlignCenter);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    title_->setFont(titleFont);
    setTextColour(title_, navy);

    // The shadow is made first so the white label is drawn over it.
    const QString version = VersionLabelText(ProgramVersion);
    versionShadow_ = new QLabel(version, this);
    version_ = new QLabel(version, this);
    versionShadow_->setObjectName("VerUmbraL");
    version_->setObjectName("VerL");
    QFont versionFont = version_->font();
    versionFont.setBold(true);
    versionFont.setPointSizeF(versionFont.pointSizeF() * 1.5);
    for (QLabel *l : {versionShadow_, version_}) {
        l->setFont(versionFont);
        l->setAlignment(Qt::AlignCenter);
    }
    version_->setGeometry(115, 54, 200, 34);
    versionShadow_->setGeometry(version_->geometry().translated(2, 2));
    setTextColour(version_, Qt::white);
    setTextColour(versionShadow_, navy);

    status_ = new QLabel("Incarcare date", this);
    status_->setObjectName("StareL");
    status_->setGeometry(16, 100, 398, 20);
    status_->setAlignment(Qt::AlignCenter);
    setTextColour(status_, Qt::white);

    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar1");
    progress_->setGeometry(16, 128, 398, 18);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);

    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(startDelayMs());
    connect(timer_, &QTimer::timeout, this, &TForm1::runSteps);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

QString TForm1::VersionLabelText(double version)
{
    QString digits = QString::number(version, 'g', 15);
    // A whole number still reads as a version: 2 is "2.0000", not "200000".
    if (!digits.contains('.'))
        digits += '.';
    while (digits.size() < 6)
        digits += '0';
    return "ver. " + digits;
}

void TForm1::setStatus(const QString &text)
{
    status_->setText(text);
}

QString TForm1::status() const
{
    return status_->text();
}

QString TForm1::titleText() const
{
    return title_->text();
}

QString TForm1::versionText() const
{
    return version_->text();
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (started_)
        return;
    started_ = true;
    QCoreApplication::processEvents();
    timer_->start();
}

void TForm1::runSteps()
{
    timer_->stop();
    if (steps_) {
        // Exactly once, however often the window is shown again.
        auto steps = std::move(steps_);
        steps_ = nullptr;
        steps();
    } else {
        close();
    }
}

void TForm1::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient gradient(0, 0, 0, height());
    // Light behind the navy title, darker behind the white labels below it.
    gradient.setColorAt(0, QColor(0xE1, 0xDE, 0xFA));
    gradient.setColorAt(0.45, QColor(0x81, 0xA2, 0xD3));
    gradient.setColorAt(1, QColor(0x36, 0x5F, 0x9C));
    p.fillRect(rect(), gradient);
    p.setPen(QColor(0x36, 0x5F, 0x9C));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
