#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace pelko {

// An item of the region selector and the region code it stands for (kAllRegions for item 0).
struct RegionItem {
    QString text;
    int region;
};

// "（すべて）", then every named region in table order.
std::vector<RegionItem> regionSelectorItems();

// "（すべて）", "やっていない", "クリア", "保留": item k stands for progress k - 1.
QStringList stateSelectorItems();

} // namespace pelko
