// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ExchangeResult.h"
#include "model/ParameterTable.h"

#include <QObject>
#include <QString>
#include <QVariant>

class LengthUnits;
class ParameterLink;

// What every setting of one set shares: the link its reads and writes go through (none
// for a set that only holds values, such as a settings file being compared) and the
// length-unit model its lengths convert against.
struct SettingContext
{
    ParameterLink *link = nullptr;
    const LengthUnits *units = nullptr;
};

// One device parameter's value, apart from any editor. It moves the value between the
// device ("R" + code, "S" + code + value), a settings-file line (code + value) and
// whatever view shows it, by the rules of its kind. The walks use settings only through
// this contract.
//
// The value is held as the text an editor would show; views bind to it both ways: what
// the user types or picks arrives through the edit operations of each kind, and
// displayChanged() tells a view to show the value again.
class Setting : public QObject
{
    Q_OBJECT
public:
    explicit Setting(const SettingContext &context, QObject *parent = nullptr);

    // The catalogue row this setting was configured from, or nullptr.
    const ParameterTable::Parameter *parameter() const { return m_parameter; }
    void setParameter(const ParameterTable::Parameter *p) { m_parameter = p; }

    void set_serstring(const QString &s);
    QString get_serstring() const { return m_code; }
    void set_title(const QString &t); // kept with ":" appended
    QString title() const { return m_title; }

    // "R" + code. A reply is taken as the kind takes it; an error reply, a reply that is
    // not a value of the kind and a failed exchange leave the value as it was.
    ExchangeResult ser_read();
    // Lifts the write protection, then sends "S" + code + the kind's value text. Done only
    // when the device answered without an error.
    ExchangeResult ser_write();
    // True when the line begins with the code; its value is then taken as a reply would
    // be, and *taken (when given) tells whether the kind took it. Every line offered
    // counts as a change.
    bool check_file_read(const QString &s, bool *taken = nullptr);
    QString make_file_write_str() const;
    virtual void reset_units() {}
    // A factory default, in the type the kind takes (int for integer and hex settings,
    // double in inches for float settings, a device token for list settings).
    virtual void setDefault(const QVariant &value) = 0;

    // The text a view shows: the editor text, or the display text of a list's choice.
    virtual QString valueText() const = 0;
    // The value as a settings file carries it (empty when there is none to carry).
    virtual QString fileValue() const = 0;
    // Takes a value text as a reply or file line would carry it; false when the kind's
    // checks refused it and the value stayed as it was.
    virtual bool take(const QString &text) = 0;
    // The value text a write command carries when the device's length unit is units (only
    // lengths depend on it); empty when the setting has no value to send.
    virtual QString wireValueIn(int units) const { Q_UNUSED(units) return wireValue(); }
    // A length: its value travels in the device's length unit.
    virtual bool isLength() const { return false; }
    // Whether the device would hold the same text for both: the value texts the download
    // sends, in the device's length unit units. No tolerance: a digit the wire carries counts.
    bool sameOnWire(const Setting &other, int units) const;
    // The user took the value of another setting of the same parameter (a compared value)
    // for this one: an edit when it changed the value. False when the kind refused it.
    bool takeValueOf(const Setting &other);
    // How many edits the user has made to this setting; a walk notes it at each exchange.
    quint64 editCount() const { return m_edits; }

signals:
    // Any change of the value, and every settings-file line offered.
    void changed();
    // List settings only: after changed(), on every selection change and validation.
    void selectionChanged();
    // What a view shows is new: its text, its unit or its choice.
    void displayChanged();
    // The user changed the value: typed, stepped, picked or took a compared value. Values
    // that arrive from the device, a file or the factory settings do not count.
    void edited();

protected:
    const SettingContext &context() const { return m_context; }
    ParameterLink *link() const { return m_context.link; }
    // The value text a write command carries; nothing is sent when it is null.
    virtual QString wireValue() const = 0;
    // Whether a read's reply has the form of a value of the kind (a leading number, a hex
    // digit); the kind's own checks (limits, choices) come after it in take().
    virtual bool isValue(const QString &reply) const { Q_UNUSED(reply) return true; }
    // The user changed the value: counted, then edited() is emitted.
    void noteEdit();
    // Sets the shown text; false when it was already shown.
    bool showText(const QString &text);
    // The user's own text: shown, and an edit when it is new.
    void editTo(const QString &text);
    // Takes another setting's value; by default as a settings file would carry it.
    virtual bool adopt(const Setting &other) { return take(other.fileValue()); }
    QString text() const { return m_text; }

private:
    SettingContext m_context;
    const ParameterTable::Parameter *m_parameter = nullptr;
    QString m_code;
    QString m_title;
    QString m_text = QStringLiteral("0");
    quint64 m_edits = 0;
};
