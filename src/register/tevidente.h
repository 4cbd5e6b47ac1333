// TEvidente, "Evidenta Cereri pentru afisarea ofertei": the clerk's register.
// The requests with their first seller, and below them the communications
// or offers and the other acts of the selected request; the search by seller
// and by number, the status of the selected file and the buttons of its life.
//
//   TEvidente window(qtPrompter());
//   window.OpenRegister();          // modal; the datasets close with it
//
// The window only collects, calls and refreshes: the operations live in
// RequestLifecycle and registerqueries.h, the rules of what is shown in
// registerstatus.h, the answers in AnswerOperations, the other acts in
// ActOperations and the closing of stages in StageClosing; the handlers are
// the slots named after their buttons.
#pragma once

#include "register/requestregister.h"

#include <QDate>
#include <QDialog>

#include <optional>

class BandedGrid;
class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTableView;
class QWidget;
class RequestsModel;
class TAddAltAct;
class TAddCerere;
class TAddComun;
class TAlegePree;

class TEvidente : public QDialog {
    Q_OBJECT
public:
    // `requestDialog` is the program's request dialog; null makes one.
    explicit TEvidente(Prompter &prompter, TAddCerere *requestDialog = nullptr, QWidget *parent = nullptr);

    // Opens the datasets on the last request and shows the window modally;
    // closes them afterwards.
    void OpenRegister();
    // The opening without the modal loop (also for headless use): seller
    // list, requests with their computed columns, the search, the last row.
    // A table that cannot be read is shown with its reason.
    void OpenDatasets();
    void CloseDatasets();
    // The day the deadlines are judged on (today unless set).
    void setToday(const QDate &today) { today_ = today; }
    QDate today() const { return today_.isValid() ? today_ : QDate::currentDate(); }

    // Operations that later work calls on the selected request.
    // STARE / PV1 of the selected request, then the register shown again.
    void SetState(int stare);
    void SetStage(bool stageTwo);
    // NR2PER of the next communication, offer or act of the selected request.
    int NextFileNumber() const;
    // The register shown again (reading only what changed), on request `id`
    // (the current one when 0).
    void RefreshRequests(qlonglong id = 0);
    // Refills the seller search list ("* indiferent *" first).
    void RefreshSellerList();

    // The selected request: its visible row (-1 when none) and ID (0).
    int currentRequestRow() const;
    qlonglong currentRequestId() const;
    RequestRegister &requests() { return requests_; }

    // Request area.
    QTableView *AxGrid;
    QComboBox *VanzatorC;
    QLineEdit *NrC;
    QPushButton *AddCerereB, *EditCerereB, *DelCerereB, *ListCerereB, *StopCB, *ReactivB;
    // Communications or offers: the grid of the selected request's stage.
    QLabel *ComTitleL;
    BandedGrid *BxGrid;
    QWidget *ComPanel;
    QPushButton *AddComunB, *EditComunB, *DelComunB, *PrintComunB;
    // Other acts.
    BandedGrid *CxGrid;
    QPushButton *AddAct, *EditAct, *DelAct, *ListAct;
    // Bottom bar.
    QWidget *StatusPanel;
    QLabel *NrSL, *StareL, *TotCerL;
    QPushButton *FinBut;
    QSplitter *Splitter;
    // The dialogs of an answer, of an other act and of the winner, made once.
    TAddComun *ComunDialog;
    TAddAltAct *ActDialog;
    TAlegePree *WinnerDialog;

public Q_SLOTS:
    void AddCerereBClick();
    void EditCerereBClick();
    void DelCerereBClick();
    void StopCBClick();
    void ReactivBClick();
    void ListCerereBClick();
    void AddComunBClick();
    void EditComunBClick();
    void DelComunBClick();
    void PrintComunBClick();
    // "Adauga Act": "Adresa sit arheologic" (true) or "Alte acte" (false).
    void AddActClick(bool archaeologicalSite);
    void EditActClick();
    void DelActClick();
    void ListActClick();
    void FinButClick();

private:
    QWidget *buildRequestArea();
    QWidget *buildAnswerArea();
    QWidget *buildActArea();
    QWidget *buildBottomBar();
    void AxAfterScroll();
    void refreshStatus(bool fromDataset);
    void applyStageCaptions(bool stageOne);
    void openChildren(qlonglong id, bool stageOne);
    void CxAfterScroll();
    void searchChanged();
    void showRequest(qlonglong id);
    // Runs an operation; a failure is shown with its reason and the register
    // is read again.
    void guarded(const std::function<void()> &operation);
    // IDC of the selected answer and IDA of the selected act (0 when none).
    qlonglong currentAnswerId() const;
    qlonglong currentActId() const;
    // The register shown again after a write of ours, on answer `idc` or act
    // `ida` when given.
    void showAfterWrite(qlonglong id, const std::optional<RequestChange> &change, qlonglong idc = 0,
                        qlonglong ida = 0);
    qlonglong chooseWinner(bool communications);
    Prompter &prompter_;
    TAddCerere *requestDialog_;
    RequestRegister requests_;
    RequestsModel *model_;
    // The answers grids of stage I (communications) and stage II (offers).
    BandedGrid *answerGrids_[2];
    QDate today_;
    bool open_ = false;
    // The guards that keep refreshes and filtering from nesting.
    int refreshCount_ = 0;
    int filterCount_ = 0;
    bool fillingSellers_ = false;
};
