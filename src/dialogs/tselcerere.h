// TSelCerere ("Copiere Preemptori"): chooses another request whose holders
// are copied into the request being typed. The upper grid lists the requests
// with their first seller, newest first; the lower one the holders of the
// request the clerk stands on.
#pragma once

#include <QDialog>

class BandedGrid;
class Prompter;
class QLabel;
class QPushButton;

class TSelCerere : public QDialog {
    Q_OBJECT
public:
    explicit TSelCerere(QWidget *parent = nullptr, Prompter *prompter = nullptr);

    // Lists every request but `requestId` ("-1" lists them all). When none
    // is listed, reports it and returns false. True when the clerk chose
    // one ("&Am ales", Enter or a double click in the request grid), with
    // its id in `chosenId`. Throws sqlstore::SqlError.
    bool ChooseSourceRequest(const QString &requestId, QString &chosenId);

    QLabel *TitleL;
    BandedGrid *Ax;
    BandedGrid *Px;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

private:
    void MemoButClick();
    void AxAfterScroll(int row);
    bool eventFilter(QObject *watched, QEvent *event) override;

    Prompter *prompter_;
    QString chosenId_;
};
