// "Listeaza Cerere", "Listeaza Act" and "Listeaza Comunicare"/"Listeaza
// Oferta" as the register runs them: a document once produced is kept in the
// data folder and opened again (an act's after asking whether to keep it),
// otherwise it is built, saved whole and opened. Questions and failures go
// through the Prompter, titled "Listare Act" or "Listare Cerere".
//
//     DocumentListing listing(prompter);     // one per register window
//     listing.ListAct(ida, selectedIdc);
//
// A listing that is still running makes another call do nothing, from this
// object or any other (a second click on a button while the document is
// built and a question waits for the clerk).
#pragma once

#include <QString>

class Prompter;

enum class ListingOutcome {
    // A new document was built and opened.
    Built,
    // The document kept from before was opened.
    Reused,
    // Nothing to list: a kind without a document, or another listing running.
    Nothing,
    // The clerk was told why no document could be made.
    Failed,
};

struct Listing {
    ListingOutcome outcome = ListingOutcome::Nothing;
    // The document opened, when one was.
    QString path;
};

class DocumentListing {
public:
    explicit DocumentListing(Prompter &prompter);

    // The request-and-offer form of request `id`, "Cerere<ID>.rtf".
    Listing ListRequest(qint64 id);
    // The document of act `ida`, "AlteActe<IDA>.rtf"; `selectedAnswer` is the
    // IDC of the answer selected in the register (0 for none).
    Listing ListAct(qint64 ida, qint64 selectedAnswer = 0);
    // The document of the communication or offer `idc`, "ComAc<IDC>.rtf".
    Listing ListAnswer(qint64 idc);

    // True while a listing runs.
    static bool busy() { return busy_; }

private:
    template <typename Build>
    Listing produce(const QString &title, const QString &target, Build build);
    Listing open(const QString &path, ListingOutcome outcome);
    Listing tell(const QString &title, const QString &text, int kind);

    Prompter &prompter_;
    // One clerk and one window at a time: the guard is the process's.
    static inline bool busy_ = false;
};
