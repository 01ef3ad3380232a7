#include "forms/error_report.h"

#include "forms/message_box.h"

#include <exception>

void ReportErrors(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        ShowMessage(QString::fromUtf8(error.what()));
    }
}
