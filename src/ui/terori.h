// The one message dialog of the program: every question, warning, error and
// notice goes through `Mesaj`, never through the platform's message boxes.
//
//   if (Mesaj("Stergere", "Stergeti cererea?", ButtonDa | ButtonNu, KindConfirmation) == ResultYes)
//       ...
//
// The dialog is made once and reused; each call sets every element anew.
#pragma once

#include "platform/prompter.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;

class TErori : public QDialog {
    Q_OBJECT
public:
    explicit TErori(QWidget *parent = nullptr);

    // Fixed client size.
    static constexpr int ClientWidth = 339;
    static constexpr int ClientHeight = 171;
    static constexpr int TopBandHeight = 49;
    static constexpr int BottomBandHeight = 42;
    static constexpr int ButtonWidth = 73;

    // Left edges of `count` buttons spread over the 342-pixel line.
    static QList<int> ButtonLefts(int count);

    // Window caption of a kind: "Atentie !", "Informatie", "Confirmare", else "Eroare".
    static QString CaptionOfKind(int kind);

    // Sets every element for one message (and sounds the beep of an error)
    // without showing the window; returns the number of buttons shown.
    int Prepare(const QString &title, const QString &text, int buttons, int kind);

    // Prepares the dialog, shows it modally and returns the result code of the
    // pressed button; 2 for Esc or the close box, and 2 without showing
    // anything when the mask selects no button.
    int Mesaj(const QString &title, const QString &text, int buttons, int kind);

    // The buttons BE1 … BE4 (Da, Nu, Renunt, OK).
    QPushButton *button(int index) const { return buttons_.at(index); }
    // The buttons shown by the last Prepare, in order.
    QList<QPushButton *> visibleButtons() const;
    QString title() const;
    QString text() const;
    // The two colours of both bands for the last kind.
    QColor bandFrom() const { return from_; }
    QColor bandTo() const { return to_; }

public slots:
    void reject() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *icon_;
    QLabel *title_;
    QLabel *text_;
    QList<QPushButton *> buttons_;
    QColor from_;
    QColor to_;
};

// The message dialog of this process, made on first use.
TErori *messageDialog();

// Shows the message with the process's one dialog (see TErori::Mesaj).
int Mesaj(const QString &title, const QString &text, int buttons, int kind);
