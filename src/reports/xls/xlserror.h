// The one error of the spreadsheet engine: a message in the clerk's words
// that says which file is at fault and what is wrong with it.
#pragma once

#include <QString>

#include <exception>

namespace xls {

class XlsError : public std::exception {
public:
    explicit XlsError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString &message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

} // namespace xls
