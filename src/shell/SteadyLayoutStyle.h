// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProxyStyle>

// The application's style with no widget animation. The main window moves its toolbar and
// central widget through zero-length animations even when it animates nothing, and each
// leaves an object to be deleted later: while one waits, the event loop inside a walk's
// exchanges cannot sleep without being woken again.
class SteadyLayoutStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
