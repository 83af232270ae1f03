// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like a crash: say which one and what it saw, then
// abort so that libFuzzer keeps the input.
namespace FuzzCheck {

[[noreturn]] inline void fail(const char *file, int line, const char *what, const QString &detail)
{
    std::fprintf(stderr, "\n==INVARIANT== %s:%d: %s\n  %s\n", file, line, what,
                 detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

// Shows control bytes and anything past ASCII as \xNN, so a report is pasteable.
inline QString visible(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 32 && u < 127 && u != '\\')
            out += c;
        else
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

inline QString visible(const QByteArray &bytes)
{
    return visible(QString::fromLatin1(bytes));
}

// Lengths travel as 7-digit numbers in the device's unit, converted in single precision,
// so one save and load may move a value within what single precision holds; after that
// the line stays put.
inline bool sameInSinglePrecision(double a, double b)
{
    return std::fabs(a - b) <= 1.2e-6 * std::fmax(std::fabs(a), std::fabs(b));
}

// The bytes cut into reads of 1 to `most` bytes (0 to `most` with empty reads), lengths
// drawn from a generator seeded by the bytes themselves, so a kept input replays the same
// cuts.
inline QList<QByteArray> pieces(const QByteArray &bytes, int most, bool emptyReads = false)
{
    QList<QByteArray> out;
    quint32 x = quint32(qHash(bytes)) | 1u;
    for (qsizetype at = 0; at < bytes.size(); at += out.last().size()) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out << bytes.mid(at, emptyReads ? x % (most + 1) : 1 + x % most);
    }
    return out;
}

} // namespace FuzzCheck

#define FUZZ_CHECK(cond, detail)                                                        \
    do {                                                                                \
        if (!(cond))                                                                    \
            FuzzCheck::fail(__FILE__, __LINE__, #cond, (detail));                       \
    } while (false)
