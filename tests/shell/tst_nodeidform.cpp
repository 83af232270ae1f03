#include "link/SerialForm.h"
#include "shell/NodeIDForm.h"
#include "AnsweringPort.h"
#include "RecordingPrompt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

// A QTX2 that answers "$<node><command>" at its own node ID (any 16-bit one) and "RID"
// at any node; "SID" moves it unless sidReply says otherwise.
struct NodeDevice
{
    int node = 0;
    QByteArray sidReply = "*\r"; // empty: no answer

    QByteArray answer(const QString &message)
    {
        static const QRegularExpression framed(QStringLiteral("^\\$(-?\\d+)(.*)$"));
        const auto m = framed.match(message);
        if (!m.hasMatch() || (m.captured(1).toInt() != node && m.captured(2) != QLatin1String("RID")))
            return {};
        const QString body = m.captured(2);
        if (body == QLatin1String("RMV"))
            return "*QTXv2 test\r";
        if (!body.startsWith(QLatin1String("SID")))
            return "*\r";
        if (sidReply == "*\r")
            node = body.mid(3).toInt();
        return sidReply;
    }
};

class tst_NodeIDForm : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        device = NodeDevice();
        port = new AnsweringPort;
        port->device = [this](const QString &m) { return device.answer(m); };
        prompt = new RecordingPrompt;
        link = new SerialForm(port, prompt);
        QVERIFY(link->scan_ports());
    }

    void cleanup()
    {
        delete form;
        form = nullptr;
        delete link;
        delete prompt;
        delete port;
    }

    void opensWithCurrentNode_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("field");

        QTest::newRow("4") << 4 << "4";
        QTest::newRow("1") << 1 << "1";
        QTest::newRow("9") << 9 << "9";
        QTest::newRow("0 is not in the list") << 0 << "";
        QTest::newRow("12") << 12 << "";
    }

    void opensWithCurrentNode()
    {
        QFETCH(int, node);
        QFETCH(QString, field);

        connectAt(qint16(node));
        openForm();
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("CurNodeLabel"))->text(),
                 QStringLiteral("Current Node ID: %1").arg(node));
        QCOMPARE(combo()->currentText(), field);
        QCOMPARE(port->sent, QStringList());
    }

    void dialogShape()
    {
        connectAt(0);
        openForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("Change Node ID"));
        QVERIFY(form->isModal());
        QVERIFY(!(form->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("NewNodeLabel"))->text(), QStringLiteral("New Node ID:"));
        QVERIFY(combo()->isEditable());
        QStringList items;
        for (int i = 0; i < combo()->count(); ++i)
            items << combo()->itemText(i);
        QCOMPARE(items, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        QVERIFY(form->findChild<QPushButton *>(QStringLiteral("OKButton"))->isDefault());
        QCOMPARE(form->findChild<QPushButton *>(QStringLiteral("CancelButton"))->text(), QStringLiteral("Cancel"));
    }

    void okSendsTheChosenNode_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("typed"); // empty: pick "7" from the list
        QTest::addColumn<QString>("sid");
        QTest::addColumn<int>("to");

        QTest::newRow("pick 7") << 0 << "" << "$0SID7" << 7;
        QTest::newRow("node 0 untouched") << 0 << "-" << "$0SID0" << 0;
        QTest::newRow("from 4") << 4 << "3" << "$4SID3" << 3;
        QTest::newRow("half to even down") << 0 << "2.5" << "$0SID2" << 2;
        QTest::newRow("half to even up") << 0 << "3.5" << "$0SID4" << 4;
        QTest::newRow("no number") << 5 << "abc" << "$5SID0" << 0;
        QTest::newRow("leading number") << 0 << "6 volts" << "$0SID6" << 6;
        QTest::newRow("largest") << 0 << "32767" << "$0SID32767" << 32767;
        QTest::newRow("negative") << 0 << "-32768" << "$0SID-32768" << -32768;
        QTest::newRow("Enter in the field") << 0 << "5\n" << "$0SID5" << 5;
    }

    void okSendsTheChosenNode()
    {
        QFETCH(int, from);
        QFETCH(QString, typed);
        QFETCH(QString, sid);
        QFETCH(int, to);

        connectAt(qint16(from));
        QSignalSpy status(link, &SerialForm::statusText);
        openForm();
        if (typed.isEmpty()) {
            combo()->setCurrentIndex(6);
        } else if (typed != QLatin1String("-")) {
            combo()->lineEdit()->selectAll();
            QTest::keyClicks(combo()->lineEdit(), typed.trimmed());
        }
        if (typed.endsWith(QLatin1Char('\n')))
            QTest::keyClick(combo()->lineEdit(), Qt::Key_Return);
        else
            clickOk();

        QVERIFY(port->sent.contains(sid));
        QCOMPARE(port->sent.last(), sid);
        QCOMPARE(link->get_nodeid(), qint16(to));
        QVERIFY(!form->isVisible());
        QCOMPARE(prompt->messages, QStringList());
        QCOMPARE(combo()->count(), 9); // typed text never joins the list
        QVERIFY(!status.isEmpty());
        QVERIFY(status.last().first().toString().endsWith(QStringLiteral(" with Node ID %1").arg(to)));
    }

    void cancelSendsNothing()
    {
        connectAt(4);
        openForm();
        combo()->setCurrentIndex(1);
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("CancelButton")), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));

        delete form;
        openForm();
        QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY(!form->isVisible());

        QCOMPARE(port->sent, QStringList());
        QCOMPARE(link->get_nodeid(), qint16(4));
    }

    void outOfRangeIsRefusedAndStaysOpen_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("too big") << "40000";
        QTest::newRow("too small") << "-32769";
        QTest::newRow("rounds out of range") << "32767.5";
        QTest::newRow("exponent") << "1e10";
    }

    void outOfRangeIsRefusedAndStaysOpen()
    {
        QFETCH(QString, typed);

        connectAt(2);
        openForm();
        combo()->lineEdit()->selectAll();
        QTest::keyClicks(combo()->lineEdit(), typed);
        clickOk();

        QCOMPARE(prompt->messages, QStringList{QStringLiteral("Node ID must be a whole number from -32768 to 32767")});
        QCOMPARE(port->sent, QStringList());
        QVERIFY(form->isVisible());
        QCOMPARE(link->get_nodeid(), qint16(2));

        // Corrected, it goes through.
        combo()->lineEdit()->selectAll();
        QTest::keyClicks(combo()->lineEdit(), QStringLiteral("8"));
        clickOk();
        QCOMPARE(port->sent.last(), QStringLiteral("$2SID8"));
        QCOMPARE(link->get_nodeid(), qint16(8));
        QVERIFY(!form->isVisible());
    }

    void failureIsNeverSuccess_data()
    {
        QTest::addColumn<QByteArray>("sidReply");
        QTest::addColumn<int>("portCloses"); // 0 stays open, 1 closed before OK, 2 closes during the wait

        QTest::newRow("refused with a payload") << QByteArray("*ERR\r") << 0;
        QTest::newRow("no reply") << QByteArray() << 0;
        QTest::newRow("port closed before OK") << QByteArray("*\r") << 1;
        QTest::newRow("port closed while waiting") << QByteArray() << 2;
    }

    void failureIsNeverSuccess()
    {
        QFETCH(QByteArray, sidReply);
        QFETCH(int, portCloses);

        connectAt(3);
        // The last exchange leaves an empty payload behind, the same as an accepted "SID".
        QVERIFY(link->sendrcv_nodeid(QStringLiteral("SPL3"), false));
        QCOMPARE(link->rcvstring(), QString());
        device.sidReply = sidReply;
        SerialForm::Timing t = link->timing();
        t.plainWait = 150;
        link->setTiming(t);

        QSignalSpy status(link, &SerialForm::statusText);
        openForm();
        combo()->setCurrentIndex(5);
        if (portCloses == 1)
            link->disconnect_qtx();
        if (portCloses == 2) {
            // Close once the "SID" is out and its reply is awaited.
            QTimer::singleShot(50, link, [this] { link->disconnect_qtx(); });
        }
        status.clear();
        clickOk();

        QCOMPARE(link->get_nodeid(), qint16(3));
        QVERIFY(prompt->messages.contains(QStringLiteral("Could not change node ID")));
        for (const QList<QVariant> &args : std::as_const(status))
            QVERIFY(!args.first().toString().contains(QStringLiteral("with Node ID 6")));
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
    }

private:
    void connectAt(qint16 node)
    {
        device.node = node;
        QVERIFY(link->open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), node));
        port->sent.clear();
        prompt->messages.clear();
    }

    NodeIDForm *openForm()
    {
        form = new NodeIDForm(link, prompt);
        form->show();
        if (!QTest::qWaitForWindowExposed(form))
            qWarning("dialog not exposed");
        return form;
    }

    QComboBox *combo() const { return form->findChild<QComboBox *>(QStringLiteral("NodeCombo")); }
    void clickOk() { QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton); }

    NodeDevice device;
    AnsweringPort *port = nullptr;
    RecordingPrompt *prompt = nullptr;
    SerialForm *link = nullptr;
    NodeIDForm *form = nullptr;
};

QTEST_MAIN(tst_NodeIDForm)
#include "tst_nodeidform.moc"
