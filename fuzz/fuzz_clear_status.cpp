// clr_stat.dat: any bytes read into a table of the database's size, and the file written for
// that table reads back as the same table, with the same progress kept for quests above it;
// it is reported as damaged only when such progress is kept (a smaller database).
//
// The first two bytes of an input choose the number of quests (0 to 32766); the rest is the
// file.

#include "ClearStatus.h"
#include "FuzzCheck.h"
#include "QuestTable.h"

#include <QList>

#include <cstddef>
#include <cstdint>

using pelko::fuzz::check;

namespace {

bool sameTable(const pelko::ClearStatusTable &a, const pelko::ClearStatusTable &b)
{
    if (a.size() != b.size())
        return false;
    for (int n = 1; n <= a.size(); ++n) {
        if (a.progressOf(n) != b.progressOf(n))
            return false;
    }
    return a.beyondTable() == b.beyondTable();
}

// Every line "n,v" with n ascending from 1 and v from 1 to 255, those above the table exactly
// the kept ones, then "0,c" with c from 0 to 9999, each ended by CR LF.
void checkWrittenShape(const QByteArray &written, const pelko::ClearStatusTable &table)
{
    check(written.endsWith("\r\n"), "the progress file ends with CR LF");
    const QList<QByteArray> lines = written.chopped(2).split('\n');
    int previous = 0;
    std::size_t beyond = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool last = i == lines.size() - 1;
        QByteArray line = lines[i];
        if (!last) {
            check(line.endsWith('\r'), "every progress line ends with CR LF");
            line.chop(1);
        }
        const QList<QByteArray> fields = line.split(',');
        check(fields.size() == 2, "every progress line holds two numbers");
        bool nOk = false;
        bool vOk = false;
        const int n = fields[0].toInt(&nOk);
        const int v = fields[1].toInt(&vOk);
        check(nOk && vOk, "every progress line holds decimal numbers");
        check(QByteArray::number(n) == fields[0] && QByteArray::number(v) == fields[1],
              "progress numbers are written plainly");
        if (last) {
            check(n == 0 && v >= 0 && v <= 9999, "the end line is 0 and a checksum below 10000");
            check(beyond == table.beyondTable().size(), "every kept line is written");
        } else {
            check(n > previous, "quest numbers ascend");
            check(v >= 1 && v <= 255, "only entries from 1 to 255 are written");
            if (n > table.size()) {
                const auto kept = table.beyondTable().find(static_cast<std::int16_t>(n));
                check(kept != table.beyondTable().end() && kept->second == v,
                      "lines above the table are the kept ones");
                ++beyond;
            }
            previous = n;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int chosen = data[0] | (data[1] << 8);
    const auto questCount = static_cast<std::int16_t>(chosen % (pelko::kMaxQuests + 1));
    const QByteArrayView bytes(data + 2, static_cast<qsizetype>(size - 2));

    const pelko::ClearStatusLoad loaded = pelko::parseClearStatus(bytes, questCount);
    check(loaded.table.size() == questCount, "the table has one entry per quest");
    check(!loaded.table.progressOf(0) && !loaded.table.progressOf(questCount + 1),
          "the table has no entry outside 1 to the number of quests");
    for (const auto &[n, v] : loaded.table.beyondTable())
        check(n > questCount && v != 0, "only progress above the table is kept apart");
    check(loaded.table.beyondTable().empty() || loaded.damaged,
          "progress above the table is reported");

    const QByteArray written = pelko::serializeClearStatus(loaded.table);
    checkWrittenShape(written, loaded.table);

    const pelko::ClearStatusLoad reread = pelko::parseClearStatus(written, questCount);
    check(reread.damaged == !loaded.table.beyondTable().empty(),
          "a file the program wrote is reported as damaged only for progress above the table");
    check(sameTable(reread.table, loaded.table), "the written table reads back unchanged");
    check(pelko::serializeClearStatus(reread.table) == written,
          "writing the same table again gives the same bytes");
    return 0;
}
