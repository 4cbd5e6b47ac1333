#include "register/documents/documentlisting.h"

#include "platform/error.h"
#include "platform/filehelpers.h"
#include "platform/prompter.h"
#include "platform/shellopen.h"
#include "register/documents/actdocuments.h"
#include "register/documents/documentfiles.h"
#include "register/documents/requestform.h"

#include <QDir>
#include <QFile>

#include <exception>

namespace {

const QString kActTitle = QStringLiteral("Listare Act");
const QString kRequestTitle = QStringLiteral("Listare Cerere");

// Sets the flag for as long as the listing runs.
class BusyGuard {
public:
    explicit BusyGuard(bool &flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

private:
    bool &flag_;
};

QString heldOpenMessage(const QString &path)
{
    return QStringLiteral("\rFisierul ") + QDir::toNativeSeparators(path)
           + QStringLiteral(" este deschis!\rInchideti-l si reincercati!");
}

} // namespace

DocumentListing::DocumentListing(Prompter &prompter) : prompter_(prompter) {}

Listing DocumentListing::open(const QString &path, ListingOutcome outcome)
{
    platform::openWithAssociatedProgram(path);
    return {outcome, path};
}

Listing DocumentListing::tell(const QString &title, const QString &text, int kind)
{
    prompter_.Mesaj(title, text, ButtonOk, kind);
    return {ListingOutcome::Failed, {}};
}

template <typename Build>
Listing DocumentListing::produce(const QString &title, const QString &target, Build build)
{
    DocumentResult result;
    try {
        result = build();
    } catch (const std::exception &e) {
        return tell(title, QStringLiteral("\r") + QString::fromStdString(e.what()), KindError);
    }
    switch (result.status) {
    case DocumentStatus::Written:
        return open(target, ListingOutcome::Built);
    case DocumentStatus::NoDocument:
        return {};
    case DocumentStatus::MissingTemplate:
        return tell(title, result.message, KindError);
    case DocumentStatus::Failed:
        break;
    }
    return tell(title, QStringLiteral("\r") + result.message, KindError);
}

Listing DocumentListing::ListRequest(qint64 id)
{
    if (busy_)
        return {};
    BusyGuard guard(busy_);
    const QString target = RequestFormPath(id);
    if (DocumentExists(target))
        return open(target, ListingOutcome::Reused);
    return produce(kRequestTitle, target, [&] { return BuildRequestForm(id, target); });
}

Listing DocumentListing::ListAct(qint64 ida, qint64 selectedAnswer)
{
    if (busy_)
        return {};
    BusyGuard guard(busy_);
    const QString target = ActDocumentPath(ida);
    if (DocumentExists(target)) {
        const int answer = prompter_.Mesaj(kActTitle, QStringLiteral("\rDoriti sa pastrati fisierul existent?"),
                                           ButtonDa | ButtonNu, KindConfirmation);
        if (answer != ResultNo)
            return open(target, ListingOutcome::Reused);
        if (IsFileHeldOpen(target) || !QFile::remove(target))
            return tell(kActTitle, heldOpenMessage(target), KindError);
    }
    return produce(kActTitle, target, [&] { return BuildActDocument(ida, target, selectedAnswer); });
}

Listing DocumentListing::ListAnswer(qint64 idc)
{
    if (busy_)
        return {};
    BusyGuard guard(busy_);
    const QString target = CommunicationDocumentPath(idc);
    if (DocumentExists(target))
        return open(target, ListingOutcome::Reused);
    return produce(kActTitle, target, [&] { return BuildAnswerDocument(idc, target); });
}
