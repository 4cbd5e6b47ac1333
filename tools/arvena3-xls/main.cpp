// arvena3-xls: the register spreadsheet of a period, without a window.
//
//     arvena3-xls --data DIR --format 1|2 --from dd.MM.yyyy --to dd.MM.yyyy --out FILE.xls [--template FILE.xls]
//
// Writes the register as the menu entry "Format 1" or "Format 2" would, from
// the tables and the settings of DIR, with the program's own template unless
// --template names another workbook that follows the same contract. Opens
// nothing. Scratch files go to a private folder that is removed at the end.
// The exit status is 0 only when the workbook was written; the reason of a
// failure goes to stderr in one line.
#include "platform/prompter.h"
#include "platform/session.h"
#include "reports/export/registerspreadsheets.h"

#include "tooloptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// No clerk to ask: progress is not shown and no question is answered "Da".
class QuietPrompter : public Prompter {
public:
    int Mesaj(const QString &, const QString &, int, int) override { return ResultCancel; }
    void ShowProblem(const QString &, QWidget *) override {}
    void ShowIndication(const QString &, QWidget *) override {}
    void ProgressBegin(const QString &, int) override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
};

int usage()
{
    std::fprintf(stderr, "folosire: arvena3-xls --data DOSAR --format 1|2 --from zz.ll.aaaa --to zz.ll.aaaa"
                         " --out FISIER.xls [--template MODEL.xls]\n");
    return 2;
}

int fail(const QString &reason)
{
    return tools::Fail("arvena3-xls", reason);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QHash<QString, QString> options;
    if (!tools::ReadOptions(args, &options)
        || !tools::HasOptions(options, {QStringLiteral("data"), QStringLiteral("format"), QStringLiteral("from"),
                                        QStringLiteral("to"), QStringLiteral("out")}))
        return usage();

    const QString dataFolder = QDir(options.value(QStringLiteral("data"))).absolutePath();
    if (!QDir(dataFolder).exists())
        return fail(QStringLiteral("dosarul %1 nu exista").arg(dataFolder));
    RegisterExport job;
    bool numeric = false;
    job.format = options.value(QStringLiteral("format")).toInt(&numeric);
    job.from = QDate::fromString(options.value(QStringLiteral("from")), QStringLiteral("dd.MM.yyyy"));
    job.to = QDate::fromString(options.value(QStringLiteral("to")), QStringLiteral("dd.MM.yyyy"));
    job.output = QDir::current().absoluteFilePath(options.value(QStringLiteral("out")));
    if (options.contains(QStringLiteral("template")))
        job.templatePath = QDir::current().absoluteFilePath(options.value(QStringLiteral("template")));
    if (!numeric || (job.format != 1 && job.format != 2))
        return fail(QStringLiteral("formatul este 1 sau 2"));
    if (!job.from.isValid() || !job.to.isValid())
        return fail(QStringLiteral("datele se scriu zz.ll.aaaa"));

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(QStringLiteral("nu se poate face un dosar de lucru"));
    resetSession(scratch.path());
    session().dataFolder = dataFolder;

    QuietPrompter prompter;
    QString error;
    if (!WriteRegisterSpreadsheet(job, prompter, &error))
        return fail(error);
    return 0;
}
