<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CheckText</name>
    <message>
        <source>field 1</source>
        <translation>第1項目</translation>
    </message>
    <message>
        <source>Region</source>
        <translation>地域</translation>
    </message>
    <message>
        <source>ChainNo</source>
        <translation>連続番号</translation>
    </message>
    <message>
        <source>QuestNo</source>
        <translation>クエスト番号</translation>
    </message>
    <message>
        <source>QuestName</source>
        <translation>クエスト名</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>依頼場所</translation>
    </message>
    <message>
        <source>Process</source>
        <translation>内容</translation>
    </message>
    <message>
        <source>Reward1</source>
        <translation>報酬</translation>
    </message>
    <message>
        <source>Reward2</source>
        <translation>リピート報酬</translation>
    </message>
    <message>
        <source>field %1</source>
        <translation>第%1項目</translation>
    </message>
    <message>
        <source> (the quest is listed only when all regions are shown)</source>
        <translation>（「（すべて）」でしか一覧に出ません）</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>ファイルがありません</translation>
    </message>
    <message>
        <source>cannot read the file</source>
        <translation>ファイルを読み込めません</translation>
    </message>
    <message>
        <source>the file is too large (files above %1 bytes are not read)</source>
        <translation>ファイルが大きすぎます（%1 バイトを超えるファイルは読み込みません）</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>ファイルが空です</translation>
    </message>
    <message>
        <source>no end record (a record whose Region is 99); the file ends after 1 record</source>
        <translation>終了レコード（地域が 99 のレコード）がありません（1 件のレコードの後でファイルが終わっています）</translation>
    </message>
    <message>
        <source>no end record (a record whose Region is 99); the file ends after %1 records</source>
        <translation>終了レコード（地域が 99 のレコード）がありません（%1 件のレコードの後でファイルが終わっています）</translation>
    </message>
    <message>
        <source>the record is cut short by the end of the file (%1 and every field after it are missing)</source>
        <translation>レコードがファイルの終わりで途切れています（%1から後がありません）</translation>
    </message>
    <message>
        <source>%1 is not a number</source>
        <translation>%1が数値ではありません</translation>
    </message>
    <message>
        <source>%1 is out of range (%2)</source>
        <translation>%1の値が範囲（%2）を外れています</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1〜%2</translation>
    </message>
    <message>
        <source>too many quests (this is quest %1; at most %2 can be loaded)</source>
        <translation>クエストが多すぎます（%1 件目。読み込めるのは %2 件まで）</translation>
    </message>
    <message>
        <source>more than nine fields on this line</source>
        <translation>この行には項目が 9 個より多くあります</translation>
    </message>
    <message>
        <source> (the tenth starts the next record and every later record is shifted)</source>
        <translation>（10 個目からが次のレコードになり、以降のレコードがずれます）</translation>
    </message>
    <message>
        <source>fewer than nine fields on this line; the record runs on into line %1 (every later record is shifted)</source>
        <translation>この行には項目が 9 個に足りず、レコードが %1 行目の途中まで続きます（以降のレコードがずれます）</translation>
    </message>
    <message>
        <source>the record runs on to line %1 (a line with fewer than nine fields, or a line break inside quotes)</source>
        <translation>レコードが %1 行目まで続いています（項目が 9 個に足りない行か、引用符の中の改行があります）</translation>
    </message>
    <message>
        <source>blank line (read as an empty field; every later record is shifted)</source>
        <translation>空行があります（空の項目として読まれ、以降のレコードがずれます）</translation>
    </message>
    <message>
        <source>blank line (read as an empty field; the record runs on to line %1)</source>
        <translation>空行があります（空の項目として読まれ、レコードが %1 行目まで続きます）</translation>
    </message>
    <message>
        <source>Region %1 is outside 1 to 20</source>
        <translation>地域 %1 は 1〜20 の範囲外です</translation>
    </message>
    <message>
        <source>Region %1 has no region name</source>
        <translation>地域 %1 には地域名がありません</translation>
    </message>
    <message>
        <source>QuestNo %1 is outside 1 to %2 (its progress cannot be recorded)</source>
        <translation>クエスト番号 %1 は 1〜%2 の範囲外です（クリア状況を記録できません）</translation>
    </message>
    <message>
        <source>QuestNo %1 is also used on line %2 (the quests share their progress)</source>
        <translation>クエスト番号 %1 は %2 行目でも使われています（クリア状況が共有されます）</translation>
    </message>
    <message>
        <source>QuestName &quot;%1&quot; is the same as on line %2 (the list shows entries that cannot be told apart)</source>
        <translation>クエスト名「%1」は %2 行目と同じです（一覧に見分けのつかない項目が並びます）</translation>
    </message>
    <message>
        <source>QuestName &quot;%1&quot; begins with the tree view&apos;s mark &quot;%2&quot; (the quest looks like a follow-on of a chain in the list)</source>
        <translation>クエスト名「%1」がツリー表示の印「%2」で始まっています（一覧では連続クエストの続きに見えます）</translation>
    </message>
    <message>
        <source>text after the end record (never read)</source>
        <translation>終了レコードの後に文字があります（読み込まれません）</translation>
    </message>
    <message>
        <source>%1 holds bytes that are not valid Shift_JIS (shown as �)</source>
        <translation>%1に Shift_JIS として正しくないバイトがあります（「�」と表示されます）</translation>
    </message>
    <message>
        <source>the file seems to be written in UTF-8 (save it as Shift_JIS)</source>
        <translation>ファイルが UTF-8 で書かれているようです（Shift_JIS で保存し直してください）</translation>
    </message>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 バイト</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 バイト</translation>
    </message>
    <message>
        <source>%1: summary: quests not counted (the file cannot be loaded), %2</source>
        <translation>%1: 集計: 読み込めないためクエストは数えられません、%2</translation>
    </message>
    <message>
        <source>no region</source>
        <translation>地域なし</translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation>（%1）</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>%1: summary: %2%3, %4, %5</source>
        <translation>%1: 集計: %2%3、%4、%5</translation>
    </message>
    <message>
        <source>1 quest</source>
        <translation>クエスト 1 件</translation>
    </message>
    <message>
        <source>%1 quests</source>
        <translation>クエスト %1 件</translation>
    </message>
    <message>
        <source>1 chain</source>
        <translation>連続クエスト 1 本</translation>
    </message>
    <message>
        <source>%1 chains</source>
        <translation>連続クエスト %1 本</translation>
    </message>
    <message>
        <source>unknown option: %1</source>
        <translation>不明なオプションです: %1</translation>
    </message>
    <message>
        <source>give at most one file</source>
        <translation>ファイルは一つだけ指定してください</translation>
    </message>
    <message>
        <source>Run pelko-check --help for usage.
