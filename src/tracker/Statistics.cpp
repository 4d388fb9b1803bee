#include "Statistics.h"

#include <cfenv>
#include <cmath>

namespace pelko {

std::int16_t countCompleted(const ClearStatusTable &status)
{
    std::int16_t completed = 0;
    for (int n = 1; n <= status.size(); ++n) {
        if (status.progressOf(n) == Cleared)
            ++completed;
    }
    return completed;
}

QString completionRateText(std::int16_t completed, std::int16_t total)
{
    // With no quests the rate is undefined; the player sees 0 rather than a division by zero.
    if (total <= 0)
        return QStringLiteral("0");
    const double rate = static_cast<double>(completed) / total * 100.0;
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST); // an exact half goes to the even neighbour
    const double rounded = std::nearbyint(rate * 100.0) / 100.0;
    std::fesetround(previous);
    return QString::number(rounded, 'g', 15);
}

} // namespace pelko
