// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated device's command parser: any bytes from the line, under fault settings
// and a probe taken from the input's first three bytes. Replies are framed as the faults
// say, never more than one per message, and the way the bytes are cut into reads changes
// nothing.
#include "FuzzCheck.h"
#include "Qtx2Device.h"
#include "link/ReplyBuffer.h"

#include <cstddef>
#include <cstdint>

namespace {

// Byte 0 switches the faults, byte 1 holds the node and the magnets on the probe, byte 2
// the latency, the chunking and the cable.
Qtx2Device makeDevice(const uint8_t *h)
{
    FaultSettings f;
    f.silent = h[0] & 0x01;
    f.noFactoryCommand = h[0] & 0x02;
    f.lineFeed = h[0] & 0x04;
    f.noTransducer = h[0] & 0x08;
    f.endlessReply = h[0] & 0x10;
    f.garbagePrefix = h[0] & 0x20 ? QByteArrayLiteral("\x00\xff") : QByteArray();
    f.garbageSuffix = h[0] & 0x20 ? QByteArrayLiteral("\n#") : QByteArray();
    f.randomGarbage = h[0] & 0x40 ? 3 : 0;
    f.answerAtNode = h[0] & 0x80 ? h[1] % 12 : -1; // 10 and 11 name no device
    f.latencyMs = h[2] & 0x03;
    f.commandLatencyMs.insert(QStringLiteral("RMV"), 7);
    f.chunkSize = (h[2] >> 2) & 0x03;
    f.chunkGapMs = 1;
    f.pullCableAfter = (h[2] & 0x80) ? (h[2] >> 4) & 0x07 : -1;
    Qtx2Device device(h[1] % 12);
    device.setFaults(f);
    device.probe().setMagnets(h[1] >> 4);
    device.setClock([] { return qint64(123456); }); // magnets stand still
    return device;
}

QString describe(const QList<Qtx2Device::Reply> &replies)
{
    QStringList out;
    for (const Qtx2Device::Reply &r : replies)
        out << QStringList{QString::number(r.latencyMs), QString::number(r.chunkSize), QString::number(r.chunkGapMs),
                           QString::number(r.endless), QString::number(r.pullCableAfter), FuzzCheck::visible(r.bytes)}.join('/');
    return out.join(QLatin1Char(' '));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const QByteArray line(reinterpret_cast<const char *>(data) + 3, qsizetype(size - 3));
    const QString where = QByteArray(reinterpret_cast<const char *>(data), 3).toHex() + QStringLiteral(" bytes ") + FuzzCheck::visible(line);
    Qtx2Device whole = makeDevice(data);
    const FaultSettings faults = whole.faults();
    const QList<Qtx2Device::Reply> replies = whole.feed(line);
    Qtx2Device cut = makeDevice(data);
    QList<Qtx2Device::Reply> joined;
    for (const QByteArray &read : FuzzCheck::pieces(line, 7))
        joined += cut.feed(read);
    FUZZ_CHECK(describe(replies) == describe(joined) && whole.log() == cut.log(), where + QStringLiteral(": whole ") + describe(replies));

    const int ends = int(line.count('\r'));
    FUZZ_CHECK(replies.size() <= ends && whole.messagesReceived() <= ends && whole.repliesGiven() <= whole.messagesReceived()
                   && whole.log().size() == whole.messagesReceived(), where);
    for (const QString &message : whole.log())
        FUZZ_CHECK(message.startsWith(QLatin1Char('$')) && message.size() <= Qtx2Device::MaxMessageLength
                       && !message.contains(QLatin1Char('\r')) && !message.contains(QLatin1Char('\n'))
                       && message.count(QLatin1Char('$')) == 1,
                   where + QStringLiteral(" logged ") + FuzzCheck::visible(message));
    int pulls = 0;
    for (const Qtx2Device::Reply &r : replies) {
        FUZZ_CHECK(r.latencyMs >= 0 && r.chunkSize >= 0 && r.chunkGapMs >= 0 && (r.endless == faults.endlessReply || r.bytes.isEmpty()), where);
        pulls += r.pullCableAfter ? 1 : 0;
        FUZZ_CHECK(r.pullCableAfter || !r.bytes.isEmpty(), where); // only the cable's note carries no bytes
        if (r.bytes.isEmpty())
            continue;
        FUZZ_CHECK(!faults.silent, where + QStringLiteral(" silent device answered ") + describe(replies));
        QByteArray framed = r.bytes.startsWith(faults.garbagePrefix) ? r.bytes.mid(faults.garbagePrefix.size()) : r.bytes;
        framed = framed.mid(faults.randomGarbage);
        const QByteArray tail = faults.endlessReply ? QByteArray() : "\r" + QByteArray(faults.lineFeed ? "\n" : "") + faults.garbageSuffix;
        FUZZ_CHECK(framed.startsWith('*') && framed.endsWith(tail), where + QStringLiteral(" reply ") + FuzzCheck::visible(r.bytes));
        const QByteArray payload = framed.mid(1, framed.size() - 1 - tail.size());
        for (const char c : payload)
            FUZZ_CHECK(c >= 0x20 && c < 0x7f, where + QStringLiteral(" payload ") + FuzzCheck::visible(payload));
        // What the host keeps of it is the payload itself.
        FUZZ_CHECK(faults.endlessReply || ReplyBuffer::payload(framed.left(framed.size() - tail.size() + 1)) == QString::fromLatin1(payload),
                   where + QStringLiteral(" reply ") + FuzzCheck::visible(r.bytes));
    }
    FUZZ_CHECK(pulls <= 1 && (pulls == 0 || whole.cablePulled()), where);
    return 0;
}
