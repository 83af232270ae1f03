// The simulated device's command parser: any bytes from the line, under fault settings
// taken from the input's first three bytes. Replies are framed as the faults say, never
// more than one per message, and the way the bytes are cut into reads changes nothing.
#include "FuzzCheck.h"
#include "Qtx2Device.h"
#include "link/SerialForm.h"

#include <cstddef>
#include <cstdint>

namespace {

// Fault settings: byte 0 switches, byte 1 the node, byte 2 chunking and the cable.
FaultSettings faultsFrom(const uint8_t *h)
{
    FaultSettings f;
    f.silent = h[0] & 0x01;
    f.noFactoryCommand = h[0] & 0x02;
    f.lineFeed = h[0] & 0x04;
    f.noTransducer = h[0] & 0x08;
    f.endlessReply = h[0] & 0x10;
    if (h[0] & 0x20) {
        f.garbagePrefix = QByteArrayLiteral("\x00\xff");
        f.garbageSuffix = QByteArrayLiteral("\n#");
    }
    if (h[0] & 0x40)
        f.randomGarbage = 3;
    if (h[0] & 0x80)
        f.answerAtNode = h[1] % 12; // 10 and 11 name no device
    f.latencyMs = h[2] & 0x03;
    f.commandLatencyMs.insert(QStringLiteral("RMV"), 7);
    f.chunkSize = (h[2] >> 2) & 0x03;
    f.chunkGapMs = 1;
    f.pullCableAfter = (h[2] & 0x80) ? (h[2] >> 4) & 0x07 : -1;
    return f;
}

Qtx2Device makeDevice(const uint8_t *h)
{
    Qtx2Device device(h[1] % 12);
    device.setFaults(faultsFrom(h));
    device.setClock([] { return qint64(123456); }); // magnets stand still
    return device;
}

bool sameReplies(const QList<Qtx2Device::Reply> &a, const QList<Qtx2Device::Reply> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const Qtx2Device::Reply &x = a.at(i), &y = b.at(i);
        if (x.bytes != y.bytes || x.latencyMs != y.latencyMs || x.chunkSize != y.chunkSize
            || x.chunkGapMs != y.chunkGapMs || x.endless != y.endless || x.pullCableAfter != y.pullCableAfter)
            return false;
    }
    return true;
}

QString describe(const QList<Qtx2Device::Reply> &replies)
{
    QStringList out;
    for (const Qtx2Device::Reply &r : replies)
        out << FuzzCheck::visible(r.bytes) + (r.pullCableAfter ? QStringLiteral("+pull") : QString());
    return out.join(QLatin1Char(' '));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const QByteArray line(reinterpret_cast<const char *>(data) + 3, qsizetype(size - 3));
    const FaultSettings faults = faultsFrom(data);
    const QString where = QStringLiteral("header %1 %2 %3 bytes %4")
                              .arg(data[0], 2, 16, QLatin1Char('0'))
                              .arg(data[1], 2, 16, QLatin1Char('0'))
                              .arg(data[2], 2, 16, QLatin1Char('0'))
                              .arg(FuzzCheck::visible(line));

    Qtx2Device whole = makeDevice(data);
    const QList<Qtx2Device::Reply> replies = whole.feed(line);

    Qtx2Device pieces = makeDevice(data);
    QList<Qtx2Device::Reply> joined;
    quint32 x = quint32(qHash(line)) | 1u;
    for (qsizetype at = 0; at < line.size();) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const QByteArray chunk = line.mid(at, 1 + x % 7);
        at += chunk.size();
        joined += pieces.feed(chunk);
    }
    FUZZ_CHECK(sameReplies(replies, joined),
               where + QStringLiteral(": whole %1, in pieces %2").arg(describe(replies), describe(joined)));
    FUZZ_CHECK(whole.log() == pieces.log(), where);

    const int ends = int(line.count('\r'));
    FUZZ_CHECK(replies.size() <= ends && whole.messagesReceived() <= ends, where);
    FUZZ_CHECK(whole.repliesGiven() <= whole.messagesReceived(), where);
    FUZZ_CHECK(whole.log().size() == whole.messagesReceived(), where);
    for (const QString &message : whole.log())
        FUZZ_CHECK(message.startsWith(QLatin1Char('$')) && message.size() <= Qtx2Device::MaxMessageLength
                       && !message.contains(QLatin1Char('\r')) && !message.contains(QLatin1Char('\n'))
                       && message.count(QLatin1Char('$')) == 1,
                   where + QStringLiteral(" logged ") + FuzzCheck::visible(message));

    int pulls = 0;
    for (const Qtx2Device::Reply &r : replies) {
        FUZZ_CHECK(r.latencyMs >= 0 && r.chunkSize >= 0 && r.chunkGapMs >= 0, where);
        FUZZ_CHECK(r.endless == faults.endlessReply || r.bytes.isEmpty(), where);
        pulls += r.pullCableAfter ? 1 : 0;
        if (r.bytes.isEmpty()) {
            FUZZ_CHECK(r.pullCableAfter, where); // only the cable's note carries no bytes
            continue;
        }
        FUZZ_CHECK(!faults.silent, where + QStringLiteral(" silent device answered ") + describe(replies));
        QByteArray framed = r.bytes;
        if (framed.startsWith(faults.garbagePrefix))
            framed = framed.mid(faults.garbagePrefix.size());
        framed = framed.mid(faults.randomGarbage);
        FUZZ_CHECK(framed.startsWith('*'), where + QStringLiteral(" reply ") + FuzzCheck::visible(r.bytes));
        QByteArray tail = QByteArrayLiteral("\r");
        if (faults.lineFeed)
            tail += '\n';
        tail += faults.garbageSuffix;
        if (faults.endlessReply)
            tail.clear();
        FUZZ_CHECK(framed.endsWith(tail), where + QStringLiteral(" reply ") + FuzzCheck::visible(r.bytes));
        const QByteArray payload = framed.mid(1, framed.size() - 1 - tail.size());
        for (const char c : payload)
            FUZZ_CHECK(c >= 0x20 && c < 0x7f, where + QStringLiteral(" payload ") + FuzzCheck::visible(payload));
        // What the host keeps of it is the payload itself.
        FUZZ_CHECK(faults.endlessReply || SerialForm::classify_reply(framed.left(framed.size() - tail.size() + 1))
                                              == QString::fromLatin1(payload),
                   where + QStringLiteral(" reply ") + FuzzCheck::visible(r.bytes));
    }
    FUZZ_CHECK(pulls <= 1 && (pulls == 0 || whole.cablePulled()), where);
    return 0;
}
