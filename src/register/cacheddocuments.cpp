#include "register/cacheddocuments.h"

#include "platform/filecase.h"
#include "platform/session.h"

#include <QFile>

namespace {

QString documentPath(const char *stem, qlonglong id)
{
    return platform::findFileNoCase(session().dataFolder,
                                    QLatin1String(stem) + QString::number(id) + QStringLiteral(".rtf"));
}

} // namespace

QString RequestFormPath(qlonglong id)
{
    return documentPath("Cerere", id);
}

QString RequestOfferPath(qlonglong id)
{
    return documentPath("CeOf", id);
}

QString ActDocumentPath(qlonglong ida)
{
    return documentPath("AlteActe", ida);
}

QString CommunicationDocumentPath(qlonglong idc)
{
    return documentPath("ComAc", idc);
}

void RemoveRequestDocuments(qlonglong id)
{
    QFile::remove(RequestOfferPath(id));
    QFile::remove(RequestFormPath(id));
}

void RemoveActDocument(qlonglong ida)
{
    QFile::remove(ActDocumentPath(ida));
}

void RemoveCommunicationDocument(qlonglong idc)
{
    QFile::remove(CommunicationDocumentPath(idc));
}
