#pragma once

#include "QuestTable.h"
#include "SequentialReader.h"

#include <QByteArrayView>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

namespace pelko {

// The largest Pelko.dat that is read. The format sets no limit on a text's length; the largest
// databases in use, 32,766 quests with full texts, come to about 10 MB. A larger file is refused
// like any other unreadable database, without being loaded into memory.
inline constexpr qint64 kMaxQuestDatabaseBytes = 32 * 1024 * 1024;

// Why a database cannot be loaded. The program shows one message for all of them; the
// database check tool names them.
enum class DatabaseError {
    NoEndRecord,   // the file ended between two records
    CutShort,      // the file ended inside a record
    NotANumber,    // a numeric field holds text
    OutOfRange,    // a number does not fit its field
    TooManyQuests, // more than kMaxQuests records before the end record
};

struct DatabaseFailure {
    DatabaseError error;
    int line = 0;  // 1-based line of the offending field
    int field = 0; // 1 to 9
};

// Where a record stood in the file: the lines of its first and last field, and whether its
// ninth field ended its line (a record that does not is followed by more fields on that line).
struct RecordSource {
    int firstLine = 0;
    int lastLine = 0;
    bool endsLine = true;
};

struct QuestDatabase {
    QuestTable table;
    std::optional<DatabaseFailure> failure;
    // One entry per record read, the end record last (filled also when loading fails).
    std::vector<RecordSource> sources;
    // Byte offset just after the end record: what follows is never read.
    qsizetype endOffset = 0;
    // Per record and field, whether the raw text held bytes that are no valid code page 932
    // (left empty when the texts after the names are decoded later).
    std::vector<std::pair<int, int>> invalidTextFields; // (line, field)
    // When loading fails, the names of the records read before the failure: rowsRead was handed
    // them as views, which another thread may still be reading until this is gone.
    QuestTexts namesRead;

    bool ok() const { return !failure.has_value(); }
};

// Told, as the reading goes on, that the names of rows 1 to rowCount are complete. The names
// stay where they are for as long as the result lives: in its table, or in namesRead.
using RowsRead = std::function<void(const QuestTexts &names, int rowCount)>;

// Reads the whole database: nine fields a record until the record whose Region is 99.
QuestDatabase parseQuestDatabase(QByteArrayView bytes, const RowsRead &rowsRead = {});

// The same, except that only the names are decoded: the texts after them are left to the
// table's DetailTexts, which keeps the bytes until they are decoded. What is read, refused and
// reported is the same in every other respect.
QuestDatabase parseQuestDatabaseNamesFirst(const QByteArray &bytes, const RowsRead &rowsRead = {});

} // namespace pelko
