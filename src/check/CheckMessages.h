#pragma once

#include "DatabaseSummary.h"
#include "Finding.h"

#include <QString>

namespace pelko::check {

enum class Language { Japanese, English };

// One finding as "file:line:field: severity: message"; the line and the field are left out
// when the finding has none.
QString formatFinding(const QString &file, const Finding &finding, Language lang);

// The last line of a check: quests per region, chains and the size of the file.
QString summary(const QString &file, const DatabaseSummary &s, Language lang);

QString usage(Language lang);

enum class UsageError { UnknownOption, TooManyFiles };

// The lines printed for a command line the tool cannot act on.
QString usageError(UsageError error, const QString &argument, Language lang);

} // namespace pelko::check
