// One settings file in the Windows profile format, worked on as bytes.
//
// The files are shared with installations that write them on Windows: text in
// the Windows-1250 code page, CRLF line ends, "[SECTION]" lines and
// "key=value" lines, section and key names compared without regard to case.
// Reading takes the first matching section and the first matching key in it,
// and trims the blanks around the value; a missing file, section or key reads
// as empty. Writing one key rewrites that key's line only: every other byte of
// the file (comments, blank lines, order, spelling of other names, bytes that
// do not decode) stays as it was.
//
// A write reads the file, changes it in memory, writes the result beside it
// and renames it into place, so a crash leaves the old file or the new one,
// never a truncated one. Writers take turns through an exclusive lock on the
// companion file "<name>.lck", held from the read to the rename; readers need
// no lock because the rename is atomic.
//
//   ProfileFile f(folder + "/Arv2.set");
//   f.setValue("CONST", "UNITATE", "PRIMARIA X");
//   QString unit = f.value("const", "unitate");
#pragma once

#include "platform/error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Raised by every write that could not be completed; the file is then unchanged.
class SettingsError : public ArvenaError {
public:
    using ArvenaError::ArvenaError;
};

class ProfileFile {
public:
    // `path` is used as given; callers resolve the spelling of existing files
    // (platform::findFileNoCase) before.
    explicit ProfileFile(const QString &path);

    QString path() const { return path_; }

    // The trimmed value decoded from Windows-1250, or empty text.
    QString value(const QString &section, const QString &key) const;
    // The bytes after the "=" up to the line end, untouched (no trimming, no
    // decoding), or empty. Only for values that must survive byte for byte.
    QByteArray rawValue(const QString &section, const QString &key) const;
    // Names of the keys of the first matching section, in file order.
    QStringList keys(const QString &section) const;

    // Each write throws SettingsError (naming the file and the system's reason)
    // when the file cannot be locked, written or renamed into place.

    // Stores the text encoded in Windows-1250 (as the tables are; comma-below
    // letters become their cedilla twins); line breaks in it become blanks. A
    // character the code page lacks is refused with SettingsError.
    void setValue(const QString &section, const QString &key, const QString &text);
    // Stores the bytes as they are after "key="; CR, LF and NUL bytes are
    // refused (they would break the file) with SettingsError.
    void setRawValue(const QString &section, const QString &key, const QByteArray &bytes);
    // Removes the key's line; nothing happens when it does not exist.
    void removeKey(const QString &section, const QString &key);
    // Removes the section's header and every line up to the next section.
    void removeSection(const QString &section);

    // Reads the key's trimmed value, asks `next` for the new text and stores it,
    // all under the writers' lock, so that no other process reads or writes the
    // key in between. Returns the value read.
    QString update(const QString &section, const QString &key,
                   const std::function<QString(const QString &current)> &next);

private:
    QByteArray readAll() const;
    // Rewrites the file with edit(current bytes) under the writers' lock.
    void modify(const std::function<QByteArray(const QByteArray &current)> &edit);

    QString path_;
};
