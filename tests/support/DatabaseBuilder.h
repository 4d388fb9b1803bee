#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace pelko::test {

// One quest as a test writes it; texts are encoded to code page 932 and quoted.
struct Quest {
    int region = 1;
    int chainNo = 0;
    int questNo = 0; // 0: the row number
    QString name;
    QString client{};
    QString process{};
    QString reward1{};
    QString reward2{};
};

QByteArray ansi(const QString &text);

// A Pelko.dat image: one line per quest, CR LF, then the end record.
QByteArray databaseBytes(const std::vector<Quest> &quests, bool withEndRecord = true);

// Quests named after letters, one a row, all in region 1: a quick table for list tests.
std::vector<Quest> namedQuests(const QStringList &names);

} // namespace pelko::test
