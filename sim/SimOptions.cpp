// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SimOptions.h"

#include "Qtx2Device.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SimOptions", text);
}

// A whole number within [min, max] from an option, or an error.
bool number(const QCommandLineParser &parser, const QString &name, int min, int max, int *out,
            QString *message)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int v = parser.value(name).toInt(&ok);
    if (!ok || v < min || v > max) {
        // One pass over the text: the value typed is inserted as it is.
        *message = tr("--%1 takes a whole number from %2 to %3, not \"%4\".")
                       .arg(name, QString::number(min), QString::number(max), parser.value(name));
        return false;
    }
    *out = v;
    return true;
}

} // namespace

QByteArray SimOptions::unescape(const QString &text)
{
    const QByteArray in = text.toLatin1();
    QByteArray out;
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 >= in.size()) {
            out += in[i];
            continue;
        }
        const char c = in[++i];
        if (c == 'r') {
            out += '\r';
        } else if (c == 'n') {
            out += '\n';
        } else if (c == 't') {
            out += '\t';
        } else if (c == 'x' && i + 2 < in.size()) {
            bool ok = false;
            const int v = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(v);
                i += 2;
            } else {
                out += "\\x";
            }
        } else {
            if (c != '\\')
                out += '\\';
            out += c;
        }
    }
    return out;
}

void SimOptions::configure(Qtx2Device *device) const
{
    device->setNode(node);
    device->setVersion(version);
    device->setSerialNumber(serial);
    device->setFaults(faults);
    device->probe().setMagnets(magnets);
    device->setValue(QStringLiteral("XM"), QString::number(qMax(1, magnets)));
}

