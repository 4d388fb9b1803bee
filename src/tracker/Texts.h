#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pelko {

// The main window's messages and run-time captions, each written once here.
namespace texts {

QString secondCopy();         // two lines joined by a lone CR
QString databaseUnreadable(); // the fatal message before the program ends
QString firstRunNotice();     // seven lines joined by CR LF
QString damagedProgress();
QString writeError(); // a progress or settings save failed
QString emptyKeyword();

QString numberOfContentsCaption(int count);         // "登録クエスト数： N"
QString displayCountCaption(int count);             // "表示数： N"
QString completedCaption(int completed);            // "コンプリート数： N"
QString completionRateCaption(const QString &rate); // "クリア率： R％"

// Three lines joined by CR LF: 「name」の / クリア状況を「state」に変更します。 / よろしいですか？
// The state is named "やっていない" for 0, "コンプリート" for 1 (not "クリア", as on its option)
// and "保留" for any other index.
QString confirmationPrompt(const QString &questName, int index);

} // namespace texts

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
