#include "SelectorItems.h"

#include "QuestFilter.h"
#include "RegionTable.h"

namespace pelko {
namespace {

QString allItems()
{
    return QStringLiteral("（すべて）");
}

} // namespace

std::vector<RegionItem> regionSelectorItems()
{
    std::vector<RegionItem> items{{allItems(), kAllRegions}};
    for (int code = 1; code <= kRegionCount; ++code) {
        const QString name = regionName(static_cast<std::uint8_t>(code));
        if (!name.isEmpty())
            items.push_back({name, code});
    }
    return items;
}

QStringList stateSelectorItems()
{
    return {allItems(), QStringLiteral("やっていない"), QStringLiteral("クリア"),
            QStringLiteral("保留")};
}

} // namespace pelko
