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
//     if (rtf.BeginDocument()) {
//         for (const Holder &h : holders) {
//             if (&h != &holders.first())
//                 rtf.NewPage();
//             rtf.AddField("[NUME]", h.name);
//             rtf.WriteBody(1);
//         }
//         rtf.EndDocument();
//         rtf.OpenDocument();
//     }
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

    // Writes the template's header into RTFDest, which is created or emptied.
    // Returns false, leaving no document behind, when RTFSursa is empty, missing
    // or empty, has no "\pard" line, names the same file as RTFDest, or when a
    // file cannot be opened.
    bool BeginDocument();

    // Adds a value for `marker`, written as document text: braces become
    // parentheses, letters go in Windows-1250 (see rtftext::escapeValue).
    void AddField(const QString &marker, const QString &value);

    // Adds a value that is RTF already and is inserted as it is.
    void AddRawField(const QString &marker, const QByteArray &rtf);
    // The same for RTF held as text; letters outside ASCII go as escapes.
    void AddRawField(const QString &marker, const QString &rtf);

    // Appends the template's body `copies` times with the markers replaced, the
    // copies separated by "\page"; then empties the field list. Writes nothing
    // when the template is missing or has no "\pard" line.
    void WriteBody(int copies = 1);

    // Appends the page break line " \par \page " and empties the field list.
    void NewPage();

    // Appends the closing "}" line and empties the field list.
    void EndDocument();

    // Opens RTFDest with the desktop's program for it, when set and present.
    void OpenDocument() const;

private:
    struct Field {
        // The marker in Windows-1250, as the caller spelled it.
        QByteArray marker;
        // The text put in its place, RTF already.
        QByteArray value;
    };

    // Template lines, split the way a text reader splits them (CR, LF or CRLF);
    // false when the template cannot be read.
    bool readTemplate(QList<QByteArray> *lines) const;
    bool appendToDocument(const QByteArray &text) const;
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
    // True from a successful BeginDocument to EndDocument: only then do the
    // other operations write, so a caller that goes on after a failed start
    // leaves no stray file behind.
    bool documentOpen_ = false;
};
