#pragma once

#include <QString>

namespace pelko::sample {

class SeededRandom;

// Japanese texts for one quest row, built from fixed word lists.
// Every word exists in code page 932 and none contains a double quote or a real line break;
// line breaks inside a text are the two characters backslash and n.
// "ポーション" and "虹色の羽根" appear only where reward1() is asked for them.
namespace questtext {

QString questName(SeededRandom &rng);
QString client(SeededRandom &rng, bool unnamedRegion);
QString process(SeededRandom &rng);
QString reward1(SeededRandom &rng, bool withPotion, bool withRareFeather);
QString reward2(SeededRandom &rng);

} // namespace questtext
} // namespace pelko::sample
