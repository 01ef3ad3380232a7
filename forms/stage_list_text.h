#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The stages an image's change touches, as a window names them: "22, 30, 31", the first
// twelve of a longer list with their number ("0, 1, ..., 11, ... (230 stages)"), or "none".
QString StageListText(const std::vector<int32_t> &stages);