</source>
        <translation>使い方は pelko-check --help で表示されます
</translation>
    </message>
    <message>
        <source>… and %1 more (only the first %2 findings of each kind are shown)</source>
        <translation>… ほか %1 件（同じ種類の指摘は最初の %2 件だけを表示します）</translation>
    </message>
    <message>
        <source>--lang needs a language: ja or en</source>
        <translation>--lang には言語（ja か en）を指定してください</translation>
    </message>
    <message>
        <source>Usage: pelko-check [OPTION] [FILE]
Checks a quest database (Pelko.dat in the working directory when no FILE is given) and
prints, one line each as &quot;file:line:field: message&quot;, what keeps the program from
loading it (errors) and what a player would notice although it loads (warnings),
then a summary. Control characters from the file and in FILE are shown as \x1B
and the like, and a backslash as \\.

Options:
  --lang=ja, --lang ja   messages in Japanese
  --lang=en, --lang en   messages in English
                         (default: Japanese in a Japanese locale, English in any other)
  --help                 show this help
  --version              show the version

Exit status: 0 the program loads the file, 1 it refuses it, 2 a usage error
</source>
        <translation>使い方: pelko-check [オプション] [ファイル]
クエスト情報ファイル（省略すると作業フォルダの Pelko.dat）を調べ、プログラムが
読み込めない原因（エラー）と、読み込めても遊ぶ人が気づく問題（警告）を
「ファイル:行:項目: 内容」の形で一行ずつ示し、最後に集計を表示します。
ファイルの中の制御文字とファイル名の制御文字は \x1B のように、
バックスラッシュは \\ と表示します。

オプション:
  --lang=ja, --lang ja   日本語で表示します
  --lang=en, --lang en   英語で表示します
                         （省略時は日本語のロケールなら日本語、ほかは英語）
  --help                 この説明を表示します
  --version              バージョンを表示します

終了コード: 0 読み込めるファイル、1 読み込めないファイル、2 使い方の誤り
</translation>
    </message>
    <message>
        <source>unknown language: &quot;%1&quot; (give --lang=ja or --lang=en)</source>
        <translation>不明な言語です:「%1」（--lang=ja か --lang=en を指定してください）</translation>
    </message>
    <message>
        <source>cannot write the report: %1</source>
        <translation>結果を書き出せません: %1</translation>
    </message>
</context>
</TS>
