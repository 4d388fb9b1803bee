#include "Statistics.h"

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
    // To two decimals, an exact half to the even neighbour (5062.5 hundredths give 50.62).
    // std::round takes halves away from zero whatever rounding mode is set, so the one case it
    // differs in, an exact half, is rounded again as half of the value.
    const double hundredths = rate * 100.0;
    const double whole = std::fabs(hundredths - std::trunc(hundredths)) == 0.5
                             ? 2.0 * std::round(hundredths / 2.0)
                             : std::round(hundredths);
    return QString::number(whole / 100.0, 'g', 15);
}

} // namespace pelko
