#pragma once

#include "ClearStatus.h"
#include "FileStore.h"
#include "QuestCatalog.h"
#include "QuestDataLoad.h"
#include "QuestDetail.h"
#include "QuestFilter.h"
#include "QuestListBuilder.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace pelko {

// The four window choices kept in Pelko.ini, in file order.
struct WindowSettings {
    int regionItem = 0;     // item of the region selector (an item index, not a region code)
    int stateItem = 0;      // item of the progress selector
    int treeView = 0;       // 1: chained quests drawn as a tree
    int noConfirmation = 0; // 1: a progress change is applied without asking

    bool operator==(const WindowSettings &o) const
    {
        return regionItem == o.regionItem && stateItem == o.stateItem && treeView == o.treeView
               && noConfirmation == o.noConfirmation;
    }
};

// What to tell the player once the progress file has been read.
enum class ProgressNotice { None, FirstRun, Damaged };

struct ListSelection {
    FilterSelection filter;
    bool tree = false;
};

// The two statistics captions of the main window.
struct ProgressStatistics {
    QString completedCaption; // "コンプリート数： N"
    QString rateCaption;      // "クリア率： R％"
};

// The program's state and every action on it, without a widget: the quest catalog, the progress
// table, the window choices and the working folder. The main window reads its controls, makes
// one call here and shows the answer.
class QuestTracker
{
public:
    // Files are opened by name relative to workDir; the program passes ".", so that the files
    // follow the working folder even when it is renamed while the program runs.
    explicit QuestTracker(QString workDir);
    // With the load of workDir's Pelko.dat already under way (see startLoading).
    QuestTracker(QString workDir, std::unique_ptr<QuestDataLoad> startedLoad);

    // workDir's Pelko.dat, named relative to it.
    static QString databasePath(const QString &workDir);
    // Starts reading workDir's Pelko.dat on a thread of its own, for LoadQuestData to take.
    static std::unique_ptr<QuestDataLoad> startLoading(const QString &workDir);
    // Reads Pelko.dat, or takes the load started before; false when it cannot be read, and the
    // program must end. Called once.
    bool LoadQuestData();
    std::int16_t intNumberOfContents() const { return m_catalog.table().count(); }
    const QuestTable &questTable() const { return m_catalog.table(); }

    // Removes what saves interrupted by a crash left beside the program's files.
    void removeSaveLeftovers() const;

    // Sizes the progress table to the quests, all not done, and fills it from clr_stat.dat. A
    // file that exists but cannot be read is reported as damaged and kept from every save, so
    // that its bytes are never lost.
    ProgressNotice LoadClearStatus();
    // Writes the whole progress table; false when the save failed or was refused.
    bool SaveClearStatus();

    // The choices to restore, each judged on its own: one that names no item is its default. A
    // file that exists but cannot be read gives the defaults and is kept from every save, as the
    // progress file is.
    WindowSettings LoadSettings();
    // Writes the choices; false when the save failed or was refused.
    bool SaveSettings(const WindowSettings &settings) const;

    QuestList listFor(const ListSelection &selection) const;
    // Quests whose name, content or reward holds the keyword, flat and sorted, within the filter.
    QuestList searchFor(const QString &keyword, const FilterSelection &filter) const;
    QString entryText(const ListEntry &entry) const
    {
        return pelko::entryText(questTable(), entry);
    }

    // Nothing for a row that is no quest.
    std::optional<QuestDetail> detailOf(int row) const;
    // The stored progress of a row's quest; nothing when its number has no progress entry.
    std::optional<std::uint8_t> storedProgress(int row) const;

    // A progress change, decided in the order the option handler asks:
    // - whether selecting option `index` for the shown row changes its progress: not when the
    //   option is the stored one (every programmatic selection ends here), nor for a row whose
    //   quest number has no progress entry;
    bool isChange(int row, int index) const;
    QString confirmationPrompt(int row, int index) const;
    // - the option shown for the row, again after a declined change: its stored progress, or
    //   none when that is no state of an option (or the row has no progress entry);
    std::optional<int> shownOption(int row) const;
    // - an accepted change: stored for the row's quest number, then the whole table saved; false
    //   when the save failed (the change stands in memory all the same);
    bool changeProgress(int row, int index);
    // - the list position to select once the list is rebuilt: the entry selected before (or the
    //   first, when the list was empty), pulled back onto a list that got shorter; -1 when the
    //   rebuilt list is empty.
    static int positionAfterRebuild(int selectedBefore, int countBefore, int countAfter);

    // The statistics captions, recomputed from the progress table.
    ProgressStatistics statistics() const;

private:
    QString m_workDir;
    StoredFile m_progressFile;
    StoredFile m_settingsFile;
    // The load started or taken; once taken, it may still be decoding the texts after the names.
    std::unique_ptr<QuestDataLoad> m_load;
    QuestCatalog m_catalog;
    ClearStatusTable m_clearStatusTable;
};

} // namespace pelko
