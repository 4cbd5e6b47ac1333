// TAddPree: the dialog in which one pre-emption holder line of a request is
// typed or changed. It checks the line (CheckHolderLine) and returns its
// fields; the request dialog writes the line into its working holder table.
//
//   dialog.setNameTaken([&](const QString &n) { return HolderNameExists(tables, n, 0); });
//   if (dialog.EditHolder(QString())) AddHolderLine(tables, dialog.holderLine(), requestId);
#pragma once

#include "dialogs/requestlines.h"

#include <QDialog>

#include <functional>

class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TNumericF;

class TAddPree : public QDialog {
    Q_OBJECT
public:
    explicit TAddPree(QWidget *parent = nullptr, Prompter *prompter = nullptr);

    // Add mode for an empty id (the fields cleared), else modify mode for
    // that line (the caller has filled the fields). Placed on the bottom-left
    // corner of `anchor` when given. True when saved.
    bool EditHolder(const QString &holderId, QWidget *anchor = nullptr);

    // Empties the fields but keeps the person kind; rank I, no mail.
    void ClearHolderFields();

    // Fields from a stored line and back.
    void LoadHolderLine(const HolderLine &line);
    HolderLine holderLine(const HolderLine &base = HolderLine()) const;

    // Whether another line of the request carries a name (the holder being
    // modified left out); asked by the duplicate check.
    void setNameTaken(std::function<bool(const QString &name, qlonglong exceptIdp)> taken)
    {
        nameTaken_ = std::move(taken);
    }

    QList<QWidget *> enterOrder() const;

    QLabel *TitleL;
    QComboBox *Rang;
    QComboBox *TipPF;
    QLineEdit *Nume;
    QLineEdit *CNP;
    QLineEdit *RC;
    QLineEdit *Adresa;
    TNumericF *CodPostal;
    QLineEdit *Email;
    QLineEdit *Tel;
    QCheckBox *Posta;
    QLabel *NoteL;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

private:
    void MemoButClick();
    void RangChange();
    void PostaClick();

    Prompter *prompter_;
    QString holderId_;
    bool saved_ = false;
    std::function<bool(const QString &, qlonglong)> nameTaken_;
};
