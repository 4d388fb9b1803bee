#include "DatabaseSummary.h"

#include "QuestDatabase.h"
#include "RegionTable.h"

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
    const QStringList &names = RegionTable();
    std::vector<int> perName(static_cast<std::size_t>(names.size()), 0);
    std::int16_t previousGroup = 0;
    for (int row = 1; row <= table.count(); ++row) {
        const QString name = regionName(table.row(row).Region);
        if (name.isEmpty())
            ++s.withoutRegion;
        else
            ++perName[static_cast<std::size_t>(names.indexOf(name))];

        // A ChainNo of 0 to 9 has chain group 0 and so ends a run like a change of group.
        const std::int16_t group = table.chainGroup(row);
        if (group != 0 && group != previousGroup)
            ++s.chains;
        previousGroup = group;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (perName[static_cast<std::size_t>(i)] > 0)
            s.regions.emplace_back(names.at(i), perName[static_cast<std::size_t>(i)]);
    }
    return s;
}

} // namespace pelko::check
