// TPerSelect, "Rapoarte": the period of a report, asked before the register
// spreadsheet is written.
//
//     TPerSelect &dialog = periodDialog();
//     if (dialog.AskPeriod("Registru de Evidenta"))
//         write(dialog.Data0->date(), dialog.Data1->date());
//
// The dates start at one month back and today when the dialog is first made,
// and keep what the clerk last chose for the rest of the run.
#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

class TPerSelect : public QDialog {
    Q_OBJECT
public:
    explicit TPerSelect(QWidget *parent = nullptr);

    // TitluL := title, focus on Data0, modal; true after an accepted "&Am ales".
    bool AskPeriod(const QString &title);

    QLabel *TitluL;
    QDateEdit *Data0;
    QDateEdit *Data1;
    QPushButton *MemoBut;
    QPushButton *RenuntB;

public slots:
    // "&Am ales": accepted when "pana la" is not before "incepand cu".
    void MemoButClick();

private:
    void FormCreate();
};

// The period dialog of this run, made on first use.
TPerSelect &periodDialog();
