#include "DatabaseCheck.h"

#include "FileStore.h"
#include "QuestDatabase.h"
#include "RegionTable.h"
#include "TreeMarks.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <climits>

namespace pelko::check {
namespace {

// Where each line starts, counted as the reader counts them: CR LF, a lone CR and a lone LF
// each end one line.
class LineIndex
{
public:
    explicit LineIndex(QByteArrayView bytes) : m_bytes(bytes)
    {
        m_starts.push_back(0);
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            if (bytes[i] == '\r' || bytes[i] == '\n')
                m_starts.push_back(i + 1);
        }
        // A line end at the very end of the file starts no further line.
        if (m_starts.size() > 1 && m_starts.back() == bytes.size())
            m_starts.pop_back();
    }

    int lineCount() const { return static_cast<int>(m_starts.size()); }

    // True when the line holds nothing but spaces and tabs: the reader takes it for one empty
    // field.
    bool isBlank(int line) const
    {
        if (line < 1 || line > lineCount())
            return false;
        for (qsizetype i = m_starts[static_cast<std::size_t>(line - 1)]; i < m_bytes.size(); ++i) {
            const char c = m_bytes[i];
            if (c == '\r' || c == '\n')
                return true;
            if (c != ' ' && c != '\t')
                return false;
        }
        return true;
    }

private:
    QByteArrayView m_bytes;
    std::vector<qsizetype> m_starts;
};

Finding error(FindingKind kind, int line = 0, int field = 0)
{
    Finding f;
    f.severity = Severity::Error;
    f.kind = kind;
    f.line = line;
    f.field = field;
    return f;
}

Finding warning(FindingKind kind, int line = 0, int field = 0)
{
    Finding f = error(kind, line, field);
    f.severity = Severity::Warning;
    return f;
}

void addReadFailure(const QuestDatabase &db, QByteArrayView bytes, const LineIndex &lines,
                    std::vector<Finding> &out)
{
    const DatabaseFailure &failure = *db.failure;
    switch (failure.error) {
    case DatabaseError::NoEndRecord:
        if (bytes.isEmpty()) {
            out.push_back(error(FindingKind::EmptyFile));
        } else {
            Finding f = error(FindingKind::NoEndRecord);
            f.value = static_cast<long long>(db.sources.size());
            out.push_back(f);
        }
        return;
    case DatabaseError::CutShort:
        // The reader names the line after a final line end; the file ends on the line before.
        out.push_back(
            error(FindingKind::CutShort, std::min(failure.line, lines.lineCount()), failure.field));
        return;
    case DatabaseError::NotANumber:
        out.push_back(error(FindingKind::NotANumber, failure.line, failure.field));
        return;
    case DatabaseError::OutOfRange:
        out.push_back(error(FindingKind::OutOfRange, failure.line, failure.field));
        return;
    case DatabaseError::TooManyQuests: {
        Finding f = error(FindingKind::TooManyQuests, failure.line);
        f.value = kMaxQuests + 1;
        out.push_back(f);
        return;
    }
    }
}

// A record that starts a line but does not end it where its ninth field ends throws every later
// record off by the difference. Only the record where that begins is reported: the records read
// out of step after it are its consequence, until one ends a line again.
void addFieldCountWarnings(const QuestDatabase &db, const LineIndex &lines,
                           std::vector<Finding> &out)
{
    bool startsLine = true;
    for (std::size_t i = 0; i < db.sources.size(); ++i) {
        const RecordSource &s = db.sources[i];
        const bool isEndRecord = db.ok() && i + 1 == db.sources.size();
        if (startsLine && (s.firstLine != s.lastLine || !s.endsLine)) {
            // Nothing after the end record is read, so its extra fields shift nothing; they are
            // reported as text after the end record.
            const bool shifts = !s.endsLine && !isEndRecord;
            Finding f = warning(FindingKind::FewerThanNineFields, s.firstLine);
            if (lines.isBlank(s.firstLine))
                f.kind = FindingKind::BlankLine;
            else if (s.firstLine == s.lastLine)
                f.kind = FindingKind::MoreThanNineFields;
            f.otherLine = s.lastLine;
            f.shifts = shifts;
            if (f.kind != FindingKind::MoreThanNineFields || !isEndRecord)
                out.push_back(f);
        }
        startsLine = s.endsLine;
    }
}

void addQuestWarnings(const QuestDatabase &db, std::vector<Finding> &out)
{
    const QuestTable &table = db.table;
    const int count = table.count();
    QHash<int, int> numberLine;
    QHash<QString, int> nameLine;
    for (int row = 1; row <= count; ++row) {
        const QuestRecord &rec = table.row(row);
        const int line = db.sources[static_cast<std::size_t>(row - 1)].firstLine;

        if (rec.Region < 1 || rec.Region > kRegionCount || regionName(rec.Region).isEmpty()) {
            Finding f = warning(rec.Region < 1 || rec.Region > kRegionCount
                                    ? FindingKind::RegionOutsideTable
                                    : FindingKind::RegionWithoutName,
                                line, 2);
            f.value = rec.Region;
            out.push_back(f);
        }

        if (rec.QuestNo < 1 || rec.QuestNo > count) {
            Finding f = warning(FindingKind::QuestNoOutside, line, 4);
            f.value = rec.QuestNo;
            f.limit = count;
            out.push_back(f);
        } else if (const auto it = numberLine.constFind(rec.QuestNo); it != numberLine.cend()) {
            Finding f = warning(FindingKind::QuestNoTwice, line, 4);
            f.value = rec.QuestNo;
            f.otherLine = *it;
            out.push_back(f);
        } else {
            numberLine.insert(rec.QuestNo, line);
        }

        if (const auto it = nameLine.constFind(rec.QuestName); it != nameLine.cend()) {
            Finding f = warning(FindingKind::NameTwice, line, 5);
            f.otherLine = *it;
            f.text = rec.QuestName;
            out.push_back(f);
        } else {
            nameLine.insert(rec.QuestName, line);
        }
        if (startsWithTreeMark(rec.QuestName)) {
            Finding f = warning(FindingKind::NameLikeTreeEntry, line, 5);
            f.text = rec.QuestName;
            out.push_back(f);
        }
    }
}

// Blank line ends after the end record are how files usually end; anything else is text the
// program never reads.
void addTextAfterEnd(const QuestDatabase &db, QByteArrayView bytes, std::vector<Finding> &out)
{
    const RecordSource &end = db.sources.back();
    int line = end.endsLine ? end.lastLine + 1 : end.lastLine;
    for (qsizetype i = db.endOffset; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            out.push_back(warning(FindingKind::TextAfterEndRecord, line));
            return;
        }
        if (c == '\n' || i + 1 >= bytes.size() || bytes[i + 1] != '\n')
            ++line;
    }
}

