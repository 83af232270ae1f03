// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QLabel;

// One magnet display: a name label ("Magnet 3:") beside a value label that turns pure
// red for an error text.
class MagPosnDisp : public QWidget
{
    Q_OBJECT
public:
    explicit MagPosnDisp(QWidget *parent = nullptr);

    void set_magnet(int magnet);
    void set_text(const QString &t, bool errflag);
    void set_error(const QString &t);
    void set_position(float position);

    QString text() const;
    bool isError() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColour();

    QLabel *m_maglabel;
    QLabel *m_posnlabel;
    bool m_error = false;
};
