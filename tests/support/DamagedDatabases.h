#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace pelko::test {

// A quest database with one kind of damage, and what loading it must give.
struct DamagedDatabase {
    QString name;
    QByteArray bytes;
    bool loads = false;  // false: the program refuses it with its fatal message
    int quests = 0;      // the number of quests when it loads
};

// The table of damaged and unusual databases that both the program and the check tool are
// run against. A missing file is not in it: it has no bytes.
std::vector<DamagedDatabase> damagedDatabases();

} // namespace pelko::test
