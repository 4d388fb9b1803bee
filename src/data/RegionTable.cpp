#include "RegionTable.h"

namespace pelko {

const QStringList &RegionTable()
{
    static const QStringList table = {
        QStringLiteral("ヴォルカナ大陸"),
        QStringLiteral("ミルテラ大陸"),
        QStringLiteral("シルヴァ大陸"),
        QStringLiteral("コロネ大陸"),
        QStringLiteral("マリス諸島"),
        QStringLiteral("偽りのアストリア"),
        QStringLiteral("真のアストリア"),
        QString(),
        QStringLiteral("真のフィオーレの島"),
        QString(),
        QStringLiteral("ベルカ島"),
        QStringLiteral("ティルト島"),
        QStringLiteral("灰の領界"),
        QString(),
        QString(),
        QString(),
        QString(),
        QString(),
        QString(),
        QStringLiteral("その他"),
    };
    return table;
}

QString regionName(std::uint8_t code)
{
    if (code < 1 || code > kRegionCount)
        return {};
    return RegionTable().at(code - 1);
}

} // namespace pelko
