#include "templates/tselectnrsol.h"

#include "ui/dialogkeys.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TSelectNrSol::TSelectNrSol(QWidget *parent) : QDialog(parent)
{
    setObjectName("TSelectNrSol");
    setWindowTitle("Numar solicitanti");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *label = new QLabel("Numarul de solicitanti", this);
    NrSolicit = new QComboBox(this);
    NrSolicit->setObjectName("NrSolicit");
    NrSolicit->addItems({"1", "2", "3", "4", "5", "6"});
    NrSolicit->setCurrentIndex(0);
    label->setBuddy(NrSolicit);

    AmAlesB = new QPushButton("&Am ales", this);
    AmAlesB->setObjectName("AmAlesB");
    RenuntB = new QPushButton("&Renunt", this);
    RenuntB->setObjectName("RenuntB");
    connect(AmAlesB, &QPushButton::clicked, this, &QDialog::accept);
    connect(RenuntB, &QPushButton::clicked, this, &QDialog::reject);

    auto *field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(NrSolicit);
    auto *footer = new QHBoxLayout;
    footer->addStretch();
    footer->addWidget(AmAlesB);
    footer->addWidget(RenuntB);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addStretch();
    layout->addLayout(footer);
    setFixedSize(280, 110);

    AdoptDialogKeys(this, DialogKey::EnterMovesNext);
}

bool TSelectNrSol::AskApplicantCount()
{
    NrSolicit->setFocus();
    return exec() == QDialog::Accepted;
}

int TSelectNrSol::applicants() const
{
    return NrSolicit->currentIndex() + 1;
}

void TSelectNrSol::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
