#pragma once

#include "DatabaseSummary.h"
#include "Finding.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace pelko {
struct QuestDatabase;
}

namespace pelko::check {

// Everything wrong with a database image, in file order (findings about the whole file last).
// The program's own reader does the reading, so the errors found here are exactly the files the
// program refuses.
std::vector<Finding> checkDatabase(QByteArrayView bytes);
std::vector<Finding> checkDatabase(const QuestDatabase &db, QByteArrayView bytes);

struct CheckReport {
    std::vector<Finding> findings;
    std::optional<DatabaseSummary> summary; // none when the file could not be read at all
};

// Reads the file, named in the local 8-bit encoding, and checks it.
CheckReport checkFile(const QByteArray &localName);

// 0 when the program would load the database, 1 when it would refuse it.
int exitCode(const std::vector<Finding> &findings);

} // namespace pelko::check
