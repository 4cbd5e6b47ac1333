// TRTFReplace: fills an RTF template's markers and writes the document.
//
// Every document the program prints goes through here. A template is an RTF
// file whose header (font table, colours, styles) ends on the first line that
// holds "\pard"; the body runs from that "\pard" to the document's closing
// brace. A document is the header once, then one body per record, the bodies
// separated by a page break, then the closing "}":
//
//     TRTFReplace rtf;
//     rtf.RTFSursa = dataFolder + "/Anexa_4.rtf";
//     rtf.RTFDest = dataFolder + "/AlteActe12.rtf";
//     rtf.BeginDocument();
//     for (const Holder &h : holders) {
//         if (&h != &holders.first())
//             rtf.NewPage();
//         rtf.AddField("[NUME]", h.name);
//         rtf.WriteBody(1);
//     }
//     if (rtf.EndDocument())
//         rtf.OpenDocument();
//     else
//         prompter.Mesaj("Listare Act", CR + rtf.errorString(), ButtonOk, KindError);
//
// The template is read once, by BeginDocument, and serves every record of the
// document. A document fails as a whole: once a step could not write, every
// later step does nothing and returns false, the half-written file is
// deleted, errorString() says why, and OpenDocument leaves it alone.
//
// Markers are words such as "[JUDET]" found on one line of the template,
// whatever their case; a marker written in capitals and longer than four
// characters takes its value in capitals ("[JUDET]" → "CLUJ", "[Judet]" →
// "Cluj"); an empty value prints as ".........."; a marker added r times makes
// the template line holding it be written r times, once per value. A marker
// split over two lines, or cut by formatting, is not found and stays as typed.
//
// The engine works line by line and never loops on what a word processor may
// have done to a template: a line is written at most as many times as there
// are fields, the search for a marker goes on after the value just put in, and
// a template without its "\pard" line produces no document.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class TRTFReplace {
public:
    // Path of the template being used; found without regard to case.
    QString RTFSursa;
    // Path of the document being written.
    QString RTFDest;

    // Picks RTFDest := base + n + ".rtf" for the first n from 0 to 99 whose file
    // does not exist or could be deleted (a file the clerk holds open in a word
    // processor is left alone). Returns false, RTFDest unchanged, when none.
    bool ChooseDest(const QString &base);

    // Reads the template and writes its header into RTFDest, which is created
    // or emptied. Returns false, leaving no document behind and the reason in
    // errorString(), when RTFSursa is empty, missing or empty, has no "\pard"
    // line, names the same file as RTFDest, or when a file cannot be opened or
    // written.
    bool BeginDocument();

    // Adds a value for `marker`, written as document text: braces become
    // parentheses, letters go in Windows-1250 (see rtftext::escapeValue).
    void AddField(const QString &marker, const QString &value);

    // Adds a value that is RTF already and is inserted as it is.
    void AddRawField(const QString &marker, const QByteArray &rtf);
    // The same for RTF held as text; letters outside ASCII go as escapes.
    void AddRawField(const QString &marker, const QString &rtf);

    // Appends the template's body `copies` times with the markers replaced, the
    // copies separated by "\page"; then empties the field list. Returns false
    // when the body could not be written or the document had failed before
    // (no successful BeginDocument included).
    bool WriteBody(int copies = 1);

    // Appends the page break line " \par \page " and empties the field list.
    // False as WriteBody.
    bool NewPage();

    // Appends the closing "}" line and empties the field list. True only when
    // the whole document was written.
    bool EndDocument();

    // Why the document failed; empty while it has not.
    QString errorString() const { return error_; }

    // Opens RTFDest with the desktop's program for it, when set and present
    // and unless the document being written there failed.
    void OpenDocument() const;

private:
    struct Field {
        // The marker in Windows-1250, as the caller spelled it.
        QByteArray marker;
        // The text put in its place, RTF already.
        QByteArray value;
    };

    // Reads the template into templateLines_ and finds its "\pard" line;
    // false, with the reason in error_, when it cannot be read.
    bool readTemplate();
    // Creates or empties RTFDest; false, with the reason, when it cannot.
    bool createDocument();
    // Appends to the open document; on failure the document fails.
    bool appendToDocument(const QByteArray &text);
    // Ends the document with `reason`: deletes what was written of it.
    bool fail(const QString &reason);
    void clearFields();
    // One line with the markers of the field list replaced; moves the group
    // start through the values of a repeated marker.
    QByteArray substitute(QByteArray line);
    // Writes `line` substituted, again while a repeated marker has values left.
    void writeRepeated(const QByteArray &line, QByteArray *out);
    qsizetype runLength(qsizetype n) const;
    QByteArray valueFor(qsizetype n, const QByteArray &asWritten) const;

    // Ordered (marker, value) pairs of the record being written.
    QList<Field> fields_;
    // Index of the next value of a repeated marker, or -1 when none is pending.
    qsizetype groupStart_ = -1;
    // The template's lines as BeginDocument read them, split the way a text
    // reader splits them (CR, LF or CRLF).
    QList<QByteArray> templateLines_;
    // Index in templateLines_ of the first line holding "\pard", or -1.
    qsizetype pardLine_ = -1;
    // True from a successful BeginDocument to EndDocument or the first failed
    // write: only then do the other operations write, so a caller that goes
    // on after a failure leaves no stray file behind.
    bool documentOpen_ = false;
    // Why the document failed; empty while it has not.
    QString error_;
    // The RTFDest of the document that failed, which OpenDocument refuses.
    QString failedDest_;
};
