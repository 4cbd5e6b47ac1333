// The one base of the program's errors: the table engine's, the settings
// files', the documents' and the spreadsheets' errors derive from it, so a
// caller that only shows the problem catches one type.
#pragma once

#include <QString>

#include <stdexcept>

class ArvenaError : public std::runtime_error {
public:
    explicit ArvenaError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    // What went wrong, in one line, meant to be shown to the clerk as it is.
    QString message() const { return message_; }

private:
    QString message_;
};
