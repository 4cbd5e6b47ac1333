// What the start-up shows while it runs, and the window it hands over to:
// the start window's status line, the main window's working mode and
// caption, the administration dialog's values. The program passes the real
// windows (StartupWindows); tests pass a view that records what it was told,
// so that the start-up's decisions are checked without a window. Progress
// goes through the start-up's Prompter.
#pragma once

#include <QString>

class StartupView {
public:
    virtual ~StartupView() = default;

    // The start window's line that says what is being done.
    virtual void setStatus(const QString &text) = 0;
    // The administration values were loaded (administrationValues()): the
    // administration dialog shows them.
    virtual void showAdministrationValues() = 0;
    // The data live in this server folder: the administration dialog's
    // server path shows it.
    virtual void setServerFolder(const QString &folder) = 0;
    // The second panel of the main window's status bar ("Lucru local.", ...).
    virtual void setWorkingMode(const QString &text) = 0;
    // The main window's caption.
    virtual void setMainCaption(const QString &caption) = 0;
    // Hides the start window and shows the main window until it closes.
    virtual void showMainWindow() = 0;
    // Lets pending window messages run, so that labels and bars repaint.
    virtual void letMessagesRun() = 0;
};
