// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Qtx2Device.h"

#include "DeviceText.h"
#include "model/ParameterTable.h"

#include <cmath>

using Kind = SimParameter::Kind;

namespace {

// The factory state, lengths in inches. Parameters not named here start at 0, or at their
// first choice for list parameters.
const QHash<QString, QString> &factoryTexts()
{
    static const QHash<QString, QString> texts{
        {"dP", "3"}, {"dU", "25"}, {"dZ", "NO"}, {"PU", "INCHES"}, {"PR", "0.0001968503937"},
        {"PS", "1"}, {"PD", "POSITIVE"}, {"Xt", "SINGLE"}, {"Xm", "1"}, {"Xg", "1"},
        {"Xr", "1"}, {"XT", "SSIBIN"}, {"XM", "1"}, {"XB", "24"}, {"XE", "0"},
        {"Xe", "FFFFFFFF"}, {"XG", "9"}, {"XH", "20"}, {"Xb", "500K"}, {"XA", "OFF"},
        {"Xp", "1"}, {"AV", "0-10V"}, {"AT", "FORCED"}, {"AS", "0"}, {"AR", "10"}, {"AP", "0"},
    };
    return texts;
}

Kind simKind(ParameterTable::Kind kind)
{
    switch (kind) {
    case ParameterTable::Kind::Integer:
        return Kind::Integer;
    case ParameterTable::Kind::Float:
        return Kind::Float;
    case ParameterTable::Kind::List:
        return Kind::List;
    case ParameterTable::Kind::Hex:
        return Kind::Hex;
    }
    return Kind::Integer;
}

// The QTX2's own parameters: the program's catalogue with the device's factory state.
QList<SimParameter> buildQtx2Parameters()
{
    QList<SimParameter> out;
    for (const ParameterTable::Parameter &p : ParameterTable::parameters()) {
        QStringList tokens;
        for (const ParameterTable::Choice &c : p.choices)
            tokens << c.token;
        out.append({p.code, simKind(p.kind), p.min, p.max, p.units, tokens, factoryTexts().value(p.code)});
    }
    return out;
}

const QList<SimParameter> &qtx2Parameters()
{
    static const QList<SimParameter> all = buildQtx2Parameters();
    return all;
}

// Floats travel with 7 significant digits and are compared with the limits after a unit
// conversion, so a limit may arrive rounded in its 7th digit: a value within half a unit
// of that digit is taken as the limit itself.
bool withinLimits(double v, double min, double max, double *clamped)
{
    const double tolMin = std::fabs(min) * 6e-7 + 1e-12;
    const double tolMax = std::fabs(max) * 6e-7 + 1e-12;
    if (v < min - tolMin || v > max + tolMax)
        return false;
    *clamped = qBound(min, v, max);
    return true;
}

bool isDigits(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

Qtx2Device::Qtx2Device(int node)
    : Qtx2Device(qtx2Parameters(), node)
{
}

Qtx2Device::Qtx2Device(const QList<SimParameter> &parameters, int node)
    : m_node(isValidNode(node) ? node : 0)
    , m_random(m_faults.randomSeed)
{
    for (const SimParameter &p : parameters) {
        Slot slot;
        slot.parameter = p;
        m_slots.insert(p.code, slot);
    }
    factoryReset();
}

QList<Qtx2Device::Reply> Qtx2Device::feed(const QByteArray &bytes)
{
    QList<Reply> replies;
    for (char c : bytes) {
        if (c == '$') {
            m_buffer = QByteArray(1, c);
            m_inMessage = true;
        } else if (c == '\r') {
            if (m_inMessage)
                replies += handle(m_buffer);
            m_buffer.clear();
            m_inMessage = false;
        } else if (c == '\n') {
            continue;
        } else if (m_inMessage) {
            m_buffer.append(c);
            // A runaway message is dropped whole; the next "$" starts afresh.
            if (m_buffer.size() > MaxMessageLength) {
                m_buffer.clear();
                m_inMessage = false;
            }
        }
    }
    return replies;
}

QByteArray Qtx2Device::receive(const QByteArray &bytes)
{
    QByteArray out;
    for (const Reply &r : feed(bytes))
        out += r.bytes;
    return out;
}

QList<Qtx2Device::Reply> Qtx2Device::handle(const QByteArray &message)
{
    if (m_cablePulled)
        return {};
    ++m_received;
    ++m_sincePlug;
    m_log.append(QString::fromLatin1(message));

    Reply reply;
    if (m_faults.pullCableAfter >= 0 && m_sincePlug >= m_faults.pullCableAfter) {
        m_cablePulled = true;
        reply.pullCableAfter = true;
    }
    const QList<Reply> pullOnly = reply.pullCableAfter ? QList<Reply>{reply} : QList<Reply>{};

    int i = 1;
    while (i < message.size() && i <= 6 && message[i] >= '0' && message[i] <= '9')
        ++i;
    if (i == 1 || (i < message.size() && message[i] >= '0' && message[i] <= '9'))
        return pullOnly; // no node, or one longer than any device has
    const int node = message.mid(1, i - 1).toInt();
    const QString command = QString::fromLatin1(message.mid(i));

    const int listening = m_faults.answerAtNode >= 0 ? m_faults.answerAtNode : m_node;
    const bool addressed = node == listening || (node == 0 && command == QLatin1String("RID"));
    if (!addressed || m_faults.silent)
        return pullOnly;

    Outcome outcome;
    if (!answerOtherwise(command, &outcome))
        outcome = execute(command);
    if (!outcome.answer)
        return pullOnly;

    ++m_replies;
    reply.bytes = frame(outcome.payload);
    reply.latencyMs = m_faults.commandLatencyMs.value(
        command, m_faults.commandLatencyMs.value(outcome.kind, m_faults.latencyMs));
    reply.chunkSize = qMax(0, m_faults.chunkSize);
    reply.chunkGapMs = qMax(0, m_faults.chunkGapMs);
    reply.endless = m_faults.endlessReply;
    return {reply};
}

Qtx2Device::Outcome Qtx2Device::execute(const QString &command)
{
    Outcome o;
    o.answer = true;
    o.kind = command;
    const QString errWp = QStringLiteral("ERR WP");

    if (command == QLatin1String("RID")) {
        o.payload = QString::number(m_node);
    } else if (command == QLatin1String("RMV")) {
        o.payload = m_version;
    } else if (command == QLatin1String("RFD")) {
        o.answer = !m_faults.noFactoryCommand;
    } else if (command == QLatin1String("WE")) {
        m_writeProtected = false;
    } else if (command == QLatin1String("WP")) {
        m_writeProtected = true;
    } else if (command == QLatin1String("SFD")) {
        // An older device does not know the command at all.
        o.answer = !m_faults.noFactoryCommand;
        if (!o.answer)
            return o;
        if (m_writeProtected)
            o.payload = errWp;
        else
            factoryReset();
    } else if (command == QLatin1String("RD")) {
        o.payload = displayedPosition();
    } else if (command.startsWith(QLatin1String("SID"))) {
        o.kind = QStringLiteral("SID");
        const QString id = command.mid(3);
        if (m_writeProtected)
            o.payload = errWp;
        else if (!isDigits(id) || id.size() > 1)
            o.payload = QStringLiteral("ERR");
        else
            m_node = id.toInt();
    } else if (command.startsWith(QLatin1Char('R'))) {
        o.kind = QStringLiteral("R");
        bool known = false;
        o.payload = read(command.mid(1), &known);
        if (!known && command.size() == 3 && command[1] == QLatin1Char('d')) {
            bool ok = false;
            const int magnet = command.mid(2).toInt(&ok, 16);
            const QChar digit = command[2];
            if (ok && magnet >= 1 && !(digit >= QLatin1Char('A') && digit <= QLatin1Char('F'))) {
                o.kind = QStringLiteral("Rd");
                o.payload = position(magnet);
                known = true;
            }
        }
        if (!known)
            o.payload = QStringLiteral("ERR CMD");
    } else if (command.startsWith(QLatin1Char('S'))) {
        o.kind = QStringLiteral("S");
        o.payload = write(command);
    } else {
        o.payload = QStringLiteral("ERR CMD");
    }
    return o;
}

bool Qtx2Device::answerOtherwise(const QString &command, Outcome *outcome) const
{
    QString key;
    for (auto it = m_faults.replies.cbegin(); it != m_faults.replies.cend(); ++it)
        if (command.startsWith(it.key()) && it.key().size() > key.size())
            key = it.key();
    if (key.isEmpty())
        return false;
    const QString payload = m_faults.replies.value(key);
    outcome->answer = !payload.isNull();
    outcome->payload = payload;
    outcome->kind = command;
    return true;
}

const QString *Qtx2Device::codeAt(const QString &text, int *length) const
{
    // Codes are 2 or 3 characters and no 2-character code starts a 3-character one, so
    // the longer match is the only one.
    for (int n = 3; n >= 2; --n) {
        if (text.size() < n)
            continue;
        const auto it = m_slots.constFind(text.left(n));
        if (it != m_slots.constEnd()) {
            *length = n;
            return &it.key();
        }
    }
    return nullptr;
}

QString Qtx2Device::read(const QString &code, bool *known) const
{
    const auto it = m_slots.constFind(code);
    *known = it != m_slots.constEnd();
    if (!*known)
        return QString();
    const Slot &slot = *it;
    switch (slot.parameter.kind) {
    case Kind::Integer:
        return QString::number(qint64(slot.number));
    case Kind::Float:
        return DeviceText::significant(slot.parameter.units
                                           ? slot.number * DeviceText::unitsPerInch(units())
                                           : slot.number);
    case Kind::List:
        return slot.token;
    case Kind::Hex:
        return DeviceText::hex(slot.hex);
    }
    return QString();
}

QString Qtx2Device::write(const QString &command)
{
    int length = 0;
    const QString rest = command.mid(1);
    const QString *code = codeAt(rest, &length);
    if (!code)
        return QStringLiteral("ERR CMD");
    if (m_writeProtected)
        return QStringLiteral("ERR WP");
    if (*code == m_faults.ignoredWrite)
        return QString();
    return store(m_slots[*code], rest.mid(length)) ? QString() : QStringLiteral("ERR");
}

bool Qtx2Device::store(Slot &slot, const QString &text)
{
    const SimParameter &p = slot.parameter;
    switch (p.kind) {
    case Kind::Integer: {
        qint64 v = 0;
        if (!DeviceText::parseInteger(text, &v) || v < p.min || v > p.max)
            return false;
        slot.number = double(v);
        return true;
    }
    case Kind::Float: {
        double v = 0;
        if (!DeviceText::parseReal(text, &v))
            return false;
        if (p.units)
            v /= DeviceText::unitsPerInch(units());
        return withinLimits(v, p.min, p.max, &slot.number);
    }
    case Kind::List:
        if (!p.tokens.contains(text))
            return false;
        slot.token = text;
        return true;
    case Kind::Hex:
        return DeviceText::parseHex(text, &slot.hex);
    }
    return false;
}

int Qtx2Device::integer(const QString &code) const
{
    return int(m_slots.value(code).number);
}

double Qtx2Device::number(const QString &code) const
{
    return m_slots.value(code).number;
}

QString Qtx2Device::token(const QString &code) const
{
    return m_slots.value(code).token;
}

double Qtx2Device::magnetInches(int magnet) const
{
    double raw = m_probe.position(magnet);
    const double resolution = number(QStringLiteral("PR"));
    if (resolution > 0)
        raw = std::round(raw / resolution) * resolution;
    if (token(QStringLiteral("PD")) == QLatin1String("NEGATIVE"))
        raw = -raw;
    const QString offsetCode = QStringLiteral("Pm") + QString::number(magnet, 16).toUpper();
    return raw * number(QStringLiteral("PS")) + number(QStringLiteral("PO")) + number(offsetCode);
}

// The device reads the magnets its "XM" setting asks for, and finds those the probe carries.
int Qtx2Device::magnetsRead() const
{
    return qMin(integer(QStringLiteral("XM")), m_probe.magnets());
}

QString Qtx2Device::position(int magnet) const
{
    if (m_faults.noTransducer)
        return QStringLiteral("0NOXDCR");
    if (magnet > magnetsRead())
        return QStringLiteral("0NOMAG");
    return DeviceText::fixed(magnetInches(magnet) * DeviceText::unitsPerInch(units()),
                             integer(QStringLiteral("dP")));
}

QString Qtx2Device::displayedPosition() const
{
    if (m_faults.noTransducer)
        return QStringLiteral("0NOXDCR");
    const int magnets = magnetsRead();
    const QString mode = token(QStringLiteral("Xt"));
    const int shown = integer(QStringLiteral("Xm"));
    double v = 0;
    if (mode == QLatin1String("GAP")) {
        const int gap = integer(QStringLiteral("Xg"));
        if (gap + 1 > magnets)
            return QStringLiteral("0NOMAG");
        v = magnetInches(gap + 1) - magnetInches(gap);
    } else if (mode == QLatin1String("RELATIVE")) {
        const int reference = integer(QStringLiteral("Xr"));
        if (shown > magnets || reference > magnets)
            return QStringLiteral("0NOMAG");
        v = magnetInches(shown) - magnetInches(reference);
    } else {
        if (shown > magnets)
            return QStringLiteral("0NOMAG");
        v = magnetInches(shown);
    }
    v += number(QStringLiteral("Po"));
    return DeviceText::fixed(v * DeviceText::unitsPerInch(units()), integer(QStringLiteral("dP")));
}

QByteArray Qtx2Device::frame(const QString &payload)
{
    QByteArray out = m_faults.garbagePrefix;
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < m_faults.randomGarbage; ++i) {
        int b = byte(m_random);
        if (b == '\r')
            b = 0x8D; // a CR would end the reply early: the garbage stays inside it
        out.append(char(b));
    }
    out += '*';
    out += payload.toLatin1();
    if (m_faults.endlessReply)
        return out;
    out += '\r';
    if (m_faults.lineFeed)
        out += '\n';
    out += m_faults.garbageSuffix;
    return out;
}

int Qtx2Device::node() const { return m_node; }

void Qtx2Device::setNode(int node)
{
    if (isValidNode(node))
        m_node = node;
}

bool Qtx2Device::isValidNode(int node)
{
    // The node ID query answers with one digit.
    return node >= 0 && node <= 9;
}

QString Qtx2Device::version() const { return m_version; }
void Qtx2Device::setVersion(const QString &version) { m_version = version; }
bool Qtx2Device::writeProtected() const { return m_writeProtected; }
void Qtx2Device::setWriteProtected(bool on) { m_writeProtected = on; }

int Qtx2Device::units() const
{
    const auto it = m_slots.constFind(QStringLiteral("PU"));
    return it == m_slots.constEnd() ? 0 : qMax(0, int(it->parameter.tokens.indexOf(it->token)));
}

QString Qtx2Device::value(const QString &code) const
{
    bool known = false;
    return read(code, &known);
}

bool Qtx2Device::setValue(const QString &code, const QString &text)
{
    const auto it = m_slots.find(code);
    return it != m_slots.end() && store(*it, text);
}

void Qtx2Device::factoryReset()
{
    for (Slot &slot : m_slots) {
        const SimParameter &p = slot.parameter;
        const QString &text = p.factory;
        switch (p.kind) {
        case Kind::Integer:
        case Kind::Float:
            slot.number = text.isEmpty() ? 0.0 : text.toDouble(); // lengths in inches
            break;
        case Kind::List:
            slot.token = text.isEmpty() ? p.tokens.value(0) : text;
            break;
        case Kind::Hex:
            slot.hex = text.isEmpty() ? 0 : text.toUInt(nullptr, 16);
            break;
        }
    }
    setSerialNumber(m_serial);
}

void Qtx2Device::setSerialNumber(quint32 serial)
{
    m_serial = serial;
    const auto it = m_slots.find(QStringLiteral("CS"));
    if (it != m_slots.end())
        it->hex = serial;
}

FaultSettings &Qtx2Device::faults() { return m_faults; }
const FaultSettings &Qtx2Device::faults() const { return m_faults; }

void Qtx2Device::setFaults(const FaultSettings &faults)
{
    m_faults = faults;
    m_random.seed(faults.randomSeed);
}

MagnetProbe &Qtx2Device::probe() { return m_probe; }
void Qtx2Device::setClock(MagnetProbe::Clock clock) { m_probe.setClock(std::move(clock)); }

bool Qtx2Device::cablePulled() const { return m_cablePulled; }

void Qtx2Device::plugCable()
{
    m_cablePulled = false;
    m_sincePlug = 0;
}

QStringList Qtx2Device::log() const { return m_log; }
void Qtx2Device::clearLog() { m_log.clear(); }
int Qtx2Device::messagesReceived() const { return m_received; }
int Qtx2Device::repliesGiven() const { return m_replies; }
