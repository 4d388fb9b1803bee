#pragma once

#include <QString>

namespace pelko {

// The main window's messages and captions, each written once here.
namespace texts {

QString secondCopy();         // two lines joined by a lone CR
QString databaseUnreadable(); // the fatal message before the program ends
QString firstRunNotice();     // seven lines joined by CR LF
QString damagedProgress();
QString writeError(); // a progress or settings save failed
QString emptyKeyword();

// The four figures under the list, each after its caption's prefix: "登録クエスト数： 57". The
// window's design-time texts are the same captions with placeholder figures ("000", "00.00").
QString numberOfContentsCaption(const QString &count); // "登録クエスト数： N"
QString displayCountCaption(const QString &count);     // "表示数： N"
QString completedCaption(const QString &completed);    // "コンプリート数： N"
QString completionRateCaption(const QString &rate);    // "クリア率： R％"

// Three lines joined by CR LF: 「name」の / クリア状況を「state」に変更します。 / よろしいですか？
// The state is named "やっていない" for 0, "コンプリート" for 1 (not "クリア", as on its option)
// and "保留" for any other index.
QString confirmationPrompt(const QString &questName, int index);

// Why the launcher could not start the program in the data folder, by the launcher's name for
// the failure ("no-home", "not-a-folder", "cannot-make", "cannot-enter", "cannot-write"); empty
// for a name it does not use.
QString launcherFailure(const QString &kind, const QString &folder);

} // namespace texts

} // namespace pelko
