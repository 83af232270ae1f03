// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The QTX2's factory settings, in the order the form reset applies them: an int for
// integer items, a qint32 for hex items, a double in inches for float items and a
// device token for list items. The simulated device's factory state is the same table.
namespace FactoryDefaults {

struct Default
{
    QString control;
    int index; // -1 for a single control
    QVariant value;
};

const QList<Default> &defaults();

// The default for the parameter with this code (exact case); an invalid QVariant if none.
QVariant byCode(const QString &code);

} // namespace FactoryDefaults
