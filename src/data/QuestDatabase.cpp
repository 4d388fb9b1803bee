#include "QuestDatabase.h"

#include "ShiftJis.h"

namespace pelko {
namespace {

constexpr std::uint8_t kEndRegion = 99;

// The text buffer keeps its positions in 32 bits.
static_assert(kMaxQuestDatabaseBytes + qint64(kMaxQuests + 1) * kTextFields < qint64(UINT32_MAX));

DatabaseError errorOf(ReadError e, int field)
{
    switch (e) {
    case ReadError::EndOfFile:
        return field == 1 ? DatabaseError::NoEndRecord : DatabaseError::CutShort;
    case ReadError::NotANumber:
        return DatabaseError::NotANumber;
    case ReadError::OutOfRange:
    case ReadError::None:
        break;
    }
    return DatabaseError::OutOfRange;
}

// Reads one record into rec, its texts into texts; the end record's texts are only decoded, to
// tell whether they are valid, since nothing reads them. Returns the failure, if any, after
// noting where it stood.
std::optional<DatabaseFailure> readRecord(SequentialReader &in, RowNumbers &rec, QuestTexts &texts,
                                          RecordSource &source, QuestDatabase &db)
{
    int field = 0;
    auto fail = [&]() {
        const int line = in.lastError() == ReadError::EndOfFile ? in.line() : in.lastFieldLine();
        return DatabaseFailure{errorOf(in.lastError(), field), line, field};
    };
    auto number = [&](auto read, auto &target) {
        ++field;
        const auto v = read();
        if (!v)
            return false;
        target = *v;
        if (field == 1)
            source.firstLine = in.lastFieldLine();
        return true;
    };
    auto text = [&]() {
        ++field;
        const std::optional<QByteArrayView> raw = in.readRawText();
        if (!raw)
            return false;
        // Every invalid byte and unmapped code decodes to U+FFFD, which no valid character gives.
        const bool valid = rec.Region == kEndRegion ? !decodeAnsi(*raw).contains(QChar(0xFFFD))
                                                    : texts.appendAnsi(*raw);
        if (!valid)
            db.invalidTextFields.emplace_back(in.lastFieldLine(), field);
        return true;
    };
    std::int16_t discarded = 0;
    const bool ok = number([&] { return in.readInt16(); }, discarded)
                    && number([&] { return in.readUInt8(); }, rec.Region)
                    && number([&] { return in.readInt16(); }, rec.ChainNo)
                    && number([&] { return in.readInt16(); }, rec.QuestNo) && text() && text()
                    && text() && text() && text();
    if (!ok)
        return fail();
    source.lastLine = in.lastFieldLine();
    source.endsLine = in.lastFieldEndedLine();
    return std::nullopt;
}

} // namespace

QuestDatabase parseQuestDatabase(QByteArrayView bytes, const RowsRead &rowsRead)
{
    QuestDatabase db;
    SequentialReader in(bytes);
    std::vector<RowNumbers> quests;
    // Texts are decoded straight into one buffer: at most one character a byte, and a
    // terminator a text.
    QuestTexts texts;
    // The number of texts is only known at the end; the room for the most there can be is
    // only address space until it is used.
    const qsizetype maxTexts = qsizetype(kMaxQuests + 1) * kTextFields;
    texts.reserve(bytes.size() + maxTexts, maxTexts);
    for (;;) {
        RowNumbers rec;
        RecordSource source;
        if (auto failure = readRecord(in, rec, texts, source, db)) {
            db.failure = failure;
            return db;
        }
        db.sources.push_back(source);
        if (rec.Region == kEndRegion) {
            db.endOffset = in.position();
            db.table = QuestTable(std::move(quests), std::move(texts));
            return db;
        }
        // The row counter is 16-bit: one more record than kMaxQuests leaves no row for the
        // end record, so the database is refused rather than wrapped around.
        if (quests.size() == kMaxQuests) {
            db.failure = DatabaseFailure{DatabaseError::TooManyQuests, source.firstLine, 2};
            return db;
        }
        quests.push_back(rec);
        if (rowsRead)
            rowsRead(texts, static_cast<int>(quests.size()));
    }
}

} // namespace pelko
