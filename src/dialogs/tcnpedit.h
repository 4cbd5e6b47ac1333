// TCNPEdit: the field in which the dialogs take a personal numeric code. The
// clerk can only type digits into it (see ApplyCnpKey in dialogs/cnprules.h);
// a code put in by the program is taken unchanged. It tells whether the code
// is correct by its own rule and the birth date and sex the code carries.
#pragma once

#include <QDate>
#include <QLineEdit>

class TCNPEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TCNPEdit(QWidget *parent = nullptr);

    // Whether an empty field counts as correct; false in every window.
    bool AcceptGol = false;

    bool Corect() const;
    QDate NascutLa() const;
    QString Sex() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};
