// What building a document came to.
#pragma once

#include <QString>

enum class DocumentStatus {
    // The document was written to its target.
    Written,
    // The act's kind has no document: nothing was done.
    NoDocument,
    // The template file is missing from the data folder; message says which.
    MissingTemplate,
    // The document could not be read or written; nothing was left behind.
    Failed,
};

struct DocumentResult {
    DocumentStatus status = DocumentStatus::Failed;
    // The document written (or the template that was missing).
    QString path;
    // Why it failed, in the clerk's words.
    QString message;

    bool written() const { return status == DocumentStatus::Written; }
};

// "Nu pot accesa modelul <path>!"
QString MissingTemplateMessage(const QString &templatePath);
