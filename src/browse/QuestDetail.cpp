#include "QuestDetail.h"

namespace pelko {

QString ConvertLineBreaks(const QString &source)
{
    static const QString escape = QStringLiteral("\\n");
    QString result;
    result.reserve(source.size() + 8);
    qsizetype from = 0;
    for (qsizetype p = source.indexOf(escape); p >= 0; p = source.indexOf(escape, from)) {
        result += QStringView(source).mid(from, p - from);
        result += QStringLiteral("\r\n");
        from = p + escape.size();
    }
    result += QStringView(source).mid(from);
    return result;
}

QuestDetail detailTexts(const QuestTable &table, int row)
{
    QuestDetail d;
    d.client = table.text(row, TextField::Client);
    d.process = ConvertLineBreaks(table.text(row, TextField::Process));
    d.reward1 = ConvertLineBreaks(table.text(row, TextField::Reward1));
    d.reward2 = ConvertLineBreaks(table.text(row, TextField::Reward2));
    return d;
}

} // namespace pelko
