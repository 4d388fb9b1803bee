#pragma once

#include "ClearStatus.h"

#include <QString>

#include <cstdint>

namespace pelko {

// Quests whose progress is exactly 1 (cleared); on hold and unknown values do not count.
std::int16_t countCompleted(const ClearStatusTable &status);

// The rate in percent rounded to two decimals (halves to even), as up to 15 significant digits
// with trailing zeros dropped: 12.5, 33.33, 3.12, 100. An empty database gives 0.
QString completionRateText(std::int16_t completed, std::int16_t total);

} // namespace pelko
