// The error every statement of the data store throws.
#pragma once

#include "platform/error.h"

namespace sqlstore {

// A statement failed. message() says what went wrong in one line, naming the
// table (its file path) when one is involved; it is meant to be shown to the
// user as it is.
class SqlError : public ArvenaError {
public:
    using ArvenaError::ArvenaError;
};

} // namespace sqlstore
