// TAddCerere: the dialog in which the clerk types a request to display a sale
// offer: its date and file number, the kind of seller, the sellers with their
// mandataries (TAltiVanz), the land, the conditions and the pre-emption
// holders (TAddPree, TSelCerere). It never writes the main tables: it works
// on two working tables of its own (dialogs/workingtables.h), checks the
// entry when the clerk saves (CheckRequest) and returns saved or cancelled.
// On saved the register reads the fields, copies the working tables into
// Vanzatori and Preemptori and drops them (DropTables); on cancel, and when
// the dialog goes away with the program, the dialog drops them itself.
//
//   TAddCerere dialog;
//   if (dialog.OpenRequestDialog("-1", true)) {
//       RequestFields f = dialog.requestFields();
//       QString share = dialog.ShareText();
//       ... copy dialog.workingTables() ...
//       dialog.DropTables();
//   }
#pragma once

#include "dialogs/requestchecks.h"
#include "dialogs/workingtables.h"

#include <QDialog>

class BandedGrid;
class Prompter;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TAddPree;
class TAltiVanz;
class TNumericF;
class TSelCerere;

class TAddCerere : public QDialog {
    Q_OBJECT
public:
    // The sub-dialogs and the prompter may be given (the program creates each
    // once); null means the dialog makes its own, or the program's prompter.
    explicit TAddCerere(QWidget *parent = nullptr, Prompter *prompter = nullptr, TAltiVanz *sellerDialog = nullptr,
                        TAddPree *holderDialog = nullptr, TSelCerere *requestChooser = nullptr);
    ~TAddCerere() override;

    // Request id "-1" opens a new request; any other id the request with that
    // ID, whose fields the caller has put in (see fillFromRequest). True when
    // the clerk saved; the working tables are then the caller's.
    bool OpenRequestDialog(const QString &requestId, bool mayChangeHolders);

    // The fields of an existing request, as the caller puts them before
    // opening: the share through SetShareText, the lists by their items.
    void fillFromRequest(const RequestFields &fields, const QString &storedShare);

    // The fields as shown.
    RequestFields requestFields() const;

    bool ShareIsValid() const;
    double ShareFraction() const;
    // Rewrites the two share fields in their normal form (which recomputes
    // CotaParteS when a text changes) and returns "numerator/denominator".
    QString ShareText();
    void SetShareText(const QString &text);

    // After a true return: the number of holder lines and the two tables.
    int holderCount() const { return holderCount_; }
    const WorkingTables &workingTables() const { return tables_; }
    // Deletes the working tables once the caller has copied them.
    void DropTables();

    // The fields of a tab in Enter order.
    QList<QWidget *> enterOrder(int tab) const;

    TAltiVanz *sellerDialog() const { return sellers_; }
    TAddPree *holderDialog() const { return holders_; }
    TSelCerere *requestChooser() const { return chooser_; }

    QLabel *TitleL;
    QTabWidget *Pages;
    // "Cerere"
    QLabel *Nr;
    QDateEdit *DataC;
    QLineEdit *NrDosar;
    QComboBox *TipPFV;
    QLabel *NrV;
    QComboBox *Litigii;
    QComboBox *Grevat;
    QComboBox *FaraContr;
    QPlainTextEdit *Conditii;
    // "Vanzatori"
    BandedGrid *Vx;
    QPushButton *AddVanzB;
    QPushButton *EditVanzB;
    QPushButton *DelVanzB;
    QPushButton *AddAllB;
    // "Teren"
    TNumericF *Supraf;
    TNumericF *Cota1;
    TNumericF *Cota2;
    TNumericF *CotaParteS;
    TNumericF *Pret;
    QLineEdit *NrCAD;
    QLineEdit *NrCarte;
    QLineEdit *Tarla;
    QLineEdit *NrTarla;
    QLineEdit *NrParc;
    QComboBox *Categ;
    QLineEdit *Functionar;
    // "Preemptori"
    BandedGrid *Px;
    QPushButton *AddB;
    QPushButton *EditB;
    QPushButton *DelB;
    QPushButton *AddAllPreB;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

private:
    QWidget *makeRequestTab();
    QWidget *makeSellerTab();
    QWidget *makeLandTab();
    QWidget *makeHolderTab();
    void ResetRequestFields();
    void MemoButClick();
    void AddVanzBClick();
    void EditVanzBClick();
    void DelVanzBClick();
    void AddAllBClick();
    void AddBClick();
    void EditBClick();
    void DelBClick();
    void AddAllPreBClick();
    void SuprafChange();
    void SetBut();
    void SetButV();
    void openSellerGrid(const QVariant &idv = QVariant(), bool last = false);
    void openHolderGrid(const QVariant &idp = QVariant(), bool last = false);
    void showRequestFields(const RequestFields &fields);
    // Runs a step that reads or writes the tables; a failure is shown with
    // the engine's message and the dialog stays open.
    void guarded(const std::function<void()> &step);
    Prompter &prompter() const;

    Prompter *prompter_;
    TAltiVanz *sellers_;
    TAddPree *holders_;
    TSelCerere *chooser_;
    QString requestId_ = QStringLiteral("-1");
    bool mayChangeHolders_ = true;
    WorkingTables tables_;
    int holderCount_ = 0;
    bool saved_ = false;
};
