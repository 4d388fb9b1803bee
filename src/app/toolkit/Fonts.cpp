#include "Fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

namespace pelko {
namespace {

constexpr qreal kRowPoints = 255 / 20.0; // a row of the windows, 255 twips, in points

QStringList gothicFamilies()
{
    return {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
            QStringLiteral("IPAGothic"),  QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic"),
            QStringLiteral("Sans Serif")};
}

} // namespace

QFont japaneseUiFont()
{
    QFont font;
    font.setFamilies(gothicFamilies());
    // The windows' rows are 255 twips (12.75 points) high, drawn for a 9-point face whose line
    // fits them. A face with a taller line (Noto Sans CJK JP's is 1.45 em: 13 points at 9) is
    // taken half a point smaller until its line fits, and its wide kana then fit the boxes too.
    QFont probe = font;
    probe.setPixelSize(1000); // the line per em, free of rounding
    const qreal lineEm = QFontMetricsF(probe).height() / 1000;
    qreal points = 9;
    while (points > 7 && lineEm * points > kRowPoints)
        points -= 0.5;
    font.setPointSizeF(points);
    return font;
}

QFont listFont(const QFont &font)
{
    static const QStringList unshapedAlike{QStringLiteral("IPAPGothic"),
                                           QStringLiteral("IPAGothic")};
    if (!unshapedAlike.contains(QFontInfo(font).family()))
        return font;
    QFont plain = font;
    plain.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    return plain;
}

QFont aboutTitleFont()
{
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")}
                     + gothicFamilies());
    font.setPointSizeF(14.25);
    font.setBold(true);
    return font;
}

} // namespace pelko
