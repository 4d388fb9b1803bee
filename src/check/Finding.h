#pragma once

#include <QString>

namespace pelko::check {

// An error is what makes the program refuse the database; a warning is something it loads
// but a player would notice.
enum class Severity { Error, Warning };

enum class FindingKind {
    // Errors: the program shows its one fatal message.
    FileMissing,
    FileUnreadable, // also anything that is not a regular file
    FileTooLarge,   // limit: the largest size read
    EmptyFile,
    NoEndRecord,   // value: the number of records read
    CutShort,      // field: the first field missing
    NotANumber,    // field
    OutOfRange,    // field
    TooManyQuests, // value: the quest the record would have been
    // Warnings: the program loads the file.
    MoreThanNineFields,  // shifts: the extra fields start the next record
    FewerThanNineFields, // otherLine: where the record ends; shifts as above
    BlankLine,           // read as an empty field; shifts as above
    RegionOutsideTable,  // value: the Region
    RegionWithoutName,   // value: the Region
    QuestNoOutside,      // value: the QuestNo, limit: the number of quests
    QuestNoTwice,        // value: the QuestNo, otherLine: its first use
    NameTwice,           // text: the name, otherLine: its first use
    NameLikeTreeEntry,   // text: the name
    TextAfterEndRecord,
    InvalidShiftJis, // field
    LooksLikeUtf8,
};

struct Finding {
    Severity severity = Severity::Error;
    FindingKind kind = FindingKind::FileUnreadable;
    int line = 0;  // 1-based; 0 for a finding about the whole file
    int field = 0; // 1 to 9; 0 when the finding is about a line or the file
    int otherLine = 0;
    long long value = 0;
    long long limit = 0;
    bool shifts = false; // every later record is read from the wrong fields
    QString text;
};

} // namespace pelko::check
