#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

namespace pelko {

// Region codes 1 to 20; the name of code c is entry c - 1, and an empty name marks a code
// without a region. The twelve names are distinct: a quest's region is found by its name.
inline constexpr int kRegionCount = 20;

inline constexpr std::array<std::u16string_view, kRegionCount> RegionTable = {
    u"ヴォルカナ大陸",
    u"ミルテラ大陸",
    u"シルヴァ大陸",
    u"コロネ大陸",
    u"マリス諸島",
    u"偽りのアストリア",
    u"真のアストリア",
    u"",
    u"真のフィオーレの島",
    u"",
    u"ベルカ島",
    u"ティルト島",
    u"灰の領界",
    u"",
    u"",
    u"",
    u"",
    u"",
    u"",
    u"その他",
};

// The name of a quest's region code, or an empty text for "no region": a code without a name
// and any code outside 1 to 20 (such a quest is only listed under all regions).
QString regionName(std::uint8_t code);

} // namespace pelko
