#include "model/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void splitsEveryLineEnd_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("lines");
        const QStringList three{"PUINCHES", "dP3", "dZYES"};
        QTest::newRow("CR LF") << QByteArray("PUINCHES\r\ndP3\r\ndZYES\r\n") << three;
        QTest::newRow("LF") << QByteArray("PUINCHES\ndP3\ndZYES\n") << three;
        QTest::newRow("lone CR") << QByteArray("PUINCHES\rdP3\rdZYES\r") << three;
        QTest::newRow("no final end") << QByteArray("PUINCHES\r\ndP3\r\ndZYES") << three;
        QTest::newRow("mixed") << QByteArray("PUINCHES\rdP3\ndZYES\r\n") << three;
        QTest::newRow("blank lines kept") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("8-bit bytes") << QByteArray("p1\xe9\xff\r\n") << QStringList{QString::fromLatin1("p1\xe9\xff")};
    }
    void splitsEveryLineEnd()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, lines);
        QCOMPARE(SettingsFile::splitLines(data), lines);
    }

    void writesCrLfAndReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.txt");
        QString error;
        QVERIFY(SettingsFile::write(path, {"PUMM", "p1-.5", "XeFFFFFFFF"}, &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("PUMM\r\np1-.5\r\nXeFFFFFFFF\r\n"));
        QStringList lines;
        QCOMPARE(SettingsFile::read(path, &lines, &error), SettingsFile::ReadResult::Ok);
        QCOMPARE(lines, (QStringList{"PUMM", "p1-.5", "XeFFFFFFFF"}));
    }

    // Refusals at the window (missing, folder, too large, failed save) are tried in
    // tests/faults; here only that a refused read hands back no stale lines.
    void refusedReadLeavesNoLines()
    {
        QTemporaryDir dir;
        QStringList lines{"stale"};
        QString error;
        QCOMPARE(SettingsFile::read(dir.filePath("nope"), &lines, &error), SettingsFile::ReadResult::NotFound);
        QVERIFY(lines.isEmpty());
        QFile big(dir.filePath("big"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(SettingsFile::MaxSize + 1));
        big.close();
        lines = QStringList{"stale"};
        QCOMPARE(SettingsFile::read(big.fileName(), &lines, &error), SettingsFile::ReadResult::TooLarge);
        QVERIFY(lines.isEmpty());
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
