// Shared by the dialog tests: a private program folder with empty tables,
// acting on the modal window that opens next, and screenshots for a person.
#pragma once

#include "datastore/schema.h"
#include "scriptedprompter.h"
#include "startupfixture.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

// Runs `action` on the modal window that opens next (after the current one,
// when `above` is given: the window shown on top of it).
inline void whenModalOpens(std::function<void(QWidget *)> action, QWidget *above = nullptr)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [action, above, attempt](int tries) {
        QWidget *modal = QApplication::activeModalWidget();
        if ((!modal || modal == above) && tries > 0) {
            QTimer::singleShot(10, [attempt, tries] { (*attempt)(tries - 1); });
            return;
        }
        ASSERT_NE(modal, nullptr);
        ASSERT_NE(modal, above);
        action(modal);
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(500); });
}

template <class Dialog>
void whenDialogOpens(std::function<void(Dialog *)> action, QWidget *above = nullptr)
{
    whenModalOpens([action](QWidget *w) {
        auto *dialog = qobject_cast<Dialog *>(w);
        ASSERT_NE(dialog, nullptr) << w->objectName().toStdString();
        action(dialog);
    }, above);
}

inline void saveScreenshot(QWidget *window, const QString &name)
{
    const QString path = testsupport::outputFolder(QStringLiteral("dialogs")) + QLatin1Char('/') + name + QStringLiteral(".png");
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
    EXPECT_LE(window->frameGeometry().width(), 1366) << name.toStdString();
    EXPECT_LE(window->frameGeometry().height(), 768) << name.toStdString();
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session().workstationUser = QStringLiteral("PC1 - clerk");
        CreateTables();
    }

    ProgramFolderFixture folder;
    ScriptedPrompter prompter;
};