SimOptions::Outcome SimOptions::parse(const QStringList &arguments, SimOptions *options,
                                      QString *message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Simulated QTX2 panel display on a pseudo-terminal. The terminal is linked as "
           "COM<port> in QTX2 Setlink's ports folder; the program prints the terminal's "
           "path and the link's path, one a line, and removes the link when it ends."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, tr("Show this help."));
    parser.addOption(help);
    const QCommandLineOption version(QStringLiteral("version"), tr("Show the program's version and licence."));
    parser.addOption(version);
    auto value = [&](const char *name, const char *text, const char *valueName, const char *def = nullptr) {
        QCommandLineOption o(QString::fromLatin1(name), tr(text), QString::fromLatin1(valueName));
        if (def)
            o.setDefaultValue(QString::fromLatin1(def));
        parser.addOption(o);
    };
    auto flag = [&](const char *name, const char *text) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), tr(text)));
    };
    value("port", "Port number n of the link COM<n>, 1 to 16 (default 1).", "n");
    value("node", "The device's node ID, 0 to 9 (default 0).", "id");
    value("baud", "Line speed for --line-time, in bit/s (default 19200).", "bps");
    flag("line-time", "Send replies at the line speed: each byte takes 10 bit times.");
    value("latency", "Wait this long before every reply.", "ms");
    value("chunk", "Send replies in pieces of this many bytes.", "bytes");
    value("chunk-gap", "Silence between two pieces of a reply.", "ms");
    flag("lf", "Send a line feed after each reply's carriage return.");
    value("garbage", "Send these bytes before each reply (\\xHH, \\r, \\n escapes).", "bytes");
    value("garbage-after", "Send these bytes after each reply.", "bytes");
    value("garbage-random", "Send this many random bytes before each reply.", "count");
    flag("silent", "Answer nothing.");
    flag("no-factory", "No factory command: leave \"RFD\" and \"SFD\" unanswered.");
    flag("no-transducer", "No transducer attached: position reads answer 0NOXDCR.");
    value("pull-after", "Pull the cable after this many messages.", "count");
    value("answer-node", "Listen at this node ID while reporting --node to $0RID.", "id");
    flag("endless", "Replies never end: filler bytes without a carriage return.");
    value("ignore-writes", "Answer writes of this parameter code as taken, but keep its value.", "code");
    value("reply", "Answer every command that begins with TEXT with PAYLOAD and do nothing "
                   "(\"RIA=ERR CMD\" refuses the read of IA, \"S=ERR WP\" every write); repeatable.",
          "TEXT=PAYLOAD");
    value("no-reply", "Leave every command that begins with TEXT unanswered (RPU: the units); repeatable.",
          "TEXT");
    value("magnets", "Magnets on the probe, 0 to 15 (default 1); the number-of-magnets setting "
                     "\"XM\" starts at the same count, at least 1.", "count");
    value("sfd-delay", "Take this long to answer \"SFD\".", "ms");
    value("device-version", "Identity answered to \"RMV\" (default QTXv2.05).", "text");
    value("serial", "The unit's CANbus serial number \"CS\", up to eight hexadecimal digits "
                    "(default 12345); the factory reset keeps it.", "hex");
    value("ports-folder", "Make the link in this folder instead of QTX2 Setlink's own.", "folder");
    value("quit-after-seconds", "End by itself after this many seconds.", "s");
    flag("verbose", "Print every message received and every reply.");

    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return Outcome::Error;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        return Outcome::Help;
    }
    if (parser.isSet(version))
        return Outcome::Version;
    if (!parser.positionalArguments().isEmpty()) {
        *message = tr("Unexpected argument \"%1\".").arg(parser.positionalArguments().first());
        return Outcome::Error;
    }

    SimOptions o;
    FaultSettings &f = o.faults;
    int sfdDelay = -1;
    const int big = 3600 * 1000;
    if (!number(parser, QStringLiteral("port"), 1, 16, &o.port, message)
        || !number(parser, QStringLiteral("node"), 0, 9, &o.node, message)
        || !number(parser, QStringLiteral("baud"), 50, 4000000, &o.baud, message)
        || !number(parser, QStringLiteral("latency"), 0, big, &f.latencyMs, message)
        || !number(parser, QStringLiteral("chunk"), 1, 65536, &f.chunkSize, message)
        || !number(parser, QStringLiteral("chunk-gap"), 0, big, &f.chunkGapMs, message)
        || !number(parser, QStringLiteral("garbage-random"), 0, 4096, &f.randomGarbage, message)
        || !number(parser, QStringLiteral("pull-after"), 0, 1000000000, &f.pullCableAfter, message)
        || !number(parser, QStringLiteral("answer-node"), 0, 9, &f.answerAtNode, message)
        || !number(parser, QStringLiteral("magnets"), 0, 15, &o.magnets, message)
        || !number(parser, QStringLiteral("sfd-delay"), 0, big, &sfdDelay, message)
        || !number(parser, QStringLiteral("quit-after-seconds"), 1, 1000000, &o.quitAfterSeconds, message))
        return Outcome::Error;
    if (sfdDelay >= 0)
        f.commandLatencyMs.insert(QStringLiteral("SFD"), sfdDelay);
    o.lineTime = parser.isSet(QStringLiteral("line-time"));
    f.lineFeed = parser.isSet(QStringLiteral("lf"));
    f.garbagePrefix = unescape(parser.value(QStringLiteral("garbage")));
    f.garbageSuffix = unescape(parser.value(QStringLiteral("garbage-after")));
    f.silent = parser.isSet(QStringLiteral("silent"));
    f.noFactoryCommand = parser.isSet(QStringLiteral("no-factory"));
    f.noTransducer = parser.isSet(QStringLiteral("no-transducer"));
    f.endlessReply = parser.isSet(QStringLiteral("endless"));
    f.ignoredWrite = parser.value(QStringLiteral("ignore-writes"));
    for (const QString &pair : parser.values(QStringLiteral("reply"))) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            *message = tr("--reply takes TEXT=PAYLOAD, not \"%1\".").arg(pair);
            return Outcome::Error;
        }
        // "RIA=" answers with an empty payload, which is not the same as no reply.
        const QString payload = pair.mid(eq + 1);
        f.replies.insert(pair.left(eq), payload.isNull() ? QStringLiteral("") : payload);
    }
    for (const QString &text : parser.values(QStringLiteral("no-reply")))
        f.replies.insert(text, QString());
    if (parser.isSet(QStringLiteral("serial"))) {
        bool ok = false;
        o.serial = parser.value(QStringLiteral("serial")).toUInt(&ok, 16);
        if (!ok) {
            *message = tr("--serial takes up to eight hexadecimal digits, not \"%1\".").arg(parser.value(QStringLiteral("serial")));
            return Outcome::Error;
        }
    }
    if (parser.isSet(QStringLiteral("device-version")))
        o.version = parser.value(QStringLiteral("device-version"));
    o.portsFolder = parser.value(QStringLiteral("ports-folder"));
    o.verbose = parser.isSet(QStringLiteral("verbose"));
    *options = o;
    return Outcome::Run;
}
