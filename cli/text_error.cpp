#include "cli/text_error.h"

#include "files/file_names.h"

namespace tamo::cli {

std::runtime_error textError(const QString &text)
{
    return std::runtime_error(bytesFromText(text).toStdString());
}

} // namespace tamo::cli
