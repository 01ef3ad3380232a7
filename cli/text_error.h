#pragma once

#include <QString>

#include <stdexcept>

namespace tamo::cli {

// The error of a text that may name files: the error report prints the bytes of their
// names as they were given (see files/file_names.h).
std::runtime_error textError(const QString &text);

} // namespace tamo::cli
