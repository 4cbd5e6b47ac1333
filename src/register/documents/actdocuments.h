// The document of every act kind ("Listeaza Act") and of a communication or
// offer ("Listeaza Comunicare"/"Listeaza Oferta", kind 20): which template
// each kind uses, and the builder that fills it.
//
//     DocumentResult r = BuildActDocument(ida, ActDocumentPath(ida), selectedAnswer);
//     if (r.status == DocumentStatus::MissingTemplate) ...   // r.message names it
#pragma once

#include "register/documents/documentdata.h"
#include "register/documents/documentresult.h"

// How a kind's document is made.
enum class ActBuilder {
    // The kind has no document.
    None,
    // The template filled with the common markers.
    Common,
    // The list of holders (kinds 9 and 3), then the common markers.
    HolderList,
    // One page per notification (kind 14).
    Notifications,
    // The display report (kind 1).
    DisplayReport,
};

struct ActTemplate {
    ActBuilder builder = ActBuilder::None;
    // File name of the template in the data folder.
    QString file;
};

// The template of act kind `kind` (1 … 23; 20 for an answer) of `request`.
// Kind 11 depends on the sellers, 12 on the request's person kind, 20 on
// the answer (`answer`: its TIPPF and whether it is an offer, RANG 100).
ActTemplate ActKindTemplate(int kind, const RequestRecord &request, const Row &answer = {});

// Builds the document of act `ida` into `target`. `selectedAnswer` is the IDC
// of the answer selected in the register (0 for none). NoDocument for an act
// without a kind or of a kind without a template; MissingTemplate with its
// message; Failed with the reason, and nothing written, otherwise. Throws
// sqlstore::SqlError when a table cannot be read.
DocumentResult BuildActDocument(qint64 ida, const QString &target, qint64 selectedAnswer = 0);

// The same for the document of the communication or offer `idc`.
DocumentResult BuildAnswerDocument(qint64 idc, const QString &target);
