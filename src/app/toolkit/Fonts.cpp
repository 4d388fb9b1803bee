#include "Fonts.h"

#include <QFontInfo>
#include <QStringList>

namespace pelko {
namespace {

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
    font.setPointSizeF(9);
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
