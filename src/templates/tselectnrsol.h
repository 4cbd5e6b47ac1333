// TSelectNrSol, "Numar solicitanti": how many applicants a request form is
// made for, asked before a blank form for several applicants is built.
//
//     TSelectNrSol dialog(mainWindow);
//     if (dialog.AskApplicantCount())
//         build(dialog.NrSolicit->currentIndex() + 1);
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

class TSelectNrSol : public QDialog {
    Q_OBJECT
public:
    explicit TSelectNrSol(QWidget *parent = nullptr);

    // Focus on the list, shown modally; true after "&Am ales". The chosen
    // position stays in NrSolicit (0 means one applicant).
    bool AskApplicantCount();

    // The number of applicants chosen: 1 to 6.
    int applicants() const;

    QComboBox *NrSolicit;
    QPushButton *AmAlesB;
    QPushButton *RenuntB;

protected:
    // The window closes only through its buttons or its close box.
    void keyPressEvent(QKeyEvent *event) override;
};
