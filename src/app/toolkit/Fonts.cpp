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
    // The windows were drawn for a 9-point face with proportional kana whose line fits their
    // 255-twip (12.75-point) rows. A face whose kana are an em wide (IPAGothic, Noto Sans CJK JP)
    // is taken half a point smaller, so that its captions fit the boxes; one whose line is taller
    // (Noto Sans CJK JP's is 1.45 em: 13 points at 9) by half points smaller until its line fits.
    QFont probe = font;
    probe.setPixelSize(1000); // measured per em, free of rounding
    const QFontMetricsF em(probe);
    qreal points = em.horizontalAdvance(QChar(u'ア')) < 950 ? 9 : 8.5;
    while (points > 7 && em.height() / 1000 * points > kRowPoints)
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
