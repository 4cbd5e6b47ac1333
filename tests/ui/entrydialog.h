// A small entry dialog for the window tests: two fields, a check box, a
// note, a combo box and the save button, its default button.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

struct EntryDialog {
    QDialog dialog;
    QLineEdit *name = new QLineEdit(&dialog);
    QLineEdit *cnp = new QLineEdit(&dialog);
    QCheckBox *mandatar = new QCheckBox("Mandatar", &dialog);
    QPlainTextEdit *note = new QPlainTextEdit(&dialog);
    QComboBox *county = new QComboBox(&dialog);
    QPushButton *save = new QPushButton("&Salveaza", &dialog);
    int saved = 0;

    EntryDialog()
    {
        auto *layout = new QVBoxLayout(&dialog);
        for (QWidget *w : std::initializer_list<QWidget *>{name, cnp, mandatar, note, county, save})
            layout->addWidget(w);
        cnp->setObjectName("CnpE");
        county->addItems({"Alba", "Arad"});
        save->setDefault(true);
        QObject::connect(save, &QPushButton::clicked, [this] { ++saved; });
        dialog.resize(320, 260);
    }
    void show()
    {
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        name->setFocus();
    }
};
