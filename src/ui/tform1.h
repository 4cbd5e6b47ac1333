// The start window: shown while the program prepares its data, and the
// application's main window, so the program ends when it closes.
//
// When it is first shown it lets pending messages run and starts a one-shot
// timer (1000 ms; ARVENA3_START_DELAY_MS changes it); the first tick runs the
// start-up steps exactly once. Without steps the window closes at that tick.
//
// Environment for tests of the whole program: ARVENA3_START_DELAY_MS sets the
// timer; ARVENA3_CLOSE_MAIN_WINDOW, when set, closes the main window as soon
// as it is shown, so that a run goes through every step and ends by itself.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QTimer;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);

    // The text of the version labels: "ver. " + the version in its shortest
    // decimal form, padded on the right with "0" to at least six characters.
    static QString VersionLabelText(double version);

    // The work run by the timer's first tick.
    void setStartupSteps(std::function<void()> steps) { steps_ = std::move(steps); }

    void setStatus(const QString &text);
    QString status() const;
    QProgressBar *progressBar() const { return progress_; }
    QTimer *startTimer() const { return timer_; }
    QString titleText() const;
    QString versionText() const;
    // The navy copy of the version label, two pixels right and below.
    QLabel *versionShadow() const { return versionShadow_; }
    QLabel *versionLabel() const { return version_; }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void runSteps();

    QLabel *title_;
    QLabel *status_;
    QLabel *version_;
    QLabel *versionShadow_;
    QProgressBar *progress_;
    QTimer *timer_;
    std::function<void()> steps_;
    bool started_ = false;
};
