#include "RegionTable.h"

namespace pelko {

QString regionName(std::uint8_t code)
{
    if (code < 1 || code > kRegionCount)
        return {};
    return QStringView(RegionTable[code - 1u]).toString();
}

} // namespace pelko
