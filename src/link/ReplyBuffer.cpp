// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/ReplyBuffer.h"

ReplyBuffer::ReplyBuffer(int cap)
    : m_cap(cap)
{
}

ReplyBuffer::State ReplyBuffer::append(const QByteArray &data)
{
    if (m_state != State::Incomplete)
        return m_state;
    if (m_bytes.isEmpty()) {
        // Line feeds ahead of a reply are the tail of the one before it.
        qsizetype start = 0;
        while (start < data.size() && data.at(start) == '\n')
            ++start;
        if (start > 0)
            return append(data.mid(start));
    }

    const qsizetype cr = data.indexOf('\r');
    const qsizetype textLength = cr >= 0 ? cr : data.size();
    if (m_bytes.size() + textLength > m_cap) {
        m_bytes.append(data.left(m_cap - m_bytes.size()));
        m_state = State::Overflow;
        return m_state;
    }
    if (cr < 0) {
        m_bytes.append(data);
        return m_state;
    }
    m_bytes.append(data.left(cr + 1));
    m_state = State::Complete;
    return m_state;
}

ReplyBuffer::State ReplyBuffer::state() const
{
    return m_state;
}

QByteArray ReplyBuffer::received() const
{
    return m_bytes;
}

QString ReplyBuffer::payload(const QByteArray &reply)
{
    QString text = QString::fromLatin1(reply);
    if (text.startsWith(QLatin1Char('*'))) {
        text.remove(0, 1);
    } else {
        // Line noise ahead of the reply: the reply starts at its "*", which no payload
        // holds, so the last one before the end is the reply's own.
        const qsizetype star = text.lastIndexOf(QLatin1Char('*'));
        if (star > 0)
            text.remove(0, star + 1);
    }
    while (!text.isEmpty() && text.back().unicode() < 20)
        text.chop(1);
    return text;
}
