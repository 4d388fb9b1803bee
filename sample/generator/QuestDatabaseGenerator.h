#pragma once

#include <QByteArray>

#include <cstdint>

namespace pelko::sample {

// Most quest records a Pelko.dat may hold in front of its end record.
inline constexpr int kMaxQuestCount = 32766;

// How much text a row carries besides its name and reward.
enum class TextVolume {
    Full,  // every field as described above: about 330 bytes a row
    Short, // Client, Process and Reward2 left empty: about 64 bytes a row, the same rows,
           // names, rewards and chains as Full for the same seed
};

// Writes a valid Pelko.dat image of questCount quests (0..32766) followed by the end record.
//
// The image is Shift_JIS (code page 932) with CR LF line ends, one nine-field record per line.
// The same questCount and seed always give the same bytes. What the rows look like:
// - Region: a named region code (1..7, 9, 11..13, 20) for about 95% of the rows, otherwise one
//   of the unnamed codes 8, 10, 14..19. All members of a chain share one region.
// - ChainNo: about 30% of the rows sit in chains of 2..6 consecutive rows numbered upwards.
//   Chain groups (ChainNo / 10) only grow through the file; the first chain is in group 0
//   (ChainNo 1..), and now and then a second chain reuses the previous group from offset 5
//   (e.g. 150..152, some unchained rows, then 155..156).
// - QuestNo: a permutation of 1..questCount.
// - QuestName: unique except for about 1% of rows that repeat an earlier name.
// - Process: 60..200 characters with \n escapes and quoted ASCII commas.
// - Reward1: "ポーション" in about 40% of rows, "虹色の羽根" in about 0.1% of rows and in at
//   least one row whenever questCount >= 1. Neither word appears in any other field.
// - Reward2: empty in about a third of the rows (TextVolume::Full).
//
// Returns an empty array if questCount is out of range or the encoder is unavailable.
QByteArray generateQuestDatabase(int questCount, std::uint32_t seed = 1,
                                 TextVolume volume = TextVolume::Full);

} // namespace pelko::sample
