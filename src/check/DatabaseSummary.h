#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace pelko {
struct QuestDatabase;
}

namespace pelko::check {

// What a loadable database holds, for the last line of a check.
struct DatabaseSummary {
    bool loads = false;
    int quests = 0;
    // Named regions that hold quests, in the order of the region table.
    std::vector<std::pair<QString, int>> regions;
    int withoutRegion = 0; // quests whose code has no region name
    // Runs of consecutive rows sharing one non-zero chain group.
    int chains = 0;
    qsizetype bytes = 0;
};

DatabaseSummary summarize(const QuestDatabase &db, qsizetype fileSize);

} // namespace pelko::check
