#include "Texts.h"

#include <utility>

namespace pelko {
namespace texts {

QString secondCopy()
{
    return QStringLiteral("このアプリケーションを\r複数起動することはできません。");
}

QString databaseUnreadable()
{
    return QStringLiteral("クエスト情報ファイルの読み込みに失敗したので、強制終了します。");
}

QString firstRunNotice()
{
    return QStringLiteral("登録されているクエスト情報は、作者が独自に調査したものの他に、\r\n"
                          "書籍やインターネットで調べた情報が含まれています。\r\n"
                          "よって、本ソフトの使用によって不利益や損害が発生したとしても\r\n"
                          "作者はいかなる保証もしないことをあらかじめご了承ください。\r\n"
                          "　\r\n"
                          "また本ソフトはその性質上、ネタバレ情報が多分に含まれています\r\n"
                          "のでご注意ください。");
}

QString damagedProgress()
{
    return QStringLiteral("クリア状況データが破損している可能性があります。");
}

QString writeError()
{
    return QStringLiteral("データ書き込み中にエラーが発生しました。");
}

QString emptyKeyword()
{
    return QStringLiteral("アイテム名などを入力してから\r\n検索ボタンを押してください");
}

QString launcherFailure(const QString &kind, const QString &folder)
{
    const std::pair<const char *, QString> reasons[] = {
        {"no-home", QStringLiteral("データフォルダ「%1」の場所が分かりません"
                                   "（環境変数 HOME が設定されていません）。")},
        {"not-a-folder", QStringLiteral("データフォルダ「%1」の場所に、フォルダではないもの"
                                        "（ファイルや、行き先のないリンク）があります。")},
        {"cannot-make", QStringLiteral("データフォルダ「%1」を作れません。")},
        {"cannot-enter", QStringLiteral("データフォルダ「%1」を開けません。")},
        {"cannot-write", QStringLiteral("データフォルダ「%1」に書き込めないため、"
                                        "クエスト情報ファイルを置けません。")},
    };
    for (const auto &[name, text] : reasons) {
        if (kind == QLatin1String(name))
            return text.arg(folder)
                   + QStringLiteral("\r\nフォルダを確かめてから、もう一度起動して"
                                    "ください。");
    }
    return {};
}

QString numberOfContentsCaption(const QString &count)
{
    return QStringLiteral("登録クエスト数： ") + count;
}

QString displayCountCaption(const QString &count)
{
    return QStringLiteral("表示数： ") + count;
}

QString completedCaption(const QString &completed)
{
    return QStringLiteral("コンプリート数： ") + completed;
}

QString completionRateCaption(const QString &rate)
{
    return QStringLiteral("クリア率： ") + rate + QStringLiteral("％");
}

QString confirmationPrompt(const QString &questName, int index)
{
    const QString state = index == 0   ? QStringLiteral("やっていない")
                          : index == 1 ? QStringLiteral("コンプリート")
                                       : QStringLiteral("保留");
    return QStringLiteral("「") + questName + QStringLiteral("」の\r\n")
           + QStringLiteral("クリア状況を「") + state + QStringLiteral("」に変更します。\r\n")
           + QStringLiteral("よろしいですか？");
}

} // namespace texts

} // namespace pelko
