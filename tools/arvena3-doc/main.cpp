// arvena3-doc: the document of a request, an act or an answer, without a window.
//
//     arvena3-doc --data DIR (--request ID | --act IDA | --answer IDC) --out FILE.rtf
//
// Writes the request-and-offer form, the document of an act or the document
// of a communication or offer exactly as the register's listing builds it:
// the same builder, with the tables, settings and templates of DIR. Templates
// missing from DIR are first written there from the program's own, as the
// start-up does. The documents cached in DIR are left as they are and nothing
// is opened. The exit status is 0 only when FILE.rtf was written; otherwise
// the reason goes to stderr in one line and no FILE.rtf is left behind.
#include "platform/session.h"
#include "register/documents/actdocuments.h"
#include "register/documents/requestform.h"
#include "templates/catalogue.h"

#include "tooloptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>

namespace {

int usage()
{
    std::fprintf(stderr, "folosire: arvena3-doc --data DOSAR (--request ID | --act IDA | --answer IDC) --out FISIER.rtf\n");
    return 2;
}

int fail(const QString &reason)
{
    return tools::Fail("arvena3-doc", reason);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QHash<QString, QString> options;
    if (!tools::ReadOptions(args, &options))
        return usage();
    const QStringList kinds = {QStringLiteral("request"), QStringLiteral("act"), QStringLiteral("answer")};
    QString kind;
    for (const QString &k : kinds) {
        if (options.contains(k))
            kind = kind.isEmpty() ? k : QStringLiteral("?");
    }
    if (!tools::HasOptions(options, {QStringLiteral("data"), QStringLiteral("out")}) || kind.isEmpty()
        || kind == QLatin1String("?"))
        return usage();
    bool numeric = false;
    const qint64 id = options.value(kind).toLongLong(&numeric);
    if (!numeric || id <= 0)
        return fail(QStringLiteral("numarul %1 nu este un numar de inregistrare").arg(options.value(kind)));

    const QString dataFolder = QDir(options.value(QStringLiteral("data"))).absolutePath();
    if (!QFileInfo(dataFolder).isDir())
        return fail(QStringLiteral("dosarul %1 nu exista").arg(dataFolder));
    const QString output = QDir::current().absoluteFilePath(options.value(QStringLiteral("out")));
    if (!QFileInfo(QFileInfo(output).absolutePath()).isDir())
        return fail(QStringLiteral("dosarul fisierului %1 nu exista").arg(output));

    // Work files go to a private program folder that goes away at the end.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(QStringLiteral("nu se poate face un dosar de lucru"));
    resetSession(scratch.path());
    session().dataFolder = dataFolder;

    QString error;
    if (!ExtractTemplates(dataFolder, scratch.path(), &error))
        return fail(error);
    DocumentResult result;
    try {
        if (kind == QLatin1String("request"))
            result = BuildRequestForm(id, output);
        else if (kind == QLatin1String("act"))
            result = BuildActDocument(id, output);
        else
            result = BuildAnswerDocument(id, output);
    } catch (const std::exception &e) {
        return fail(QString::fromStdString(e.what()));
    }
    switch (result.status) {
    case DocumentStatus::Written:
        return 0;
    case DocumentStatus::NoDocument:
        return fail(QStringLiteral("actul %1 nu are document de listat").arg(id));
    case DocumentStatus::MissingTemplate:
    case DocumentStatus::Failed:
        break;
    }
    return fail(result.message);
}
