#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tamo {

// Texts of the data files and the ROM are 8-bit Shift-JIS strings; the interface shows
// them as Unicode. Unmappable bytes become replacement characters, never an error.
QString fromShiftJis(std::string_view bytes);
std::string toShiftJis(const QString &text);

} // namespace tamo
