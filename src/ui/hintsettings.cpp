#include "ui/hintsettings.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace {

// Qt keeps a hint up for a time that grows with its text; the program's hints
// all go after the same pause.
class HintFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->toolTip().isEmpty())
            return false;
        auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), HintHidePauseMs);
        return true;
    }
};

} // namespace

void ApplyHintSettings()
{
    QPalette pal = QToolTip::palette();
    pal.setColor(QPalette::ToolTipBase, Qt::white);
    pal.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(pal);
    static HintFilter *filter = nullptr;
    if (!filter) {
        filter = new HintFilter(qApp);
        qApp->installEventFilter(filter);
    }
}
