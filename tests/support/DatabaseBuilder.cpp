#include "DatabaseBuilder.h"

#include <QStringEncoder>

namespace pelko::test {

QByteArray ansi(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    QByteArray bytes = encoder(text);
    if (encoder.hasError())
        qFatal("test text not representable in code page 932");
    return bytes;
}

QByteArray databaseBytes(const std::vector<Quest> &quests, bool withEndRecord)
{
    QByteArray out;
    int row = 0;
    for (const Quest &q : quests) {
        ++row;
        out += "0," + QByteArray::number(q.region) + ',' + QByteArray::number(q.chainNo) + ','
               + QByteArray::number(q.questNo ? q.questNo : row);
        for (const QString *t : {&q.name, &q.client, &q.process, &q.reward1, &q.reward2})
            out += ",\"" + ansi(*t) + '"';
        out += "\r\n";
    }
    if (withEndRecord)
        out += "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";
    return out;
}

std::vector<Quest> namedQuests(const QStringList &names)
{
    std::vector<Quest> quests;
    for (const QString &n : names) {
        Quest q;
        q.name = n;
        quests.push_back(q);
    }
    return quests;
}

} // namespace pelko::test
