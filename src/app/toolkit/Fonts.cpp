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

qreal uiPointSize(qreal kanaAdvance, qreal lineHeight)
{
    qreal points = kanaAdvance < 0.95 ? 9 : 8.5;
    while (points > 7 && lineHeight * points > kRowPoints)
        points -= 0.5;
    return points;
}

QFont japaneseUiFont()
{
    QFont font;
    font.setFamilies(gothicFamilies());
    QFont probe = font;
    probe.setPixelSize(1000); // measured large, free of rounding
    const QFontMetricsF metrics(probe);
    const qreal em = probe.pixelSize();
    font.setPointSizeF(
        uiPointSize(metrics.horizontalAdvance(QChar(u'ア')) / em, metrics.height() / em));
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
