#include "ui/tcontor.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TContor::TContor(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("TContor");
    setFixedSize(360, 78);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setCursor(Qt::WaitCursor);

    description_ = new QLabel(this);
    description_->setObjectName("DescriereL");
    description_->setAlignment(Qt::AlignCenter);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar");
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->addWidget(description_);
    layout->addWidget(bar_);
}

void TContor::setDescription(const QString &text)
{
    description_->setText(text);
}

QString TContor::description() const
{
    return description_->text();
}

void TContor::setMaximum(int maximum)
{
    bar_->setMaximum(qMax(0, maximum));
}

int TContor::maximum() const
{
    return bar_->maximum();
}

int TContor::position() const
{
    return bar_->value() < bar_->minimum() ? 0 : bar_->value();
}

void TContor::ProgressBegin()
{
    bar_->setValue(0);
    if (isVisible())
        return;
    remembered_ = QApplication::activeWindow();
    if (remembered_ == this)
        remembered_ = nullptr;
    QRect area;
    if (remembered_) {
        rememberedFocus_ = remembered_->focusWidget();
        hadCursor_ = remembered_->testAttribute(Qt::WA_SetCursor);
        oldCursor_ = remembered_->cursor();
        remembered_->setEnabled(false);
        remembered_->setCursor(Qt::WaitCursor);
        area = remembered_->frameGeometry();
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    QRect frame(QPoint(), size());
    frame.moveCenter(area.center());
    move(frame.topLeft());
    show();
    raise();
    QCoreApplication::processEvents();
}

void TContor::ProgressStep()
{
    if (position() < bar_->maximum())
        bar_->setValue(position() + 1);
    QCoreApplication::processEvents();
}

void TContor::ProgressEnd()
{
    if (!isVisible())
        return;
    hide();
    if (!remembered_)
        return;
    remembered_->setEnabled(true);
    if (hadCursor_)
        remembered_->setCursor(oldCursor_);
    else
        remembered_->unsetCursor();
    if (remembered_->isVisible()) {
        remembered_->activateWindow();
        if (rememberedFocus_)
            rememberedFocus_->setFocus();
        else
            remembered_->setFocus();
    }
    remembered_ = nullptr;
}

TContor *progressWindow()
{
    static QPointer<TContor> instance;
    if (!instance)
        instance = new TContor;
    return instance;
}
