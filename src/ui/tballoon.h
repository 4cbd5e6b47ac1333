// Balloons that point at a field or a button: "Problema !" for a value that
// failed a check, "Indicatie" for a hint. One balloon is shown at a time; it
// goes by itself after five seconds or when clicked.
//
//   if (!CheckCnp(cnp)) { ShowProblem("CNP incorect!", CnpE); return false; }
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

class QLabel;
class QTimer;

class TBalloon : public QWidget {
    Q_OBJECT
public:
    explicit TBalloon(QWidget *parent = nullptr);

    static constexpr int PreferredWidth = 300;
    static constexpr int HideAfterMs = 5000;
    // Where the tail points, from the control's top-left corner.
    static constexpr QPoint TailOffset{10, 10};

    enum class Kind { Problem, Indication };

    // Shows the balloon with its tail at `control` (or, without a control, at
    // the middle of the active window or of the screen) and starts the timer.
    void showAt(Kind kind, const QString &text, QWidget *control);

    QString title() const;
    QString text() const;
    // The global point the tail touches.
    QPoint tip() const { return tip_; }
    QTimer *hideTimer() const { return hideTimer_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void placeAt(const QPoint &tip);

    QLabel *icon_;
    QLabel *title_;
    QLabel *text_;
    QTimer *hideTimer_;
    QPoint tip_;
    // Tail position in local coordinates and whether the body is below it.
    QPoint tailLocal_;
    bool below_ = true;
};

// The balloon of this process, made on first use.
TBalloon *balloon();

// Error balloon titled "Problema !" at a field.
void ShowProblem(const QString &text, QWidget *control);

// Information balloon titled "Indicatie" at a button.
void ShowIndication(const QString &text, QWidget *control);
