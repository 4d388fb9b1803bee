#include "QuestText.h"

#include "SeededRandom.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>

namespace pelko::sample::questtext {
namespace {

// A few words carry characters whose Shift_JIS trail byte is 0x5C (ソ, 表, 能, 予, 十), so the
// generated files exercise readers that would mistake that byte for a backslash.

constexpr QStringView kPlaces[] = {
    u"霧の谷",       u"白砂の浜",   u"黒鉄の鉱山", u"風鳴りの丘", u"月影の森",   u"星降る湖",
    u"灰色の荒野",   u"竜骨の峡谷", u"古代神殿",   u"嘆きの洞窟", u"鏡の湖",     u"凍える山脈",
    u"眠れる遺跡",   u"紅葉の里",   u"潮騒の岬",   u"砂塵の街道", u"光の塔",     u"闇の回廊",
    u"忘れられた村", u"水晶の洞",   u"大樹の根元", u"雷鳴の高原", u"銀の泉",     u"黄昏の港",
    u"朝霧の湿原",   u"石造りの砦", u"地底湖",     u"天空の島",   u"琥珀の谷",   u"鐘の鳴る町",
    u"風車の丘",     u"蛍の沢",     u"巨人の足跡", u"魔女の庵",   u"王家の墓所", u"精霊の森",
    u"鉄の橋",       u"赤土の平原", u"雪解けの村", u"燃える火山", u"青の洞窟",   u"沈んだ都",
    u"灯台の島",     u"薔薇の庭園", u"狼の森",     u"石切り場",   u"古い果樹園", u"大図書館",
};

constexpr QStringView kAdjectives[] = {
    u"古びた",   u"黄金の",     u"呪われた", u"眠れる",   u"失われた", u"伝説の", u"小さな",
    u"青い",     u"赤い",       u"白銀の",   u"黒い",     u"秘密の",   u"謎の",   u"壊れた",
    u"聖なる",   u"忘れられた", u"輝く",     u"凍った",   u"燃える",   u"幻の",   u"偽りの",
    u"真実の",   u"約束の",     u"最後の",   u"始まりの", u"旅人の",   u"王家の", u"魔法の",
    u"不思議な", u"静かな",     u"嵐の",     u"星の",
};

constexpr QStringView kThings[] = {
    u"指輪",   u"剣",   u"盾",     u"地図",   u"鍵",     u"首飾り", u"手紙",
    u"竪琴",   u"宝石", u"王冠",   u"杖",     u"仮面",   u"羅針盤", u"砂時計",
    u"鐘",     u"灯火", u"花",     u"種",     u"卵",     u"書物",   u"日記",
    u"約束",   u"誓い", u"歌",     u"祈り",   u"記憶",   u"足跡",   u"影",
    u"扉",     u"石碑", u"紋章",   u"角笛",   u"聖杯",   u"護符",   u"鎧",
    u"兜",     u"弓",   u"魔導書", u"表彰状", u"能面",   u"技能書", u"予言書",
    u"十字架", u"宝箱", u"人形",   u"時計",   u"望遠鏡", u"巻物",   u"水晶玉",
    u"笛",     u"絵画", u"彫像",   u"王笏",   u"鈴",     u"ソナタ", u"表札",
    u"才能",   u"種火", u"帆船",   u"木馬",   u"燭台",   u"天秤",   u"ソウルストーン",
};

constexpr QStringView kVerbs[] = {
    u"取り戻せ", u"探して",   u"届けよ",     u"守れ",     u"追え", u"見つけ出せ",
    u"集めよ",   u"運べ",     u"封印せよ",   u"解き放て", u"作れ", u"直せ",
    u"磨け",     u"調べよ",   u"返せ",       u"奪え",     u"隠せ", u"捧げよ",
    u"鍛えよ",   u"読み解け", u"売りさばけ", u"預かれ",   u"壊せ", u"清めよ",
};

constexpr QStringView kPeople[] = {
    u"鍛冶屋", u"宿屋の女将", u"老いた漁師", u"吟遊詩人", u"見習い騎士", u"迷子の少女", u"村長",
    u"薬師",   u"占い師",     u"錬金術師",   u"墓守",     u"船乗り",     u"羊飼い",     u"木こり",
    u"商人",   u"学者",       u"司祭",       u"魔法使い", u"狩人",       u"料理人",     u"道具屋",
    u"花売り", u"郵便屋",     u"衛兵",       u"盗賊",     u"王女",       u"老騎士",     u"庭師",
    u"画家",   u"職人",       u"踊り子",     u"放浪者",
};

constexpr QStringView kRequests[] = {
    u"頼みごと", u"悩み",   u"落とし物", u"秘密",   u"願い",   u"忘れ物", u"探し物",
    u"贈り物",   u"試練",   u"宿題",     u"恩返し", u"昔話",   u"失敗",   u"夢",
    u"弟子入り", u"里帰り", u"大仕事",   u"手伝い", u"挑戦状", u"約束",
};

constexpr QStringView kTowns[] = {
    u"港町リュート",   u"王都グランベル", u"鉱山町ドルム",   u"森の村エルム",   u"砂の都サフラ",
    u"雪の町ノルデ",   u"湖畔の町ミズリ", u"花の村フルール", u"城塞都市ガルム", u"学園都市セレネ",
    u"漁村コルト",     u"宿場町ハルト",   u"水の都ヴェネラ", u"風の村ソラン",   u"山里トウゲ",
    u"灯台の町ラント", u"交易都市マルカ", u"鐘の町ルミエ",   u"古都オルディア", u"開拓村ニーダ",
    u"石の町ロッカ",   u"霧の町ミスト",   u"星見の町ステラ", u"火の町ヒノモ",
};

constexpr QStringView kRoles[] = {
    u"鍛冶屋",     u"宿屋の主人", u"村長",   u"衛兵", u"薬師", u"神官", u"商人",   u"漁師",
    u"酒場の店主", u"学者",       u"占い師", u"兵士", u"農夫", u"司書", u"道具屋", u"冒険者",
};

constexpr QStringView kNpcs[] = {
    u"ガルド", u"リュミエ", u"オズワン", u"セフィラ", u"トルテ",   u"ミーナ",   u"ボルグ",
    u"エイダ", u"カナン",   u"ユーリス", u"ネフィ",   u"ドラン",   u"ソーマ",   u"ルーク",
    u"フレイ", u"アリア",   u"ゼノ",     u"ティナ",   u"ハンス",   u"ロゼ",     u"ギル",
    u"ノエル", u"マルタ",   u"クロエ",   u"ダリオ",   u"ペネロ",   u"イザーク", u"ラミ",
    u"ヨハン", u"サラ",     u"ベン",     u"コニー",   u"モリス",   u"ニコ",     u"ウルザ",
    u"エリカ", u"ジーク",   u"フィオナ", u"ロラン",   u"ヴィオラ",
};

constexpr QStringView kMonsters[] = {
    u"スライム", u"大ガラス",   u"森オオカミ", u"岩ガニ",   u"骸骨兵",     u"火トカゲ",
    u"氷の精",   u"大こうもり", u"盗賊",       u"山賊の頭", u"ゴブリン",   u"オーク",
    u"毒ぐも",   u"大ムカデ",   u"亡霊騎士",   u"石像兵",   u"砂ザメ",     u"沼ワニ",
    u"雷鳥",     u"鎧ムシ",     u"人喰い花",   u"泥人形",   u"大イノシシ", u"はぐれ魔導士",
};

constexpr QStringView kMaterials[] = {
    u"薬草",     u"毒消し",   u"鉄鉱石",     u"獣の毛皮", u"蜂蜜",   u"星の砂",
    u"月光の雫", u"聖水",     u"丈夫な木材", u"麻の糸",   u"銀の粒", u"竜のうろこ",
    u"魔法の粉", u"古い硬貨", u"青い花",     u"白い羽",   u"貝殻",   u"小麦粉",
    u"干し肉",   u"松やに",   u"火打ち石",   u"雪の結晶", u"赤い実", u"精霊の葉",
};

constexpr QStringView kElements[] = {u"炎", u"水", u"雷", u"光", u"氷", u"聖水"};

constexpr QStringView kGear[] = {
    u"剣", u"盾",     u"指輪", u"首飾り", u"護符", u"杖",
    u"弓", u"マント", u"兜",   u"靴",     u"腕輪", u"帽子",
};

// The line break escape as it is written inside a text field.
constexpr QStringView kBreak = u"\\n";

QString join(std::initializer_list<QStringView> parts)
{
    QString text;
    for (QStringView part : parts)
        text += part;
    return text;
}

QString number(int value)
{
    return QString::number(value);
}

// Picks Count different words from one list, for enumerations that should not repeat a word.
template <std::size_t Count, std::size_t N>
std::array<QStringView, Count> pickDistinct(SeededRandom &rng, const QStringView (&items)[N])
{
    static_assert(Count <= N);
    std::array<QStringView, Count> picked;
    for (std::size_t i = 0; i < Count; ++i) {
        do
            picked[i] = rng.pick(items);
        while (std::find(picked.begin(), picked.begin() + i, picked[i]) != picked.begin() + i);
    }
    return picked;
}

QString person(SeededRandom &rng)
{
    return join({rng.pick(kRoles), rng.pick(kNpcs)});
}

constexpr int kSentenceKinds = 13;

QString sentence(SeededRandom &rng, int kind)
{
    switch (kind) {
    case 0:
        return join({rng.pick(kPlaces), u"にいる", person(rng), u"に話を聞く。"});
    case 1:
        return join({rng.pick(kMonsters), u"を", number(rng.between(3, 20)), u"体倒す。"});
    case 2:
        return join({rng.pick(kMaterials), u"を", number(rng.between(2, 12)), u"個集めて",
                     person(rng), u"に届ける。"});
    case 3: { // ASCII commas inside the quoted text
        const auto items = pickDistinct<3>(rng, kMaterials);
        return join({u"必要な品: ", items[0], u" x", number(rng.between(1, 9)), u", ", items[1],
                     u" x", number(rng.between(1, 9)), u", ", items[2]});
    }
    case 4:
        return join({rng.pick(kMonsters), u"は", rng.pick(kElements),
                     u"に弱いので、準備をしてから向かうこと。"});
    case 5:
        return join({rng.pick(kPlaces), u"の奥で", rng.pick(kAdjectives), rng.pick(kThings),
                     u"を探し出す。"});
    case 6:
        return join({u"夜になると", rng.pick(kPlaces), u"に", rng.pick(kMonsters), u"が現れる。"});
    case 7: {
        const auto monsters = pickDistinct<2>(rng, kMonsters);
        return join({u"道中は", monsters[0], u", ", monsters[1], u"に注意。"});
    }
    case 8:
        return join({person(rng), u"の才能を見込んで、", rng.pick(kPlaces), u"まで護衛する。"});
    case 9:
        return QStringLiteral("集めた情報を一覧表にまとめて依頼主に見せる。");
    case 10:
        return QStringLiteral("報酬は依頼主から直接受け取ること。");
    case 11:
        return join({rng.pick(kAdjectives), rng.pick(kThings), u"は", rng.pick(kPlaces), u"の",
                     rng.pick(kRoles), u"が預かっている。"});
    default:
        return join({u"ソウルの力を感じる場所を", number(rng.between(2, 5)), u"か所調べる。"});
    }
}

QString gold(SeededRandom &rng, int low, int high)
{
    return join({number(rng.between(low, high) * 10), u"ゴールド"});
}

} // namespace

QString questName(SeededRandom &rng)
{
    const int pattern = rng.below(100);
    if (pattern < 10)
        return join({rng.pick(kPlaces), u"の", rng.pick(kThings)});
    if (pattern < 40)
        return join({rng.pick(kAdjectives), rng.pick(kThings), u"を", rng.pick(kVerbs)});
    if (pattern < 70)
        return join({rng.pick(kPlaces), u"の", rng.pick(kAdjectives), rng.pick(kThings)});
    if (pattern < 75)
        return join({rng.pick(kPeople), u"の", rng.pick(kRequests)});
    return join({rng.pick(kPeople), u"と", rng.pick(kAdjectives), rng.pick(kThings)});
}

QString client(SeededRandom &rng, bool unnamedRegion)
{
    // Places outside the named regions are often shown without a name at all.
    if (unnamedRegion && rng.chance(500))
        return QStringLiteral("？？？");
    if (rng.chance(50))
        return rng.pick(kPlaces).toString();
    // Some clients are written on two lines; the escape is displayed as it is.
    const QStringView separator = rng.chance(120) ? kBreak : QStringView(u" ");
    return join({rng.pick(kTowns), separator, person(rng)});
}

QString process(SeededRandom &rng)
{
    // Sentences are added until the text is at least 60 characters, stopping before a sentence
    // would pass a target picked in 60..200. A sentence is far shorter than 138 characters, so
    // the result always stays within 60..200. No kind of sentence is used twice in one text.
    const int target = rng.between(60, 200);
    std::array<bool, kSentenceKinds> used{};
    auto nextSentence = [&rng, &used] {
        if (std::find(used.begin(), used.end(), false) == used.end())
            used.fill(false);
        int kind;
        do
            kind = rng.below(kSentenceKinds);
        while (used[static_cast<std::size_t>(kind)]);
        used[static_cast<std::size_t>(kind)] = true;
        return sentence(rng, kind);
    };

    QString text = nextSentence();
    for (;;) {
        const QString next = nextSentence();
        const QStringView separator = rng.chance(850) ? kBreak : QStringView();
        if (text.size() >= 60 && text.size() + separator.size() + next.size() > target)
            break;
        text += separator;
        text += next;
    }
    return text;
}

QString reward1(SeededRandom &rng, bool withPotion, bool withRareFeather)
{
    QString parts[4];
    int count = 0;
    if (withRareFeather)
        parts[count++] = QStringLiteral("虹色の羽根");
    if (withPotion)
        parts[count++] = join({u"ポーション x", number(rng.between(1, 5))});
    if (rng.chance(450))
        parts[count++] = join({rng.pick(kAdjectives), rng.pick(kGear)});
    if (count == 0 || rng.chance(700))
        parts[count++] = gold(rng, 5, 500);

    const QStringView separator = rng.chance(100) ? QStringView(u", ") : kBreak;
    QString text = parts[0];
    for (int i = 1; i < count; ++i) {
        text += separator;
        text += parts[i];
    }
    return text;
}

QString reward2(SeededRandom &rng)
{
    const int kind = rng.below(100);
    if (kind < 35)
        return QString();
    if (kind < 50)
        return join({u"経験値 ", number(rng.between(10, 5000))});
    if (kind < 75)
        return gold(rng, 1, 200);
    return join(
        {gold(rng, 1, 200), kBreak, rng.pick(kMaterials), u" x", number(rng.between(1, 5))});
}

} // namespace pelko::sample::questtext
