#include "shell/AboutBox.h"
#include "shell/DesktopOpener.h"
#include "shell/HelpLinks.h"
#include "shell/LogoLabel.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSysInfo>
#include <QtTest>

namespace {
class RecordingOpener : public DesktopOpener
{
public:
    QList<QUrl> opened;
    void openUrl(const QUrl &url) override { opened << url; }
};
} // namespace

class tst_Help : public QObject
{
    Q_OBJECT

private slots:
    void versionLineNamesTheBuild();
    void aboutBoxControls();
    void aboutBoxClicksOpenTheWebsite();
    void logoLabelClicks();
    void documentsInBothLayouts_data();
    void documentsInBothLayouts();
};

void tst_Help::versionLineNamesTheBuild()
{
    const QString line = AboutBox::versionLine();
    const QString version = QStringLiteral("%1.%2.%3")
                                .arg(SETLINK_VERSION_MAJOR)
                                .arg(SETLINK_VERSION_MINOR)
                                .arg(SETLINK_VERSION_PATCH);
    QVERIFY2(line.startsWith(QStringLiteral("QTX2 Setlink v") + version + QLatin1Char(' ')), qPrintable(line));
    QVERIFY(QRegularExpression(QStringLiteral("^QTX2 Setlink v\\d+\\.\\d+\\.\\d+ \\(.+\\)$")).match(line).hasMatch());
    QVERIFY(line.endsWith(AboutBox::platformSuffix()));
#if defined(Q_OS_WIN)
    QCOMPARE(AboutBox::platformSuffix(), QSysInfo::WordSize == 64 ? QStringLiteral(" (Win64)") : QStringLiteral(" (Win32)"));
#else
    QVERIFY(!line.contains(QLatin1String("Win")));
    QVERIFY(line.contains(QSysInfo::buildCpuArchitecture()));
    QVERIFY(line.contains(QSysInfo::kernelType(), Qt::CaseInsensitive));
#endif
}

void tst_Help::aboutBoxControls()
{
    RecordingOpener opener;
    AboutBox box(&opener);
    box.show();
    QCOMPARE(box.windowTitle(), QStringLiteral("About QTX Setlink"));
    QVERIFY(box.isModal());
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(box.findChild<LogoLabel *>(QStringLiteral("Picture1")));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Label2"))->text(), HelpLinks::websiteUrl().toString());
    QVERIFY(HelpLinks::websiteUrl().host().endsWith(QLatin1String(".example"))); // a placeholder, never a real site
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Label1(0)"))->text(), AboutBox::versionLine());
    QVERIFY(!box.findChild<QLabel *>(QStringLiteral("Label1(1)"))->text().isEmpty());

    auto *ok = box.findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QVERIFY(opener.opened.isEmpty());
}

void tst_Help::aboutBoxClicksOpenTheWebsite()
{
    RecordingOpener opener;
    AboutBox box(&opener);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.findChild<QWidget *>(QStringLiteral("Picture1")), Qt::LeftButton);
    QTest::mouseClick(box.findChild<QWidget *>(QStringLiteral("Label2")), Qt::LeftButton);
    QTest::mouseClick(box.findChild<QWidget *>(QStringLiteral("Label1(1)")), Qt::LeftButton);
    QCOMPARE(opener.opened, (QList<QUrl>{HelpLinks::websiteUrl(), HelpLinks::websiteUrl()}));
    QVERIFY(box.isVisible()); // the box stays up after a web link
    HelpLinks(nullptr).open_manual(); // no opener: nothing happens
}

void tst_Help::logoLabelClicks()
{
    LogoLabel logo;
    logo.show();
    QSignalSpy clicked(&logo, &LogoLabel::clicked);
    QTest::mouseClick(&logo, Qt::LeftButton);
    QTest::mouseClick(&logo, Qt::RightButton);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!logo.pixmap().isNull());
    // The logo is drawn, not blank: several colours appear in it.
    const QImage image = logo.pixmap().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 3);
}

void tst_Help::documentsInBothLayouts_data()
{
    QTest::addColumn<QString>("program");   // the program's folder
    QTest::addColumn<QString>("documents"); // where the help page and the manual are
    QTest::newRow("build folder") << "build" << "build";
    QTest::newRow("installed") << "usr/bin" << "usr/share/doc/qtx2setlink";
}

void tst_Help::documentsInBothLayouts()
{
    QFETCH(QString, program);
    QFETCH(QString, documents);
    QTemporaryDir root;
    const QString folder = root.path() + QLatin1Char('/') + documents;
    QVERIFY(QDir().mkpath(root.path() + QLatin1Char('/') + program) && QDir().mkpath(folder));
    QVERIFY(QFile(folder + QStringLiteral("/qtx2setlink.html")).open(QIODevice::WriteOnly));
    RecordingOpener opener;
    HelpLinks links(&opener, root.path() + QLatin1Char('/') + program);
    links.open_contents();
    links.open_manual();
    QCOMPARE(opener.opened, (QList<QUrl>{QUrl::fromLocalFile(folder + QStringLiteral("/qtx2setlink.html")),
                                         QUrl::fromLocalFile(folder + QStringLiteral("/QTX2.pdf"))}));
}

QTEST_MAIN(tst_Help)
#include "tst_help.moc"
