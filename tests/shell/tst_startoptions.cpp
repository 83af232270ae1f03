// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BuildInfo.h"
#include "shell/ConnectionPanel.h"
#include "shell/StartOptions.h"

#include <QComboBox>
#include <QtTest>

// qtx2setlink's command line, through to what the connection panel selects.
class TestStartOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        using O = StartOptions::Outcome;
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("outcome");
        // Run: the panel's port, speed and node and "connect", or the whole message; otherwise a part of it.
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << QStringList{} << int(O::Run) << "COM1|19200 bps|Auto|";
        QTest::newRow("all") << QStringList{"--port", "3", "--baud", "9600", "--node", "7", "--connect"} << int(O::Run)
                             << "COM3|9600 bps|7|connect";
        QTest::newRow("COM name, auto") << QStringList{"--port", "com3", "--node", "AUTO", "--baud", "1200"}
                                        << int(O::Run) << "COM3|1200 bps|Auto|";
        QTest::newRow("Qt's own option") << QStringList{"-platform", "offscreen", "--node", "0"} << int(O::Run)
                                         << "COM1|19200 bps|0|";
        QTest::newRow("Qt's X11 options") << QStringList{"-name", "bench", "-title", "Line 3", "-widgetcount", "-style=fusion"}
                                          << int(O::Run) << "COM1|19200 bps|Auto|";
        QTest::newRow("port that does not open") << QStringList{"--port", "2", "--connect"} << int(O::Run)
                                                 << "COM2 is not among the ports that open (COM1, COM3).";
        QTest::newRow("help") << QStringList{"--help"} << int(O::Help) << "--connect";
        QTest::newRow("version") << QStringList{"--version"} << int(O::Version)
                                 << QStringLiteral("qtx2setlink %1.%2.%3")
                                        .arg(SETLINK_VERSION_MAJOR).arg(SETLINK_VERSION_MINOR).arg(SETLINK_VERSION_PATCH);
        QTest::newRow("port 0") << QStringList{"--port", "0"} << int(O::Error) << "\"0\"";
        QTest::newRow("port 17") << QStringList{"--port", "COM17"} << int(O::Error) << "\"COM17\"";
        QTest::newRow("odd speed") << QStringList{"--baud", "115200"} << int(O::Error) << "\"115200\"";
        QTest::newRow("node 10") << QStringList{"--node", "10"} << int(O::Error) << "\"10\"";
        QTest::newRow("stray argument") << QStringList{"COM1"} << int(O::Error) << "\"COM1\"";
    }
    void parse()
    {
        QFETCH(QStringList, args);
        QFETCH(int, outcome);
        QFETCH(QString, expected);
        StartOptions options;
        QString message;
        QCOMPARE(int(StartOptions::parse(QStringList{"qtx2setlink"} + args, &options, &message)), outcome);
        const bool run = outcome == int(StartOptions::Outcome::Run);
        ConnectionPanel panel;
        panel.setPorts({{1, QString()}, {3, QString()}});
        if (run && panel.select(options, &message))
            message = QStringList{panel.portText(), panel.baudText(), panel.nodeCombo()->currentText(),
                                  options.connect ? QStringLiteral("connect") : QString()}.join(QLatin1Char('|'));
        QVERIFY2(run ? message == expected : message.contains(expected), qPrintable(message));
    }
};

QTEST_MAIN(TestStartOptions)
#include "tst_startoptions.moc"
