#include "QuestTracker.h"

#include "FileStore.h"
#include "KeywordSearch.h"
#include "QuestDatabase.h"
#include "SelectorItems.h"
#include "Settings.h"
#include "Statistics.h"
#include "Texts.h"

#include <QDir>

#include <algorithm>

namespace pelko {
namespace {

const QString kDatabaseFile = QStringLiteral("Pelko.dat");
const QString kProgressFile = QStringLiteral("clr_stat.dat");
const QString kSettingsFile = QStringLiteral("Pelko.ini");

// A stored value is applied when it names an item of its selector (or a state of its check
// box); otherwise the choice keeps its default. The file has always allowed 0 to 20 for the
// region and 0 to 4 for the progress item, but an index without an item selects nothing, so
// the items alone decide.
int judged(int value, int itemCount)
{
    return value >= 0 && value < itemCount ? value : 0;
}

QString pathIn(const QString &workDir, const QString &name)
{
    return QDir(workDir).filePath(name);
}

} // namespace

QuestTracker::QuestTracker(QString workDir) : QuestTracker(std::move(workDir), nullptr)
{}

QuestTracker::QuestTracker(QString workDir, std::unique_ptr<QuestDataLoad> startedLoad)
    : m_workDir(std::move(workDir)), m_progressFile(pathIn(m_workDir, kProgressFile)),
      m_settingsFile(pathIn(m_workDir, kSettingsFile)), m_load(std::move(startedLoad))
{
    Q_ASSERT(!m_workDir.isEmpty());
}

QString QuestTracker::databasePath(const QString &workDir)
{
    return pathIn(workDir, kDatabaseFile);
}

std::unique_ptr<QuestDataLoad> QuestTracker::startLoading(const QString &workDir)
{
    return std::make_unique<QuestDataLoad>(databasePath(workDir));
}

bool QuestTracker::LoadQuestData()
{
    if (!m_load)
        m_load = startLoading(m_workDir);
    std::optional<QuestCatalog> catalog = m_load->take();
    if (!catalog) {
        m_load.reset();
        return false;
    }
    // The load stays: its thread goes on decoding the texts after the names.
    m_catalog = std::move(*catalog);
    return true;
}

void QuestTracker::removeSaveLeftovers() const
{
    pelko::removeSaveLeftovers(m_workDir, {kProgressFile, kSettingsFile});
}

ProgressNotice QuestTracker::LoadClearStatus()
{
    m_clearStatusTable = ClearStatusTable(intNumberOfContents());
    const FileRead file = m_progressFile.read(kMaxClearStatusBytes);
    if (file.status == ReadStatus::Missing)
        return ProgressNotice::FirstRun; // the table stays all not done; nothing is written
    ClearStatusLoad load = parseClearStatus(file.bytes, intNumberOfContents());
    m_clearStatusTable = std::move(load.table);
    return load.damaged || !file.ok() ? ProgressNotice::Damaged : ProgressNotice::None;
}

bool QuestTracker::SaveClearStatus()
{
    return m_progressFile.save(serializeClearStatus(m_clearStatusTable));
}

WindowSettings QuestTracker::LoadSettings()
{
    const SettingsValues v = parseSettings(m_settingsFile.read(kMaxSettingsBytes).bytes);
    const int regionItems = static_cast<int>(regionSelectorItems().size());
    const int stateItems = static_cast<int>(stateSelectorItems().size());
    return {judged(v[0], regionItems), judged(v[1], stateItems), judged(v[2], 2), judged(v[3], 2)};
}

bool QuestTracker::SaveSettings(const WindowSettings &s) const
{
    const auto value = [](int v) { return static_cast<std::int16_t>(v); };
    const SettingsValues v{value(s.regionItem), value(s.stateItem), value(s.treeView),
                           value(s.noConfirmation)};
    return m_settingsFile.save(serializeSettings(v));
}

QuestList QuestTracker::listFor(const ListSelection &selection) const
{
    const QuestFilter filter(questTable(), m_clearStatusTable, selection.filter);
    QuestListBuilder builder(m_catalog, filter,
                             selection.tree ? ListPresentation::Tree : ListPresentation::Flat);
    builder.addAllRows();
    return builder.takeEntries();
}

QuestList QuestTracker::searchFor(const QString &keyword, const FilterSelection &selection) const
{
    const QuestFilter filter(questTable(), m_clearStatusTable, selection);
    QuestListBuilder builder(m_catalog, filter, ListPresentation::Flat);
    const std::vector<bool> found = rowsContainingKeyword(questTable(), keyword);
    const std::int16_t n = intNumberOfContents();
    for (std::int16_t r = 1; r <= n && r > 0; ++r) {
        if (found[static_cast<std::size_t>(r)])
            builder.AddQuestToList(r);
    }
    return builder.takeEntries();
}

std::optional<QuestDetail> QuestTracker::detailOf(int row) const
{
    if (!questTable().isRow(row))
        return std::nullopt;
    QuestDetail detail = detailTexts(questTable(), row);
    detail.option = shownOption(row);
    detail.changeable = storedProgress(row).has_value();
    return detail;
}

std::optional<std::uint8_t> QuestTracker::storedProgress(int row) const
{
    if (!questTable().isRow(row))
        return std::nullopt;
    return m_clearStatusTable.progressOf(questTable().numbers(row).QuestNo);
}

bool QuestTracker::isChange(int row, int index) const
{
    const std::optional<std::uint8_t> stored = storedProgress(row);
    return stored && index != *stored;
}

QString QuestTracker::confirmationPrompt(int row, int index) const
{
    return texts::confirmationPrompt(questTable().text(row, TextField::QuestName), index);
}

std::optional<int> QuestTracker::shownOption(int row) const
{
    const std::optional<std::uint8_t> stored = storedProgress(row);
    if (!stored || *stored > OnHold)
        return std::nullopt;
    return *stored;
}

bool QuestTracker::changeProgress(int row, int index)
{
    m_clearStatusTable.set(questTable().numbers(row).QuestNo, static_cast<std::uint8_t>(index));
    return SaveClearStatus();
}

int QuestTracker::positionAfterRebuild(int selectedBefore, int countBefore, int countAfter)
{
    if (countAfter < 1)
        return -1;
    const int position = countBefore >= 1 ? selectedBefore : 0;
    return std::clamp(position, 0, countAfter - 1);
}

ProgressStatistics QuestTracker::statistics() const
{
    const std::int16_t intCompletedQuest = countCompleted(m_clearStatusTable);
    return {
        texts::completedCaption(QString::number(intCompletedQuest)),
        texts::completionRateCaption(completionRateText(intCompletedQuest, intNumberOfContents()))};
}

} // namespace pelko
