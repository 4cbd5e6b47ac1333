// The period dialog: its first dates, the refusal of a period that ends
// before it starts, and a screenshot for a person to look at.
#include "reports/export/tperselect.h"
#include "testsupport.h"
#include "ui/tballoon.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(TPerSelect, StartsAMonthBackAndRefusesAnEndBeforeTheStart)
{
    TPerSelect &dialog = periodDialog();
    EXPECT_EQ(dialog.windowTitle(), "Rapoarte");
    EXPECT_EQ(dialog.Data1->date(), QDate::currentDate());
    EXPECT_EQ(dialog.Data0->date(), QDate::currentDate().addMonths(-1));

    dialog.Data0->setDate(QDate(2024, 3, 10));
    dialog.Data1->setDate(QDate(2024, 3, 9));
    bool refusedWhileOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.grab().save(testsupport::outputFolder("reports") + "/tperselect.png");
        dialog.MemoBut->click();
        refusedWhileOpen = dialog.isVisible() && balloon()->isVisible()
                           && balloon()->text() == "Perioada incorecta!";
        dialog.Data1->setDate(QDate(2024, 3, 10)); // the same day is a period
        dialog.MemoBut->click();
    });
    EXPECT_TRUE(dialog.AskPeriod("Registru de Evidenta"));
    EXPECT_TRUE(refusedWhileOpen);
    EXPECT_EQ(dialog.TitluL->text(), "Registru de Evidenta");

    // The dates chosen stay for the next opening; Renunt and Esc cancel.
    QTimer::singleShot(0, &dialog, [&] { dialog.RenuntB->click(); });
    EXPECT_FALSE(dialog.AskPeriod("Registru de Evidenta"));
    EXPECT_EQ(dialog.Data0->date(), QDate(2024, 3, 10));
    EXPECT_EQ(dialog.Data1->date(), QDate(2024, 3, 10));
    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    EXPECT_FALSE(dialog.AskPeriod("Registru de Evidenta"));

}
