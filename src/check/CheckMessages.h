#pragma once

#include "DatabaseSummary.h"
#include "Finding.h"

#include <QString>

namespace pelko::check {

enum class Language { Japanese, English };

// Makes every text below come in the language: Japanese from the translation built into the
// tool, English as written. False when the translation cannot be loaded.
bool useLanguage(Language lang);

// One finding as "file:line:field: severity: message"; the line and the field are left out
// when the finding has none.
QString formatFinding(const QString &file, const Finding &finding);

// How many findings of one kind are printed; the rest are only counted.
inline constexpr int kShownPerKind = 100;

// The line after the last finding printed of a kind (given), counting the ones left out, with
// that finding's file and severity.
QString moreOfKind(const QString &file, const Finding &last, long long more);

// The last line of a check: quests per region, chains and the size of the file.
QString summary(const QString &file, const DatabaseSummary &s);

QString usage();

enum class UsageError { UnknownOption, UnknownLanguage, MissingLanguage, TooManyFiles };

// The lines printed for a command line the tool cannot act on; argument is printed escaped.
QString usageError(UsageError error, const QString &argument);

// The line printed when the report cannot be written; reason is the system's.
QString outputError(const QString &reason);

} // namespace pelko::check
