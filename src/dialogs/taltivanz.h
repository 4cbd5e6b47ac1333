// TAltiVanz: the dialog in which one seller line of a request is typed, the
// seller with identity document and telephone and, optionally, the
// mandatary who acts for the seller. It offers the sellers of earlier
// requests and, in add mode, starts from the last seller added. It only
// edits, checks and returns its fields; the request dialog writes the line.
//
//   TAltiVanz dialog;
//   if (dialog.EditSeller(true, naturalPerson))
//       AddSellerLine(tables, dialog.sellerLine());
#pragma once

#include "dialogs/requestlines.h"
#include "dialogs/sellerhistory.h"

#include <QDialog>
#include <QList>

class Prompter;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class TCNPEdit;
class TNumericF;

class TAltiVanz : public QDialog {
    Q_OBJECT
public:
    // `prompter` shows the balloons; null means the program's own.
    explicit TAltiVanz(QWidget *parent = nullptr, Prompter *prompter = nullptr);

    // Shows the dialog modally; true when the clerk saved. In modify mode the
    // caller has cleared and filled the fields first (ClearSellerFields,
    // LoadSellerLine). In add mode a saved line becomes the last seller.
    bool EditSeller(bool add, bool naturalPerson);

    // Empties every field; counties := the administration's, dates := today,
    // the list of earlier mandatary capacities read anew.
    void ClearSellerFields();

    // Puts a stored line into the fields, as "Modifica Vanzator" does.
    void LoadSellerLine(const SellerLine &line);

    // The fields as shown (ids and NRCRT of `base` are kept).
    SellerLine sellerLine(const SellerLine &base = SellerLine()) const;

    // The earlier-seller list of the last opening, parallel to Vanzator's items.
    const QList<EarlierSeller> &earlierSellers() const { return earlier_; }

    QLabel *TitleL;
    QComboBox *Vanzator;
    QLineEdit *CNPCUI;
    QLineEdit *LocV;
    QLineEdit *Adresa;
    QComboBox *Judet;
    QComboBox *BI;
    QLineEdit *BISeria;
    QLineEdit *BINR;
    QLineEdit *BIElib;
    QDateEdit *BIData;
    QLineEdit *Tel;
    QPushButton *ClearAllB;
    QLineEdit *Mandatar;
    QComboBox *MCalitate;
    QLineEdit *MConform;
    TCNPEdit *MCNPCUI;
    QLineEdit *MLocV;
    QLineEdit *MAdresa;
    QComboBox *MJudet;
    TNumericF *MCodPost;
    QComboBox *MBI;
    QLineEdit *MBISeria;
    QLineEdit *MBINr;
    QLineEdit *MBIElib;
    QDateEdit *MBIData;
    QLineEdit *Mtel;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

    // The fields in Enter order.
    QList<QWidget *> enterOrder() const;

private:
    void MemoButClick();
    void ClearAllClick();
    void VanzatorChange(int index);
    void loadEarlierSellers();
    void fillMandataryCapacities();
    void showLastSeller();
    void showLine(const SellerLine &line, bool countiesByItem);

    Prompter *prompter_;
    bool add_ = true;
    bool naturalPerson_ = true;
    bool saved_ = false;
    // Set while the dialog itself fills fields, so no choice is acted on.
    bool filling_ = false;
    QList<EarlierSeller> earlier_;
};
