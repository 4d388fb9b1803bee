#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace pelko {

// Region codes 1 to 20; the name of code c is entry c - 1, and an empty name marks a code
// without a region.
inline constexpr int kRegionCount = 20;

// The 20 names in table order, empty ones included.
const QStringList &RegionTable();

// The name of a quest's region code, or an empty text for "no region": a code without a name
// and any code outside 1 to 20 (such a quest is only listed under all regions).
QString regionName(std::uint8_t code);

} // namespace pelko
