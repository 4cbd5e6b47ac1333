// The main window's "Liste / Formulare" -> "Registrul de evidenta" entries:
// the period is asked under "Registru de Evidenta", and the chosen format is
// written and opened; cancelling the period writes nothing.
#include "admin/tform4.h"
#include "app/mainwindow.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "platform/session.h"
#include "reports/export/tperselect.h"
#include "scriptedprompter.h"
#include "startupfixture.h"
#include "xlsreaders.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QAction *registerEntry(QMenu *menu, const QString &format)
{
    for (QAction *a : menu->actions())
        if (a->menu() && a->text() == "Registrul de evidenta")
            for (QAction *entry : a->menu()->actions())
                if (entry->text() == format)
                    return entry;
    return nullptr;
}

} // namespace

TEST(RegisterMenu, FormatEntriesAskThePeriodThenWriteAndOpenTheRegister)
{
    ProgramFolderFixture program;
    CreateTables();
    WriteSetting("CONST", "UNITATE", "PRIMARIA MENIU");
    const QString script = program.file("open.sh");
    QFile s(script);
    ASSERT_TRUE(s.open(QIODevice::WriteOnly));
    s.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$0.log\"\n");
    s.close();
    s.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("ARVENA3_OPEN", QFile::encodeName(script));

    ScriptedPrompter prompter;
    ScriptedPasswordAsker asker;
    TForm4 administration{nullptr, &prompter};
    TForm3 main{prompter, asker, administration};
    QAction *format1 = registerEntry(main.Menu1, "Format 1");
    QAction *format2 = registerEntry(main.Menu1, "Format 2");
    ASSERT_TRUE(format1 && format2);
    EXPECT_EQ(main.Menu1->actions().first()->text(), "Registrul de evidenta");

    TPerSelect &period = periodDialog();
    QString heading;
    QTimer::singleShot(0, &period, [&] {
        heading = period.TitluL->text();
        period.Data0->setDate(QDate(2024, 1, 1));
        period.Data1->setDate(QDate(2024, 12, 31));
        period.MemoBut->click();
    });
    format1->trigger();
    qunsetenv("ARVENA3_OPEN");
    EXPECT_EQ(heading, "Registru de Evidenta");
    EXPECT_TRUE(prompter.questions.isEmpty()) << prompter.questions.value(0).text.toStdString();
    QFile log(script + ".log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString opened = QString::fromUtf8(log.readAll()).trimmed();
    EXPECT_EQ(QFileInfo(opened).fileName(), "Tmp0.xls");
    const QJsonObject x = xlsreaders::readWithXlrd(opened);
    EXPECT_EQ(xlsreaders::xlrdText(x, 0, 0), "PRIMARIA MENIU");
    EXPECT_EQ(xlsreaders::xlrdText(x, 5, 8), "perioada 01.01.2024 - 31.12.2024");

    QTimer::singleShot(0, &period, [&] { period.RenuntB->click(); });
    format2->trigger();
    EXPECT_EQ(QDir(session().programFolder).entryList({"Tmp*.xls"}), QStringList({"Tmp0.xls"}));
}
