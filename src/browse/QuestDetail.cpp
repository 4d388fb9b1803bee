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

QuestDetail detailOf(const QuestTable &table, const ClearStatusTable &status, int row)
{
    const QuestRecord &rec = table.row(row);
    QuestDetail d;
    d.client = rec.Client;
    d.process = ConvertLineBreaks(rec.Process);
    d.reward1 = ConvertLineBreaks(rec.Reward1);
    d.reward2 = ConvertLineBreaks(rec.Reward2);
    const auto progress = status.progressOf(rec.QuestNo);
    d.changeable = progress.has_value();
    if (progress && *progress <= OnHold)
        d.option = *progress;
    return d;
}

} // namespace pelko