bool looksLikeUtf8(const QuestDatabase &db, QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return true;
    if (db.invalidTextFields.empty())
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(bytes); // the decoder records errors only while it runs
    Q_UNUSED(decoded)
    return !utf8.hasError();
}

} // namespace

std::vector<Finding> checkDatabase(const QuestDatabase &db, QByteArrayView bytes)
{
    const LineIndex lines(bytes);
    std::vector<Finding> out;
    if (!db.ok())
        addReadFailure(db, bytes, lines, out);
    addFieldCountWarnings(db, lines, out);
    if (db.ok()) {
        addQuestWarnings(db, out);
        addTextAfterEnd(db, bytes, out);
    }
    for (const auto &[line, field] : db.invalidTextFields)
        out.push_back(warning(FindingKind::InvalidShiftJis, line, field));
    if (looksLikeUtf8(db, bytes))
        out.push_back(warning(FindingKind::LooksLikeUtf8));

    std::stable_sort(out.begin(), out.end(), [](const Finding &a, const Finding &b) {
        const auto key = [](const Finding &f) {
            return std::make_pair(f.line == 0 ? INT_MAX : f.line, f.field);
        };
        return key(a) < key(b);
    });
    return out;
}

std::vector<Finding> checkDatabase(QByteArrayView bytes)
{
    return checkDatabase(parseQuestDatabase(bytes), bytes);
}

CheckReport checkFile(const QByteArray &localName)
{
    CheckReport report;
    // The program's own reader: a FIFO, a device or an endless file is refused at once.
    const FileRead file = readLocalFile(localName, kMaxQuestDatabaseBytes);
    switch (file.status) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::Missing:
        report.findings.push_back(error(FindingKind::FileMissing));
        return report;
    case ReadStatus::Unreadable:
        report.findings.push_back(error(FindingKind::FileUnreadable));
        return report;
    case ReadStatus::TooLarge:
        report.findings.push_back(error(FindingKind::FileTooLarge));
        report.findings.back().limit = kMaxQuestDatabaseBytes;
        return report;
    }
    const QuestDatabase db = parseQuestDatabase(file.bytes);
    report.findings = checkDatabase(db, file.bytes);
    report.summary = summarize(db, file.bytes.size());
    return report;
}

int exitCode(const std::vector<Finding> &findings)
{
    const bool refused = std::any_of(findings.begin(), findings.end(), [](const Finding &f) {
        return f.severity == Severity::Error;
    });
    return refused ? 1 : 0;
}

} // namespace pelko::check
