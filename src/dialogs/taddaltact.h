// TAddAltAct ("Alte Acte"): the dialog in which one other act of a request,
// incoming or outgoing, is typed. The direction decides who is the unit:
// the emitent of an outgoing act, the addressee of an incoming one; the act
// types offered are those already registered in that direction. It checks
// the fields (CheckOtherAct) and leaves them for the register, which stores
// the line in AlteActe.
//
//   dialog.setNumber("12/9");
//   if (dialog.EditOtherAct(true)) store(dialog.otherActLine());
//
// Modify mode: ClearActFields, LoadOtherAct, lock what may not change
// (DataA, Modul, TipAct), then EditOtherAct(false).
#pragma once

#include "dialogs/answerlines.h"

#include <QDialog>
#include <QStringList>

class Prompter;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class TAddAltAct : public QDialog {
    Q_OBJECT
public:
    // `prompter` shows the balloons; null means the program's own.
    explicit TAddAltAct(QWidget *parent = nullptr, Prompter *prompter = nullptr);

    // The number shown beside "Numar Act".
    void setNumber(const QString &nr);

    // Dates := today, no dispatch date, texts emptied; the act types of each
    // direction read from AlteActe and the unit's name from the settings;
    // then the direction applied. Throws sqlstore::SqlError.
    void ClearActFields();

    // Add mode clears the fields first (a failure to read the lists is shown
    // and the dialog is not opened). Focus on the first field; modal; true
    // when saved. The act-type lists are let go when it closes.
    bool EditOtherAct(bool add);

    // A stored act into the fields: the direction first, so its switch does
    // not empty what follows; a dispatch date after day 10000 checks the box.
    void LoadOtherAct(const OtherActLine &line);
    // The fields as shown; without the box checked, dataExp is what the
    // picker shows (the check turns it into NoDispatchDate()).
    OtherActLine otherActLine() const;

    QList<QWidget *> enterOrder() const;

    QLabel *TitleL;
    QLabel *NrL;
    QDateEdit *DataA;
    QLabel *DataExpL;
    QCheckBox *DataExpOk;
    QDateEdit *DataExp;
    QComboBox *Modul;
    QLineEdit *Emitent;
    QLineEdit *Destinatar;
    QComboBox *TipAct;
    QLineEdit *Detalii;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

private:
    void MemoButClick();
    void ModulChange();
    void DataExpOkClick();

    Prompter *prompter_;
    QString unitName_;
    QStringList incomingTypes_;
    QStringList outgoingTypes_;
    bool saved_ = false;
};
