#include "admin/tform5.h"

#include "ui/dialogkeys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm5::TForm5(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Autentificare"));
    setObjectName(QStringLiteral("TForm5"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    PromptL = new QLabel(QStringLiteral("Introduceti parola"), this);
    PassE = new QLineEdit(this);
    PassE->setObjectName(QStringLiteral("PassE"));
    PassE->setEchoMode(QLineEdit::Password);
    // The field shows one "*" per character, whatever the style would use.
    PassE->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    PassE->setMinimumWidth(240);

    VerificaB = new QPushButton(QStringLiteral("&Verifica"), this);
    VerificaB->setObjectName(QStringLiteral("VerificaB"));
    VerificaB->setDefault(true);
    InchideB = new QPushButton(QStringLiteral("&Inchide"), this);
    InchideB->setObjectName(QStringLiteral("InchideB"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(VerificaB);
    buttons->addWidget(InchideB);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addWidget(PromptL);
    layout->addWidget(PassE);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(VerificaB, &QPushButton::clicked, this, &QDialog::accept);
    connect(InchideB, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the field confirms, so only Esc takes the shared convention.
    connect(PassE, &QLineEdit::returnPressed, this, &QDialog::accept);
    AdoptDialogKeys(this, DialogKey::EscCloses);
    setFixedSize(sizeHint());
}

bool TForm5::InputQuery2(QString &password)
{
    PassE->clear();
    PassE->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    password = PassE->text();
    return true;
}
