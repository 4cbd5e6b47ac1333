// The documents the register caches in the data folder under names built from
// a row's id. Ids are given out again (the counters are recounted from the
// tables at every start), so a document must go with its row: whenever rows
// are deleted their documents are deleted, and whenever an id is taken any
// file already named after it is removed, so that listing a new row can never
// open another row's old document.
#pragma once

#include <QString>

// "<data folder>/Cerere<ID>.rtf": the request form.
QString RequestFormPath(qlonglong id);
// "<data folder>/CeOf<ID>.rtf": the request-and-offer form.
QString RequestOfferPath(qlonglong id);
// "<data folder>/AlteActe<IDA>.rtf": an act's document.
QString ActDocumentPath(qlonglong ida);
// "<data folder>/ComAc<IDC>.rtf": a communication's or offer's document.
QString CommunicationDocumentPath(qlonglong idc);

// Delete the cached documents of a row; a missing file is fine.
void RemoveRequestDocuments(qlonglong id);
void RemoveActDocument(qlonglong ida);
void RemoveCommunicationDocument(qlonglong idc);
