#include "ui/tballoon.h"
#include "ui/dialogkeys.h"
#include "ui/tcontor.h"
#include "ui/tform1.h"
#include "platform/version.h"
#include "entrydialog.h"
#include "testsupport.h"
#include "qtprint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(Balloon, ProblemPointsAtTheFieldAndGoesAfterFiveSeconds)
{
    EntryDialog e;
    e.show();
    ShowProblem("CNP incorect!", e.cnp);
    TBalloon *b = balloon();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->title(), "Problema !");
    EXPECT_EQ(b->text(), "CNP incorect!");
    EXPECT_EQ(b->tip(), e.cnp->mapToGlobal(QPoint(10, 10)));
    EXPECT_EQ(b->width(), 300);
    EXPECT_TRUE(b->hideTimer()->isActive());
    EXPECT_EQ(b->hideTimer()->interval(), 5000);
    // The field keeps the focus, so the clerk can correct it at once.
    EXPECT_EQ(QApplication::activeWindow(), &e.dialog);

    ShowIndication("Alegeti intai o cerere din lista", e.save);
    EXPECT_EQ(b->title(), "Indicatie");
    EXPECT_EQ(b->tip(), e.save->mapToGlobal(QPoint(10, 10)));
    // The timer's end hides it.
    QMetaObject::invokeMethod(b->hideTimer(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(b->isVisible());
}

TEST(Balloon, Screenshot)
{
    EntryDialog e;
    e.dialog.resize(340, 300);
    e.show();
    ShowProblem("Perioada incorecta! Data de sfarsit este inaintea datei de inceput.", e.cnp);
    TBalloon *b = balloon();
    // The dialog with the balloon over it, as the clerk sees them.
    QPixmap shot(e.dialog.size().grownBy(QMargins(0, 0, 40, 40)));
    shot.fill(Qt::darkGray);
    QPainter p(&shot);
    p.drawPixmap(0, 0, e.dialog.grab());
    p.drawPixmap(e.dialog.mapFromGlobal(b->pos()), b->grab());
    p.end();
    const QString path = testsupport::outputFolder("foundation") + "/balon-problema.png";
    EXPECT_TRUE(shot.save(path));
    b->hide();
}

TEST(ProgressWindow, DisablesTheActiveWindowAndGivesItBack)
{
    EntryDialog e;
    e.show();
    e.cnp->setFocus();
    TContor *c = progressWindow();
    c->setDescription("Creez Registrul ...");
    c->setMaximum(3);
    c->ProgressBegin();
    EXPECT_TRUE(c->isVisible());
    EXPECT_EQ(c->rememberedWindow(), &e.dialog);
    EXPECT_FALSE(e.dialog.isEnabled());
    EXPECT_EQ(e.dialog.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(c->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(c->geometry().center(), e.dialog.frameGeometry().center());
    EXPECT_EQ(c->description(), "Creez Registrul ...");

    for (int i = 0; i < 5; ++i)
        c->ProgressStep();
    EXPECT_EQ(c->position(), 3);
    // A second begin starts the bar again without remembering itself.
    c->ProgressBegin();
    EXPECT_EQ(c->position(), 0);
    EXPECT_EQ(c->rememberedWindow(), &e.dialog);

    c->ProgressEnd();
    EXPECT_FALSE(c->isVisible());
    EXPECT_TRUE(e.dialog.isEnabled());
    EXPECT_EQ(e.dialog.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&e.dialog));
    EXPECT_EQ(QApplication::focusWidget(), e.cnp);
    // Ending again does nothing.
    c->ProgressEnd();
    EXPECT_TRUE(e.dialog.isEnabled());
}

TEST(StartWindow, CaptionsAndLook)
{
    TForm1 w;
    EXPECT_EQ(w.windowTitle(), "Start...");
    EXPECT_EQ(w.titleText(), "Arvena.3/2014 - Vanzari teren extravilan");
    EXPECT_EQ(w.status(), "Incarcare date");
    EXPECT_EQ(w.versionText(), "ver. 1.0034");
    EXPECT_EQ(w.versionShadow()->text(), "ver. 1.0034");
    EXPECT_EQ(w.versionShadow()->pos(), w.versionLabel()->pos() + QPoint(2, 2));
    EXPECT_EQ(w.versionLabel()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(w.versionShadow()->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    EXPECT_EQ(w.progressBar()->maximum(), 100);
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.grab().save(testsupport::outputFolder("foundation") + "/start.png"));
}

TEST(StartWindow, VersionLabelText)
{
    const struct {
        double version;
        const char *text;
    } cases[] = {{1.0034, "ver. 1.0034"}, {1.1, "ver. 1.1000"}, {2.5, "ver. 2.5000"}, {1.12345, "ver. 1.12345"}, {2, "ver. 2.0000"}};
    for (const auto &c : cases)
        EXPECT_EQ(TForm1::VersionLabelText(c.version), QString(c.text)) << c.version;
    EXPECT_EQ(VersionText(), "1.0034");
}

TEST(StartWindow, TimerRunsTheStepsOnceAfterTheFirstShow)
{
    TForm1 w;
    int runs = 0;
    w.setStartupSteps([&runs, &w] {
        ++runs;
        w.setStatus("Verific baza de date ...");
    });
    EXPECT_FALSE(w.startTimer()->isActive());
    w.show();
    EXPECT_TRUE(w.startTimer()->isActive());
    EXPECT_TRUE(w.startTimer()->isSingleShot());
    EXPECT_EQ(w.startTimer()->interval(), 1000);
    QMetaObject::invokeMethod(w.startTimer(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(w.startTimer()->isActive());
    w.hide();
    w.show();
    QMetaObject::invokeMethod(w.startTimer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(w.status(), "Verific baza de date ...");
}
