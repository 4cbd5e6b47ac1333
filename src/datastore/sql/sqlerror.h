// The error every statement of the data store throws.
#pragma once

#include <QString>

#include <stdexcept>

namespace sqlstore {

// A statement failed. message() says what went wrong in one line, naming the
// table (its file path) when one is involved; it is meant to be shown to the
// user as it is.
class SqlError : public std::runtime_error {
public:
    explicit SqlError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    QString message() const { return message_; }

private:
    QString message_;
};

} // namespace sqlstore
