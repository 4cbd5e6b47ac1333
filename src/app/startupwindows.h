// The start-up's view over the real windows: the start window TForm1, the
// main window TForm3 and the administration dialog TForm4.
//
//   StartupWindows windows(start, mainWindow, administration);
//   StartWindowPrompter prompter(qtPrompter(), start);
//   StartupSequence(prompter, windows).Run();
#pragma once

#include "app/startupview.h"

class TForm1;
class TForm3;
class TForm4;

class StartupWindows : public StartupView {
public:
    StartupWindows(TForm1 &startWindow, TForm3 &mainWindow, TForm4 &administration);

    void setStatus(const QString &text) override;
    void showAdministrationValues() override;
    void setServerFolder(const QString &folder) override;
    void setWorkingMode(const QString &text) override;
    void setMainCaption(const QString &caption) override;
    // Also logs the start and the end of the work (TForm3::ShowMainWindow).
    void showMainWindow() override;
    void letMessagesRun() override;

private:
    TForm1 &startWindow_;
    TForm3 &mainWindow_;
    TForm4 &administration_;
};
