// TAddComun: the dialog in which one acceptance communication of a
// pre-emption holder (stage I) or one purchase offer of a potential buyer
// (stage II) is typed. It checks the fields (CheckAnswer) and leaves them for
// the register, which stores the line in Comunicari.
//
//   dialog.SetAnswerKind(true);          // a communication: rank and "Alege din Cerere"
//   dialog.setNumber("12/8");
//   dialog.setCurrentRequest(requestId);
//   dialog.ClearCommunicationFields();
//   if (dialog.EditCommunication(true, requestPrice)) store(dialog.answerLine());
//
// In modify mode the register fills the fields from the stored line
// (LoadAnswer) before EditCommunication(false, ...): the price field then
// shows the answer's own price, the request's price being only the minimum.
#pragma once

#include "dialogs/answerlines.h"

#include <QDialog>

class Prompter;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class TCNPEdit;
class TNumericF;
class TSelPreeF;

class TAddComun : public QDialog {
    Q_OBJECT
public:
    // `prompter` shows the balloons; null means the program's own.
    explicit TAddComun(QWidget *parent = nullptr, Prompter *prompter = nullptr);

    // A communication ("Comunicare de acceptare", with rank and "Alege din
    // Cerere") or an offer ("Oferta de cumparare").
    void SetAnswerKind(bool communication);
    bool isCommunication() const { return communication_; }

    // The number shown beside "Numar Comunicare" / "Numar Oferta".
    void setNumber(const QString &nr);
    // The request whose holders "Alege din Cerere" offers.
    void setCurrentRequest(const QString &requestId) { requestId_ = requestId; }

    // Dates := today; buyer, code, place and address emptied. Person kind,
    // rank and price stay as they were.
    void ClearCommunicationFields();

    // Add mode puts the minimum price in the price field; modify mode keeps
    // the price the caller loaded. Either way a lower price is refused.
    // Focus on DataC; modal; true when saved.
    bool EditCommunication(bool add, double minimumPrice);

    void LoadAnswer(const AnswerLine &line);
    AnswerLine answerLine() const;

    QList<QWidget *> enterOrder() const;

    QLabel *TitleL;
    QLabel *NrCaptionL;
    QLabel *NrL;
    QDateEdit *DataC;
    QDateEdit *DataAfis;
    QComboBox *TipPF;
    QLabel *RangL;
    QComboBox *Rang;
    QPushButton *SelPree;
    QLineEdit *Cumparator;
    TCNPEdit *CNPCUI;
    QLineEdit *Loc;
    QLineEdit *Adresa;
    TNumericF *Pret;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

private:
    void MemoButClick();
    void SelPreeClick();

    Prompter *prompter_;
    TSelPreeF *holders_ = nullptr;
    QString requestId_;
    double minimumPrice_ = 0;
    bool communication_ = true;
    bool saved_ = false;
};
