// Reply classification: the payload of any byte string, and the reply buffer fed the same
// bytes in different chunkings, which must all end as one read of the whole stream would.
#include "FuzzCheck.h"
#include "link/ReplyBuffer.h"
#include "link/SerialForm.h"

#include <cstddef>
#include <cstdint>

namespace {

struct Expected
{
    ReplyBuffer::State state;
    QByteArray kept;
};

// What the buffer must hold once the whole stream has arrived, however it was cut.
Expected expected(const QByteArray &stream, int cap)
{
    qsizetype start = 0;
    while (start < stream.size() && stream.at(start) == '\n')
        ++start;
    const QByteArray text = stream.mid(start);
    const qsizetype cr = text.indexOf('\r');
    if (cr >= 0 && cr <= cap)
        return {ReplyBuffer::State::Complete, text.left(cr + 1)};
    if ((cr >= 0 ? cr : text.size()) > cap)
        return {ReplyBuffer::State::Overflow, text.left(cap)};
    return {ReplyBuffer::State::Incomplete, text};
}

QString stateName(ReplyBuffer::State s)
{
    switch (s) {
    case ReplyBuffer::State::Incomplete: return QStringLiteral("Incomplete");
    case ReplyBuffer::State::Complete: return QStringLiteral("Complete");
    case ReplyBuffer::State::Overflow: return QStringLiteral("Overflow");
    }
    return QString();
}

// Chunk lengths from a small generator seeded by the bytes themselves, so a saved input
// replays the same cuts.
quint32 next(quint32 &x)
{
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
}

void feedAndCompare(const QByteArray &stream, int cap, int mode, quint32 seed)
{
    ReplyBuffer buffer(cap);
    ReplyBuffer::State last = ReplyBuffer::State::Incomplete;
    qsizetype at = 0;
    quint32 x = seed | 1u;
    while (at < stream.size()) {
        qsizetype n = stream.size();
        if (mode == 1)
            n = 1;
        else if (mode == 2)
            n = next(x) % 9; // empty reads too
        const QByteArray chunk = stream.mid(at, n);
        at += chunk.size();
        const ReplyBuffer::State before = buffer.state();
        last = buffer.append(chunk);
        FUZZ_CHECK(last == buffer.state(), stateName(last));
        FUZZ_CHECK(before == ReplyBuffer::State::Incomplete || last == before,
                   QStringLiteral("a finished reply changed state"));
        FUZZ_CHECK(buffer.received().size() <= cap + 1,
                   QStringLiteral("cap %1, kept %2").arg(cap).arg(buffer.received().size()));
    }
    const Expected want = expected(stream, cap);
    const QString where = QStringLiteral("cap %1 mode %2 stream %3").arg(cap).arg(mode).arg(FuzzCheck::visible(stream));
    FUZZ_CHECK(buffer.state() == want.state,
               where + QStringLiteral(": state %1, expected %2").arg(stateName(buffer.state()), stateName(want.state)));
    FUZZ_CHECK(buffer.received() == want.kept,
               where + QStringLiteral(": kept %1, expected %2")
                           .arg(FuzzCheck::visible(buffer.received()), FuzzCheck::visible(want.kept)));
    if (buffer.state() == ReplyBuffer::State::Complete) {
        const QByteArray r = buffer.received();
        FUZZ_CHECK(r.endsWith('\r') && r.count('\r') == 1 && !r.startsWith('\n'), where);
    }
}

// The payload as the exchange defines it, written out independently: after a leading "*",
// or after the last "*" when noise came ahead of it; a reply without "*" whole.
QString modelPayload(const QByteArray &reply)
{
    qsizetype begin = 0;
    if (reply.startsWith('*'))
        begin = 1;
    else if (reply.contains('*'))
        begin = reply.lastIndexOf('*') + 1;
    qsizetype end = reply.size();
    while (end > begin && static_cast<unsigned char>(reply.at(end - 1)) < 20)
        --end;
    return QString::fromLatin1(reply.mid(begin, end - begin));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString payload = SerialForm::classify_reply(bytes);
    FUZZ_CHECK(payload == modelPayload(bytes),
               QStringLiteral("%1 -> %2").arg(FuzzCheck::visible(bytes), FuzzCheck::visible(payload)));
    FUZZ_CHECK(payload.isEmpty() || payload.back().unicode() >= 20, FuzzCheck::visible(payload));
    FUZZ_CHECK(payload == ReplyBuffer::payload(bytes), FuzzCheck::visible(bytes));

    const quint32 seed = quint32(qHash(bytes));
    const int smallCap = int(seed % 40);
    for (const int cap : {SerialForm::MaxReplyLength, smallCap}) {
        for (int mode = 0; mode < 3; ++mode)
            feedAndCompare(bytes, cap, mode, seed);
    }
    return 0;
}
