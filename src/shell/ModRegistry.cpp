// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/ModRegistry.h"

#include <QSettings>
#include <QStringList>
#include <limits>

namespace ModRegistry {

namespace {

const QStringList &knownRoots()
{
    static const QStringList roots{"HKCU", "HKLM", "HKU", "HKDD", "HKCC", "HKCR"};
    return roots;
}

bool isKnownRoot(const QString &root)
{
    return knownRoots().contains(root, Qt::CaseInsensitive);
}

// Registry keys are case-insensitive and take either slash.
bool isProgramKey(const QString &root, const QString &key)
{
    QString k = key;
    k.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (k.endsWith(QLatin1Char('\\')))
        k.chop(1);
    return root.compare(QLatin1String("HKCU"), Qt::CaseInsensitive) == 0
        && k.compare(programKey(), Qt::CaseInsensitive) == 0;
}

bool isDword(const QString &type)
{
    return type.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0;
}

bool isText(const QString &type)
{
    return type.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

// A stored 32-bit integer, whether the store kept it as a number or as its text.
bool toDword(const QVariant &stored, int *out)
{
    bool ok = false;
    qlonglong v = 0;
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        v = stored.toLongLong(&ok);
        break;
    case QMetaType::QString:
        v = stored.toString().trimmed().toLongLong(&ok);
        break;
    default:
        return false;
    }
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return false;
    *out = int(v);
    return true;
}

} // namespace

QString programKey()
{
    return QStringLiteral("Software\\Orvane Works\\QTX2Setlink");
}

long read_value(const QString &root, const QString &key, const QString &name, const QString &type,
                const QVariant &defaultValue, QVariant &value)
{
    value = defaultValue;
    if (!isKnownRoot(root) || !(isDword(type) || isText(type)))
        return InvalidParameter;
    if (!isProgramKey(root, key))
        return FileNotFound;
    QSettings settings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink"));
    if (settings.status() != QSettings::NoError)
        return InvalidData;
    const QVariant stored = settings.value(name);
    if (!stored.isValid())
        return FileNotFound;
    if (isDword(type)) {
        int v = 0;
        if (!toDword(stored, &v))
            return InvalidData;
        value = v;
    } else {
        if (stored.typeId() != QMetaType::QString)
            return InvalidData;
        value = stored.toString();
    }
    return Success;
}

long write_value(const QString &root, const QString &key, const QString &name, const QString &type,
                 const QVariant &value)
{
    if (!isKnownRoot(root) || !(isDword(type) || isText(type)))
        return InvalidParameter;
    if (!isProgramKey(root, key) || name.isEmpty())
        return AccessDenied;
    QVariant toStore;
    if (isDword(type)) {
        bool ok = false;
        const qlonglong v = value.toLongLong(&ok);
        if (!ok)
            return InvalidData;
        // The value is kept as a 16-bit signed integer, widened to 32 bits.
        toStore = int(qint16(quint16(quint64(v) & 0xFFFF)));
    } else {
        toStore = value.toString();
    }
    QSettings settings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink"));
    settings.setValue(name, toStore);
    settings.sync();
    return settings.status() == QSettings::NoError ? Success : AccessDenied;
}

} // namespace ModRegistry
