// The progress window shown while a long operation runs (building a register,
// packing a backup). The window the clerk worked in is disabled meanwhile and
// given back, with its focus, at the end.
//
//   TContor *c = progressWindow();
//   c->setDescription("Creez Registrul ...");
//   c->setMaximum(rows);
//   c->ProgressBegin();
//   for (...) { ...; c->ProgressStep(); }
//   c->ProgressEnd();
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

class TContor : public QWidget {
    Q_OBJECT
public:
    explicit TContor(QWidget *parent = nullptr);

    void setDescription(const QString &text);
    QString description() const;
    void setMaximum(int maximum);
    int maximum() const;
    int position() const;

    // Position 0; when not yet shown: disables the active window, gives it the
    // hourglass and shows the progress window centred on it.
    void ProgressBegin();
    // One step further, never past the maximum; lets pending messages run.
    void ProgressStep();
    // Hides the window and gives the remembered window back its state and focus.
    void ProgressEnd();

    // The window disabled by ProgressBegin (null when none was active).
    QWidget *rememberedWindow() const { return remembered_; }

private:
    QLabel *description_;
    QProgressBar *bar_;
    QPointer<QWidget> remembered_;
    QPointer<QWidget> rememberedFocus_;
    bool hadCursor_ = false;
    QCursor oldCursor_;
};

// The progress window of this process, made on first use.
TContor *progressWindow();
