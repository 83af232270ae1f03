// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RecordingPrompt.h"
#include "ReferenceCatalogue.h"
#include "SimPort.h"
#include "items/SetupItem.h"
#include "link/SerialForm.h"
#include "model/SettingsSet.h"
#include "shell/DesktopOpener.h"
#include "shell/LogPane.h"
#include "shell/QTX2SetlinkForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

class NoOpener : public DesktopOpener
{
public:
    void openUrl(const QUrl &url) override { urls << url; }
    QList<QUrl> urls;
};

// The simulated port, watched at the byte level: every write must be one whole message,
// and in a fault-free exchange no message may leave while a reply to an earlier one is
// still unread (the device answers in order, so that reply would be taken by the wrong
// exchange).
class TracingPort : public SimPort
{
public:
    using SimPort::SimPort;
    qint64 write(const QByteArray &data) override
    {
        static const QRegularExpression framed(QStringLiteral("^\\$\\d+[^$\\r]+\\r$"));
        const QString text = QString::fromLatin1(data);
        if (!framed.match(text).hasMatch())
            violations << QStringLiteral("not one framed message: %1").arg(QString::fromLatin1(data.toHex()));
        const int unread = device().repliesGiven() - m_repliesRead;
        if (checkOrder && isOpen() && !cablePulled() && unread > 0)
            violations << QStringLiteral("%1 sent with %2 reply(ies) unread").arg(text.trimmed()).arg(unread);
        const qint64 written = SimPort::write(data);
        if (written == data.size() && onWrite) {
            // The hook runs after the message is on the wire, while its reply is awaited.
            const auto hook = onWrite;
            hook(text.chopped(1));
        }
        return written;
    }
    // Closing drops every reply still on its way.
    void close() override
    {
        SimPort::close();
        resync();
    }
    QByteArray readAll() override
    {
        const QByteArray bytes = SimPort::readAll();
        m_repliesRead += int(bytes.count('\r'));
        return bytes;
    }

    // Replies lost with a pulled cable are never read; count from here on.
    void resync() { m_repliesRead = device().repliesGiven(); }

    bool checkOrder = true;
    QStringList violations;
    std::function<void(const QString &message)> onWrite;

private:
    int m_repliesRead = 0;
};

inline void clearPreferences()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink")).clear();
}

// One window over one simulated device holding the reference parameters, started as the
// program starts it: by default with the preferences of a first start and auto-upload as
// asked, otherwise with the preferences stored.
struct Rig
{
    explicit Rig(bool autoUpload = false, const QList<int> &ports = {1}, bool firstStart = true)
    {
        if (firstStart)
            clearPreferences();
        port.setAvailablePorts(ports);
        // Values unlike the factory state, so that a form showing defaults or stale texts differs.
        for (const QString v : {"dP=5", "p1=2.5", "Xe=FF00FF", "XT=PWM", "Xm=3"})
            port.device().setValue(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        window = std::make_unique<QTX2SetlinkForm>(&port, &prompt, &opener);
        window->setQuitHandler([this] { ++quits; });
        // The pauses around exchanges are plain sleeps; without them a full upload takes
        // a fraction of a second.
        window->serialForm()->setPauseFunction([](int) {});
        SerialForm::Timing quick = window->serialForm()->timing();
        quick.openQuiet = 0; // nothing is left on a line no one used before
        window->serialForm()->setTiming(quick);
        started = window->start();
        if (firstStart && autoUpload != action("AutoUpMenu")->isChecked())
            action("AutoUpMenu")->trigger();
        initial = itemTexts();
    }
    ~Rig()
    {
        port.onWrite = nullptr;
        window.reset();
    }

    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }
    QAction *action(const QString &name) const { return find<QAction>(name); }
    void trigger(const QString &name) const { action(name)->trigger(); }
    QString panel1() const { return find<QLabel>(QStringLiteral("StatBarPanel1"))->text(); }
    QString panel2() const { return find<QLabel>(QStringLiteral("StatBarPanel2"))->text(); }
    QString dispPosn() const { return find<QLabel>(QStringLiteral("DispPosnLabel"))->text(); }
    QPushButton *connectButton() const { return find<QPushButton>(QStringLiteral("ConnectButton")); }
    void clickConnect() const { QTest::mouseClick(connectButton(), Qt::LeftButton); }
    QColor captionColour() const { return window->tabs()->tabBar()->tabTextColor(0); }
    QColor grey() const { return window->palette().color(QPalette::Disabled, QPalette::WindowText); }
    SerialForm *link() const { return window->serialForm(); }
    bool connected() const { return link()->is_connected(); }

    // Every setup item's shown text, by control name.
    QMap<QString, QString> itemTexts() const
    {
        QMap<QString, QString> texts;
        for (SetupItem *item : window->findChildren<SetupItem *>())
            texts.insert(item->objectName(), item->valueText());
        return texts;
    }
    void save(const QString &path)
    {
        prompt.saveName = path;
        trigger(QStringLiteral("SaveMenu"));
    }

    // Items whose text differs from the reference (a fault-free upload from this device) and
    // from every text also allowed (what the form showed before any exchange, say).
    QStringList differences(const QMap<QString, QString> &reference, const QList<QMap<QString, QString>> &allowed = {}) const
    {
        QStringList out;
        const QMap<QString, QString> now = itemTexts();
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            const auto same = [&it](const QMap<QString, QString> &texts) { return texts.value(it.key(), "\x01") == it.value(); };
            if (!same(reference) && std::none_of(allowed.cbegin(), allowed.cend(), same))
                out << QStringLiteral("%1=%2 (device: %3)").arg(it.key(), it.value(), reference.value(it.key()));
        }
        return out;
    }
    // Items showing values the device never sent.
    QStringList foreignValues(const QMap<QString, QString> &reference, const QMap<QString, QString> &otherReference = {}) const
    {
        return differences(reference, {initial, otherReference});
    }

    // Commands sent, position polls left out.
    QStringList commands() const
    {
        QStringList out;
        for (const QString &m : port.sentMessages())
            if (!LogPane::isPositionPoll(m))
                out << m;
        return out;
    }

    void setWaits(int plain, int poll, int longWait)
    {
        SerialForm::Timing t = link()->timing();
        t.plainWait = plain;
        t.pollWait = poll;
        t.longWait = longWait;
        link()->setTiming(t);
    }

    Qtx2Device device{Reference::device()};
    TracingPort port{&device};
    RecordingPrompt prompt;
    NoOpener opener;
    std::unique_ptr<QTX2SetlinkForm> window;
    QMap<QString, QString> initial;
    bool started = false;
    int quits = 0;
};

// What a fault-free connection with auto-upload shows for the device of every rig, or for
// the same after the device's own factory reset.
inline QMap<QString, QString> referenceTexts(bool factory = false)
{
    Rig rig(true);
    if (factory)
        rig.port.device().factoryReset();
    rig.clickConnect();
    return rig.itemTexts();
}

// The window tells the truth about a link that is gone.
#define VERIFY_DISCONNECTED(rig)                                                            \
    do {                                                                                           \
        QVERIFY(!(rig).connected());                                                               \
        QVERIFY2(!(rig).panel1().startsWith(QLatin1String("Connected")), qPrintable((rig).panel1())); \
        QCOMPARE((rig).connectButton()->text(), QStringLiteral("Connect"));                        \
        QVERIFY(!(rig).action(QStringLiteral("UploadMenu"))->isEnabled());                         \
        QTRY_COMPARE((rig).captionColour(), (rig).grey());                                         \
    } while (false)

