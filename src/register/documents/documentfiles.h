// The templates of the documents of a request, and writing a document whole
// or not at all (the cached names are those of register/cacheddocuments.h).
//
// A produced document is cached in the data folder under a name made from its
// row's id and opened later as it is, so a half-written file must never stand
// there: a document is written into a part file beside its target and moved
// onto the target name only once it is complete.
//
//     WholeDocument file(ActDocumentPath(ida));
//     rtf.RTFDest = file.partPath();
//     ...                                  // BeginDocument ... EndDocument
//     if (!file.commit(&error))            // the part file is gone either way
//         ...
#pragma once

#include "register/cacheddocuments.h"

#include <QString>

// A template file of the data folder ("Anexa_9.rtf"), found whatever the case
// of its name; the path as written when there is no such file.
QString DataTemplatePath(const QString &file);

// True when `path` names an existing file (found whatever its case).
bool DocumentExists(const QString &path);

class WholeDocument {
public:
    explicit WholeDocument(const QString &target);
    // Removes the part file unless commit() moved it.
    ~WholeDocument();
    WholeDocument(const WholeDocument &) = delete;
    WholeDocument &operator=(const WholeDocument &) = delete;

    const QString &target() const { return target_; }
    // The file to write the document into.
    const QString &partPath() const { return part_; }

    // Moves the complete part file onto the target, replacing an older file
    // there. False, with the reason in the clerk's words and no file left at
    // either name, when the part file is missing or cannot be moved.
    bool commit(QString *error);

    // The engine's reason for a failed document, naming the target rather
    // than the part file.
    QString explain(const QString &engineError) const;

private:
    QString target_;
    QString part_;
    bool committed_ = false;
};
