#include "DamagedDatabases.h"

#include "DatabaseBuilder.h"
#include "QuestDatabaseGenerator.h"

namespace pelko::test {
namespace {

const QByteArray kEnd = "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";

QByteArray threeQuests()
{
    return databaseBytes(namedQuests({QStringLiteral("ソードの試練"), QStringLiteral("表彰式"),
                                      QStringLiteral("能面の謎")}));
}

QByteArray replaced(QByteArray bytes, const QByteArray &from, const QByteArray &to)
{
    return bytes.replace(from, to);
}

} // namespace

std::vector<DamagedDatabase> damagedDatabases()
{
    const QByteArray good = threeQuests();
    // "能" is 0x94 0x5C: cutting after its first byte ends the file inside a character.
    const QByteArray noh = ansi(QStringLiteral("能"));
    const QByteArray cutInsideCharacter = good.left(good.indexOf(noh) + 1);
    const QByteArray record = "0,1,0,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n";

    QByteArray longLine = "0,1,0,1,\"long\",\"\",\"" + QByteArray(6 * 1024 * 1024, 'x')
                          + "\",\"\",\"\"\r\n" + kEnd;
    QByteArray tooMany = sample::generateQuestDatabase(sample::kMaxQuestCount);
    tooMany.insert(tooMany.lastIndexOf("0,99,"), "0,1,0,1,\"extra\",\"\",\"\",\"\",\"\"\r\n");

    return {
        {QStringLiteral("three quests"), good, true, 3},
        {QStringLiteral("cut inside a two-byte character"), cutInsideCharacter, false, 0},
        {QStringLiteral("lone lead byte before a comma"),
         "0,1,0,1,abc\x81,\"b\",\"c\",\"d\",\"e\"\r\n" + kEnd, true, 1},
        {QStringLiteral("NUL bytes"), QByteArray("0,1,0,1,\"a\0b\",\"\0\",\"c\",\"d\",\"e\"\r\n", 31) + kEnd,
         true, 1},
        {QStringLiteral("one line of several megabytes"), longLine, true, 1},
        {QStringLiteral("32766 records"), sample::generateQuestDatabase(sample::kMaxQuestCount), true,
         sample::kMaxQuestCount},
        {QStringLiteral("32767 records"), tooMany, false, 0},
        {QStringLiteral("LF line ends"), replaced(good, "\r\n", "\n"), true, 3},
        {QStringLiteral("CR line ends"), replaced(good, "\r\n", "\r"), true, 3},
        {QStringLiteral("UTF-8 text"),
         QStringLiteral("0,1,0,1,\"竜の巣\",\"村\",\"倒す\",\"剣\",\"\"\r\n").toUtf8() + kEnd, true, 1},
        {QStringLiteral("empty file"), QByteArray(), false, 0},
        {QStringLiteral("end record only"), kEnd, true, 0},
        {QStringLiteral("no end record"), record + record, false, 0},
        {QStringLiteral("end record cut short"), record + "0,99,0,0", false, 0},
        {QStringLiteral("region 256"), "0,256,0,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n" + kEnd, false, 0},
        {QStringLiteral("quest number 40000"), "0,1,0,40000,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n" + kEnd,
         false, 0},
        {QStringLiteral("text in a number"), "0,x,0,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n" + kEnd, false, 0},
        {QStringLiteral("lines after the end record"), good + "garbage,\"\r\n1,2\r\n", true, 3},
        {QStringLiteral("region and quest number outside the table"),
         "0,0,0,7,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n0,42,0,-3,\"f\",\"g\",\"h\",\"i\",\"j\"\r\n" + kEnd,
         true, 2},
    };
}

} // namespace pelko::test
