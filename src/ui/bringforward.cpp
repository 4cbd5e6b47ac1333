#include "ui/bringforward.h"

#include <QApplication>
#include <QWidget>

namespace ui {

void bringForward(QWidget *window)
{
    QWidget *target = QApplication::activeModalWidget();
    if (!target)
        target = window;
    if (!target)
        return;
    if (target->isMinimized())
        target->setWindowState((target->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    target->show();
    target->raise();
    target->activateWindow();
}

} // namespace ui
