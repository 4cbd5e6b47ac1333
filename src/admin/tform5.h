// The login dialog "Autentificare": one masked field for the administrator
// password, confirmed with "&Verifica" or Enter, dismissed with "&Inchide" or Esc.
#pragma once

#include "admin/password.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm5 : public QDialog, public PasswordAsker {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    // Clears the field, shows the dialog modally and returns whether the entry
    // was confirmed; the typed text is then in `password`.
    bool InputQuery2(QString &password) override;

    QLineEdit *passwordEdit() const { return PassE; }
    QPushButton *verifyButton() const { return VerificaB; }
    QPushButton *closeButton() const { return InchideB; }

private:
    QLabel *PromptL;
    QLineEdit *PassE;
    QPushButton *VerificaB;
    QPushButton *InchideB;
};
