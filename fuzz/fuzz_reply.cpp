// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// Reply classification: the payload of any byte string against the rule written out
// independently, and the reply buffer fed the same bytes whole, byte by byte and in reads
// of random length (empty ones too), which must all end as the rule says.
#include "FuzzCheck.h"
#include "link/ExchangeEngine.h"
#include "link/ReplyBuffer.h"

#include <cstddef>
#include <cstdint>

namespace {

// After a leading "*", or after the last "*" when noise came ahead of it; a reply without
// "*" whole; trailing codes below 20 removed.
QString modelPayload(const QByteArray &reply)
{
    const qsizetype begin = reply.startsWith('*') ? 1 : reply.lastIndexOf('*') + 1;
    qsizetype end = reply.size();
    while (end > begin && static_cast<unsigned char>(reply.at(end - 1)) < 20)
        --end;
    return QString::fromLatin1(reply.mid(begin, end - begin));
}

// However the stream is cut, the buffer ends holding the text after any leading line feeds
// up to its first CR, or the first cap bytes of a longer text, and a finished reply stays
// finished.
void feed(const QByteArray &stream, const QList<QByteArray> &reads, int cap)
{
    qsizetype start = 0;
    while (start < stream.size() && stream.at(start) == '\n')
        ++start;
    const QByteArray text = stream.mid(start);
    const qsizetype cr = text.indexOf('\r');
    const qsizetype length = cr >= 0 ? cr : text.size();
    using State = ReplyBuffer::State;
    const State state = length > cap ? State::Overflow : cr >= 0 ? State::Complete : State::Incomplete;
    const QByteArray kept = length > cap ? text.left(cap) : text.left(length + (cr >= 0 ? 1 : 0));
    const QString where = QStringLiteral("cap %1, %2 reads of ").arg(cap).arg(reads.size()) + FuzzCheck::visible(stream);
    ReplyBuffer buffer(cap);
    for (const QByteArray &read : reads) {
        const State before = buffer.state();
        const State after = buffer.append(read);
        FUZZ_CHECK(after == buffer.state() && (before == State::Incomplete || after == before), where);
        FUZZ_CHECK(buffer.received().size() <= cap + 1, where);
    }
    FUZZ_CHECK(buffer.state() == state && buffer.received() == kept, where + QStringLiteral(": kept ") + FuzzCheck::visible(buffer.received()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString payload = ReplyBuffer::payload(bytes);
    FUZZ_CHECK(payload == modelPayload(bytes) && payload == ReplyBuffer::payload(bytes),
               FuzzCheck::visible(bytes) + QStringLiteral(" -> ") + FuzzCheck::visible(payload));
    const QList<QByteArray> cuts[] = {{bytes}, FuzzCheck::pieces(bytes, 1), FuzzCheck::pieces(bytes, 8, true)};
    for (const int cap : {int(ExchangeEngine::MaxReplyLength), int(qHash(bytes) % 40)})
        for (const QList<QByteArray> &reads : cuts)
            feed(bytes, reads, cap);
    return 0;
}
