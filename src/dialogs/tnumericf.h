// TNumericF: the one-line field in which the clerk types a number. Keys are
// judged by ApplyNumericKey (dialogs/numericrules.h) under two limits, the
// most integer digits and the most decimals; a refused key beeps. Entering
// the field selects its whole text.
//
//   auto *pret = new TNumericF(10, 2, this);   // at most 10 integer digits, 2 decimals
//   pret->setText("0");
//   double value = pret->value();
#pragma once

#include <QLineEdit>

class TNumericF : public QLineEdit {
    Q_OBJECT
public:
    TNumericF(int maskInt, int maskZec, QWidget *parent = nullptr);

    int maskInt() const { return maskInt_; }
    int maskZec() const { return maskZec_; }

    // The number the text holds (0 when it is not one).
    double value() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    int maskInt_;
    int maskZec_;
};
