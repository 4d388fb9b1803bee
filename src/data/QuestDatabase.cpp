#include "QuestDatabase.h"

#include "ShiftJis.h"

#include <algorithm>

namespace pelko {
namespace {

constexpr std::uint8_t kEndRegion = 99;

// The text buffers keep their positions in 32 bits.
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

// Where the texts of the records go as they are read.
struct TextSink {
    QByteArrayView bytes;
    QuestTexts names;
    QuestTexts details; // decoded at once
    // Or left for later: where each row's texts after its name begin.
    std::vector<std::uint32_t> rowOffsets;
    bool later = false;

    // Takes one text of a quest record, the reader standing after it; false when it held bytes
    // that decoded to U+FFFD.
    bool take(TextField field, QByteArrayView raw, const SequentialReader &in)
    {
        if (field == TextField::QuestName) {
            if (later)
                rowOffsets.push_back(static_cast<std::uint32_t>(in.position()));
            return names.appendAnsi(raw);
        }
        return later || details.appendAnsi(raw);
    }
};

// Reads one record into rec, its texts into the sink; the end record's texts are only decoded,
// to tell whether they are valid, since nothing reads them. Returns the failure, if any, after
// noting where it stood.
std::optional<DatabaseFailure> readRecord(SequentialReader &in, RowNumbers &rec, TextSink &sink,
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
    auto text = [&](TextField f) {
        ++field;
        const std::optional<QByteArrayView> raw = in.readRawText();
        if (!raw)
            return false;
        if (sink.later && rec.Region == kEndRegion)
            return true;
        // Every invalid byte and unmapped code decodes to U+FFFD, which no valid character gives.
        const bool valid = rec.Region == kEndRegion ? !decodeAnsi(*raw).contains(QChar(0xFFFD))
                                                    : sink.take(f, *raw, in);
        if (!valid && !sink.later)
            db.invalidTextFields.emplace_back(in.lastFieldLine(), field);
        return true;
    };
    std::int16_t discarded = 0;
    const bool ok = number([&] { return in.readInt16(); }, discarded)
                    && number([&] { return in.readUInt8(); }, rec.Region)
                    && number([&] { return in.readInt16(); }, rec.ChainNo)
                    && number([&] { return in.readInt16(); }, rec.QuestNo)
                    && text(TextField::QuestName) && text(TextField::Client)
                    && text(TextField::Process) && text(TextField::Reward1)
                    && text(TextField::Reward2);
    if (!ok)
        return fail();
    source.lastLine = in.lastFieldLine();
    source.endsLine = in.lastFieldEndedLine();
    return std::nullopt;
}

QuestDatabase parse(QByteArrayView bytes, const QByteArray *kept, const RowsRead &rowsRead)
{
    QuestDatabase db;
    SequentialReader in(bytes);
    std::vector<RowNumbers> quests;
    // Texts are decoded straight into their buffers: at most one character a byte, and a
    // terminator a text. The number of texts is only known at the end; the room for the most
    // there can be is only address space until it is used. The names must not move while the
    // reading goes on: the rows read are handed over as views of them.
    TextSink sink;
    sink.bytes = bytes;
    sink.later = kept != nullptr;
    sink.names.reserve(bytes.size() + kMaxQuests + 1, kMaxQuests + 1);
    const qsizetype maxDetails = qsizetype(kMaxQuests + 1) * DetailTexts::kPerRow;
    if (sink.later)
        sink.rowOffsets.reserve(kMaxQuests + 1);
    else
        sink.details.reserve(bytes.size() + maxDetails, maxDetails);
    // Every field takes a delimiter, so a record takes nine bytes at least: room for all the
    // records there can be, which the vectors then fill without moving.
    const auto records =
        static_cast<std::size_t>(std::min<qsizetype>(bytes.size() / 9 + 1, kMaxQuests + 1));
    quests.reserve(records);
    db.sources.reserve(records);
    // Refused: the names read so far go with the result, where a thread may still read them.
    const auto refused = [&](const DatabaseFailure &failure) {
        db.failure = failure;
        db.namesRead = std::move(sink.names);
        return std::move(db);
    };
    for (;;) {
        RowNumbers rec;
        RecordSource source;
        if (auto failure = readRecord(in, rec, sink, source, db))
            return refused(*failure);
        db.sources.push_back(source);
        if (rec.Region == kEndRegion) {
            db.endOffset = in.position();
            auto details =
                sink.later ? std::make_shared<const DetailTexts>(*kept, std::move(sink.rowOffsets))
                           : std::make_shared<const DetailTexts>(std::move(sink.details));
            db.table = QuestTable(std::move(quests), std::move(sink.names), std::move(details));
            return db;
        }
        // The row counter is 16-bit: one more record than kMaxQuests leaves no row for the
        // end record, so the database is refused rather than wrapped around.
        if (quests.size() == kMaxQuests)
            return refused(DatabaseFailure{DatabaseError::TooManyQuests, source.firstLine, 2});
        quests.push_back(rec);
        if (rowsRead)
            rowsRead(sink.names, static_cast<int>(quests.size()));
    }
}

} // namespace

QuestDatabase parseQuestDatabase(QByteArrayView bytes, const RowsRead &rowsRead)
{
    return parse(bytes, nullptr, rowsRead);
}

QuestDatabase parseQuestDatabaseNamesFirst(const QByteArray &bytes, const RowsRead &rowsRead)
{
    return parse(bytes, &bytes, rowsRead);
}

} // namespace pelko
