// The one error of the spreadsheet engine: a message in the clerk's words
// that says which file is at fault and what is wrong with it.
#pragma once

#include "platform/error.h"

namespace xls {

class XlsError : public ArvenaError {
public:
    using ArvenaError::ArvenaError;
};

} // namespace xls
