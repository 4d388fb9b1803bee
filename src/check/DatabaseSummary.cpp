#include "DatabaseSummary.h"

#include "QuestDatabase.h"
#include "RegionTable.h"

#include <algorithm>

namespace pelko::check {

DatabaseSummary summarize(const QuestDatabase &db, qsizetype fileSize)
{
    DatabaseSummary s;
    s.bytes = fileSize;
    s.loads = db.ok();
    if (!s.loads)
        return s;
    const QuestTable &table = db.table;
    s.quests = table.count();

    // Counted by name rather than code, so that two codes sharing a name count as one region.
    std::vector<int> perName(RegionTable.size(), 0);
    std::int16_t previousGroup = 0;
    for (int row = 1; row <= table.count(); ++row) {
        const QString name = regionName(table.row(row).Region);
        if (name.isEmpty())
            ++s.withoutRegion;
        else
            ++perName[static_cast<std::size_t>(
                std::find_if(RegionTable.begin(), RegionTable.end(),
                             [&](std::u16string_view n) { return QStringView(n) == name; })
                - RegionTable.begin())];

        // A ChainNo of 0 to 9 has chain group 0 and so ends a run like a change of group.
        const std::int16_t group = table.chainGroup(row);
        if (group != 0 && group != previousGroup)
            ++s.chains;
        previousGroup = group;
    }
    for (std::size_t i = 0; i < RegionTable.size(); ++i) {
        if (perName[i] > 0)
            s.regions.emplace_back(QStringView(RegionTable[i]).toString(), perName[i]);
    }
    return s;
}

} // namespace pelko::check
