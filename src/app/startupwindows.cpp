#include "app/startupwindows.h"

#include "admin/tform4.h"
#include "app/mainwindow.h"
#include "ui/tform1.h"

#include <QCoreApplication>
#include <QLineEdit>

StartupWindows::StartupWindows(TForm1 &startWindow, TForm3 &mainWindow, TForm4 &administration)
    : startWindow_(startWindow), mainWindow_(mainWindow), administration_(administration)
{
}

void StartupWindows::setStatus(const QString &text)
{
    startWindow_.setStatus(text);
}

void StartupWindows::showAdministrationValues()
{
    administration_.showValues(administrationValues());
}

void StartupWindows::setServerFolder(const QString &folder)
{
    administration_.ServerE->setText(folder);
}

void StartupWindows::setWorkingMode(const QString &text)
{
    mainWindow_.setWorkingMode(text);
}

void StartupWindows::setMainCaption(const QString &caption)
{
    mainWindow_.setWindowTitle(caption);
}

void StartupWindows::showMainWindow()
{
    startWindow_.unsetCursor();
    startWindow_.hide();
    letMessagesRun();
    mainWindow_.ShowMainWindow();
}

void StartupWindows::letMessagesRun()
{
    QCoreApplication::processEvents();
}
