#pragma once

#include <functional>

// The top-level error report: runs a handler and shows the text of any error that escapes
// it in a message box; the program then goes on. The windows run their handlers through
// it where Qt calls them, so that no exception has to unwind through Qt's own code, and
// the application object runs every event through it as the last resort.
void ReportErrors(const std::function<void()> &handler);
