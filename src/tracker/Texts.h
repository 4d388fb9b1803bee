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

// Why the launcher could not start the program in the data folder, by the launcher's name for
// the failure ("no-home", "not-a-folder", "cannot-make", "cannot-enter", "cannot-write"); empty
// for a name it does not use.
QString launcherFailure(const QString &kind, const QString &folder);

QString numberOfContentsCaption(int count); // "登録クエスト数： N"
QString displayCountCaption(int count);     // "表示数： N"

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
