#include "QuestDatabaseGenerator.h"

#include "QuestText.h"
#include "SeededRandom.h"

#include <QSet>
#include <QString>
#include <QStringEncoder>
#include <QtGlobal>

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace pelko::sample {
namespace {

constexpr int kNamedRegions[] = {1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 20};
constexpr int kUnnamedRegions[] = {8, 10, 14, 15, 16, 17, 18, 19};

// Highest group a chain may start in: with offset 5 and up to five members the last ChainNo
// is group * 10 + 9, which must still fit in a signed 16-bit field.
constexpr int kLastChainGroup = 3275;

struct QuestRecord {
    int region = 0;
    int chainNo = 0;
    int questNo = 0;
    QString name;
    QString client;
    QString process;
    QString reward1;
    QString reward2;
};

bool isUnnamedRegion(int region)
{
    return std::find(std::begin(kUnnamedRegions), std::end(kUnnamedRegions), region)
           != std::end(kUnnamedRegions);
}

int pickRegion(SeededRandom &rng)
{
    return rng.chance(50) ? rng.pick(kUnnamedRegions) : rng.pick(kNamedRegions);
}

std::vector<int> shuffledQuestNumbers(int questCount, SeededRandom &rng)
{
    std::vector<int> numbers(static_cast<std::size_t>(questCount));
    std::iota(numbers.begin(), numbers.end(), 1);
    for (int i = questCount - 1; i > 0; --i)
        std::swap(numbers[static_cast<std::size_t>(i)],
                  numbers[static_cast<std::size_t>(rng.below(i + 1))]);
    return numbers;
}

// Hands out the ChainNo of each chain's first member.
class ChainNumbering
{
public:
    bool canStartChain() const { return m_nextGroup <= kLastChainGroup; }

    // An unchained row was written, so a following chain would not touch the previous one.
    void noteUnchainedRow() { m_afterGap = true; }

    int firstChainNo(int length, SeededRandom &rng)
    {
        // Sharing needs a gap: two chains of one group side by side would read as one chain.
        if (m_sharableGroup > 0 && m_afterGap && length <= 5 && rng.chance(250)) {
            const int group = std::exchange(m_sharableGroup, -1);
            m_afterGap = false;
            return group * 10 + 5;
        }
        const int group = m_nextGroup;
        m_nextGroup += rng.chance(100) ? 2 : 1; // groups are not always contiguous
        m_sharableGroup = length <= 5 ? group : -1;
        m_afterGap = false;
        // ChainNo 0 means "no chain", so a chain in group 0 counts from 1.
        return group == 0 ? 1 : group * 10;
    }

private:
    int m_nextGroup = 0;
    int m_sharableGroup = -1;
    bool m_afterGap = false;
};

// Keeps quest names unique, apart from the deliberate repeats of earlier names.
class NameBook
{
public:
    QString freshName(SeededRandom &rng)
    {
        for (int attempt = 0; attempt < 8; ++attempt) {
            QString name = questtext::questName(rng);
            if (!m_used.contains(name)) {
                m_used.insert(name);
                return name;
            }
        }
        // The word lists ran dry for this row; a counter keeps the name unique.
        QString name = questtext::questName(rng) + u'・' + QString::number(++m_fallbacks);
        m_used.insert(name);
        return name;
    }

    QString unchainedName(SeededRandom &rng)
    {
        if (!m_unchained.empty() && rng.chance(14))
            return m_unchained[static_cast<std::size_t>(rng.below(int(m_unchained.size())))];
        m_unchained.push_back(freshName(rng));
        return m_unchained.back();
    }

private:
    QSet<QString> m_used;
    std::vector<QString> m_unchained;
    int m_fallbacks = 0;
};

void appendQuoted(QString &out, const QString &text)
{
    Q_ASSERT(!text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'));
    out += u'"';
    out += text;
    out += u'"';
}

void appendRecord(QString &out, const QuestRecord &record)
{
    // The first field is read and discarded by the program; it is always written as 0.
    out += u"0,";
    out += QString::number(record.region);
    out += u',';
    out += QString::number(record.chainNo);
    out += u',';
    out += QString::number(record.questNo);
    for (const QString *text :
         {&record.name, &record.client, &record.process, &record.reward1, &record.reward2}) {
        out += u',';
        appendQuoted(out, *text);
    }
    out += u"\r\n";
}

} // namespace

QByteArray generateQuestDatabase(int questCount, std::uint32_t seed, TextVolume volume)
{
    if (questCount < 0 || questCount > kMaxQuestCount)
        return {};

    SeededRandom rng(seed);
    const std::vector<int> questNumbers = shuffledQuestNumbers(questCount, rng);
    // Guarantees the rare reward shows up at least once, however small the file.
    const int forcedRareRow = questCount > 0 ? rng.below(questCount) : -1;

    ChainNumbering chains;
    NameBook names;
    QString text;
    text.reserve(questCount * (volume == TextVolume::Full ? 170 : 32) + 32);

    int row = 0;
    while (row < questCount) {
        const int remaining = questCount - row;
        // Starting a chain at ~9.7% of the free rows puts ~30% of all rows in chains (mean 4).
        int length = 1;
        if (remaining >= 2 && chains.canStartChain() && rng.chance(97))
            length = std::min(rng.between(2, 6), remaining);

        const int region = pickRegion(rng);
        const bool unnamed = isUnnamedRegion(region);
        int chainNo = 0;
        QString chainTitle;
        if (length > 1) {
            chainNo = chains.firstChainNo(length, rng);
            chainTitle = names.freshName(rng);
        }

        for (int member = 0; member < length; ++member, ++row) {
            QuestRecord record;
            record.region = region;
            record.questNo = questNumbers[static_cast<std::size_t>(row)];
            if (length > 1) {
                static constexpr char16_t kPartNumbers[] = u"一二三四五六";
                record.chainNo = chainNo + member;
                record.name = chainTitle + u'・' + QChar(kPartNumbers[member]);
            } else {
                chains.noteUnchainedRow();
                record.name = names.unchainedName(rng);
            }
            record.client = questtext::client(rng, unnamed);
            record.process = questtext::process(rng);
            const bool potion = rng.chance(400);
            const bool rare = row == forcedRareRow || rng.chance(1);
            record.reward1 = questtext::reward1(rng, potion, rare);
            record.reward2 = questtext::reward2(rng);
            if (volume == TextVolume::Short) {
                // Made and dropped, so that the random sequence and every other field stay
                // those of the full database.
                record.client.clear();
                record.process.clear();
                record.reward2.clear();
            }
            appendRecord(text, record);
        }
    }

    // The end record: a complete line whose Region is 99. Readers stop there.
    text += u"0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";

    QStringEncoder encoder("windows-31j");
    if (!encoder.isValid()) {
        qWarning("generateQuestDatabase: no windows-31j (code page 932) encoder available");
        return {};
    }
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        // Only reachable if a word outside code page 932 slipped into the word lists.
        qWarning("generateQuestDatabase: text not representable in code page 932");
        return {};
    }
    return bytes;
}

} // namespace pelko::sample
