// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FaultSettings.h"
#include "MagnetProbe.h"
#include "SimParameter.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <random>

// The simulated QTX2: a pure model of the device's command set, without I/O. Bytes from
// the line go in; replies ("*" + payload + CR) come out with the timing the transport
// should give them. Messages are "$" + decimal node + command + CR; a "$" always starts
// a new message, line feeds are ignored, and messages for other nodes are not answered.
class Qtx2Device
{
public:
    // One reply and how the transport should deliver it.
    struct Reply
    {
        QByteArray bytes;
        int latencyMs = 0;
        int chunkSize = 0;    // 0: all at once
        int chunkGapMs = 0;
        bool endless = false; // after bytes, filler without CR for ever
        bool pullCableAfter = false; // the cable comes off once this reply is out
    };

    static constexpr int MaxMessageLength = 256;

    // A device with the QTX2's own parameters and factory state.
    explicit Qtx2Device(int node = 0);
    // A device with these parameters instead: tests start one from a copy of the catalogue
    // kept apart from the program's table, so that a slip in the table shows on the wire.
    explicit Qtx2Device(const QList<SimParameter> &parameters, int node = 0);

    // Takes received bytes; returns a reply for every complete message that gets one.
    QList<Reply> feed(const QByteArray &bytes);
    // The same, with the replies' bytes joined and their timing dropped.
    QByteArray receive(const QByteArray &bytes);

    // --- state ---
    int node() const;
    void setNode(int node);
    static bool isValidNode(int node);
    QString version() const;
    void setVersion(const QString &version);
    bool writeProtected() const;
    void setWriteProtected(bool on);
    int units() const; // index of the "PU" choice: 0 Inches ... 4 Meters

    // Value text as "R" + code would answer it; empty for an unknown code.
    QString value(const QString &code) const;
    // As "S" + code + text, without the write protection. False when refused.
    bool setValue(const QString &code, const QString &text);
    // Back to the factory state, as "SFD" does.
    void factoryReset();
    // The CANbus serial number: a fixed identity, left alone by the factory reset.
    void setSerialNumber(quint32 serial);

    FaultSettings &faults();
    const FaultSettings &faults() const;
    void setFaults(const FaultSettings &faults);

    MagnetProbe &probe();
    void setClock(MagnetProbe::Clock clock);

    // The line is dead after the "cable pulled" fault; plugging it back starts a new count.
    bool cablePulled() const;
    void plugCable();

    // --- for tests and the verbose log ---
    QStringList log() const; // every message received, without its CR
    void clearLog();
    int messagesReceived() const;
    int repliesGiven() const;

private:
    struct Slot
    {
        SimParameter parameter;
        double number = 0; // integers, and floats (lengths in inches)
        QString token;
        quint32 hex = 0;
    };

    struct Outcome
    {
        bool answer = false;
        QString payload;
        QString kind; // the command's kind, for the per-command latency
    };

    QList<Reply> handle(const QByteArray &message);
    Outcome execute(const QString &command);
    // The fault of answering a command otherwise; false when none applies.
    bool answerOtherwise(const QString &command, Outcome *outcome) const;
    QString read(const QString &code, bool *known) const;
    QString write(const QString &command);
    QString position(int magnet) const;
    QString displayedPosition() const;
    int magnetsRead() const;
    bool magnetOffsetInches(int magnet, double *inches) const;
    double magnetInches(int magnet) const;
    int integer(const QString &code) const;
    double number(const QString &code) const;
    QString token(const QString &code) const;
    bool store(Slot &slot, const QString &text);
    const QString *codeAt(const QString &text, int *length) const;
    QByteArray frame(const QString &payload);

    int m_node;
    QString m_version = QStringLiteral("QTXv2.05");
    bool m_writeProtected = true;
    quint32 m_serial = 0x12345;
    QHash<QString, Slot> m_slots;
    FaultSettings m_faults;
    MagnetProbe m_probe;
    std::mt19937 m_random;
    QByteArray m_buffer;
    bool m_inMessage = false;
    QStringList m_log;
    int m_received = 0;
    int m_replies = 0;
    int m_sincePlug = 0;
    bool m_cablePulled = false;
};
