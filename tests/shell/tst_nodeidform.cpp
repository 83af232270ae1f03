#include "link/SerialForm.h"
#include "link/SerialPortIo.h"
#include "shell/NodeIDForm.h"
#include "shell/UserPrompt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

// A QTX2 on a port: answers "$<node><command>" at its own node ID; "SID" moves it.
class FakeDevicePort : public SerialPortIo
{
    Q_OBJECT
public:
    int node = 0;
    QByteArray sidReply = "*\r"; // empty: no answer
    QStringList sent;

    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    void setSettings(const QString &) override {}
    bool open() override { return m_open = true; }
    void close() override
    {
        m_open = false;
        m_in.clear();
    }
    bool isOpen() const override { return m_open; }
    OpenFailure lastOpenFailure() const override { return OpenFailure::None; }
    QString lastErrorText() const override { return {}; }
    qint64 write(const QByteArray &data) override
    {
        const QString command = QString::fromLatin1(data).trimmed();
        sent << command;
        static const QRegularExpression framed(QStringLiteral("^\\$(-?\\d+)(.*)$"));
        const auto m = framed.match(command);
        QByteArray reply;
        if (m.hasMatch() && (m.captured(1).toInt() == node || m.captured(2) == QLatin1String("RID"))) {
            const QString body = m.captured(2);
            if (body == QLatin1String("RMV"))
                reply = "*QTXv2 test\r";
            else if (body.startsWith(QLatin1String("SID"))) {
                reply = sidReply;
                if (reply == "*\r")
                    node = body.mid(3).toInt();
            } else
                reply = "*\r";
        }
        if (!reply.isEmpty()) {
            QTimer::singleShot(0, this, [this, reply] {
                if (!m_open)
                    return;
                m_in += reply;
                emit readyRead();
            });
        }
        return data.size();
    }
    qint64 bytesAvailable() const override { return m_in.size(); }
    QByteArray readAll() override { return std::exchange(m_in, {}); }
    QString describePort(int) const override { return QStringLiteral("/dev/fake"); }

private:
    int m_number = 1;
    bool m_open = false;
    QByteArray m_in;
};

class RecordingPrompt : public UserPrompt
{
public:
    QStringList shown;
    void message(const QString &text, const QString & = QString()) override { shown << text; }
    QString openFileName() override { return {}; }
    QString saveFileName() override { return {}; }
};

} // namespace

class tst_NodeIDForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithCurrentNode_data();
    void opensWithCurrentNode();
    void dialogShape();
    void okSendsTheChosenNode_data();
    void okSendsTheChosenNode();
    void enterInTheFieldIsOk();
    void cancelSendsNothing();
    void outOfRangeIsRefusedAndStaysOpen_data();
    void outOfRangeIsRefusedAndStaysOpen();
    void failureIsNeverSuccess_data();
    void failureIsNeverSuccess();

private:
    void connectAt(qint16 node);
    NodeIDForm *openForm();
    QComboBox *combo() const { return form->findChild<QComboBox *>(QStringLiteral("NodeCombo")); }
    void clickOk() { QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton); }

    FakeDevicePort *port = nullptr;
    RecordingPrompt *prompt = nullptr;
    SerialForm *link = nullptr;
    NodeIDForm *form = nullptr;
};

void tst_NodeIDForm::init()
{
    port = new FakeDevicePort;
    prompt = new RecordingPrompt;
    link = new SerialForm(port, prompt);
    QVERIFY(link->scan_ports());
}

void tst_NodeIDForm::cleanup()
{
    delete form;
    form = nullptr;
    delete link;
    delete prompt;
    delete port;
}

void tst_NodeIDForm::connectAt(qint16 node)
{
    port->node = node;
    QVERIFY(link->open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), node));
    port->sent.clear();
    prompt->shown.clear();
}

NodeIDForm *tst_NodeIDForm::openForm()
{
    form = new NodeIDForm(link, prompt);
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        qWarning("dialog not exposed");
    return form;
}

void tst_NodeIDForm::opensWithCurrentNode_data()
{
    QTest::addColumn<int>("node");
    QTest::addColumn<QString>("field");

    QTest::newRow("4") << 4 << "4";
    QTest::newRow("1") << 1 << "1";
    QTest::newRow("9") << 9 << "9";
    QTest::newRow("0 is not in the list") << 0 << "";
    QTest::newRow("12") << 12 << "";
}

void tst_NodeIDForm::opensWithCurrentNode()
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

void tst_NodeIDForm::dialogShape()
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

void tst_NodeIDForm::okSendsTheChosenNode_data()
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
}

void tst_NodeIDForm::okSendsTheChosenNode()
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
        QTest::keyClicks(combo()->lineEdit(), typed);
    }
    clickOk();

    QVERIFY(port->sent.contains(sid));
    QCOMPARE(port->sent.last(), sid);
    QCOMPARE(link->get_nodeid(), qint16(to));
    QVERIFY(!form->isVisible());
    QCOMPARE(prompt->shown, QStringList());
    QVERIFY(!status.isEmpty());
    QVERIFY(status.last().first().toString().endsWith(QStringLiteral(" with Node ID %1").arg(to)));
}

void tst_NodeIDForm::enterInTheFieldIsOk()
{
    connectAt(0);
    openForm();
    combo()->lineEdit()->selectAll();
    QTest::keyClicks(combo()->lineEdit(), QStringLiteral("5"));
    QTest::keyClick(combo()->lineEdit(), Qt::Key_Return);
    QCOMPARE(port->sent.last(), QStringLiteral("$0SID5"));
    QVERIFY(!form->isVisible());
    QCOMPARE(combo()->count(), 9); // the typed text did not join the list
}

void tst_NodeIDForm::cancelSendsNothing()
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

void tst_NodeIDForm::outOfRangeIsRefusedAndStaysOpen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("too big") << "40000";
    QTest::newRow("too small") << "-32769";
    QTest::newRow("rounds out of range") << "32767.5";
    QTest::newRow("exponent") << "1e10";
}

void tst_NodeIDForm::outOfRangeIsRefusedAndStaysOpen()
{
    QFETCH(QString, typed);

    connectAt(2);
    openForm();
    combo()->lineEdit()->selectAll();
    QTest::keyClicks(combo()->lineEdit(), typed);
    clickOk();

    QCOMPARE(prompt->shown, QStringList{QStringLiteral("Node ID must be a whole number from -32768 to 32767")});
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

void tst_NodeIDForm::failureIsNeverSuccess_data()
{
    QTest::addColumn<QByteArray>("sidReply");
    QTest::addColumn<int>("portCloses"); // 0 stays open, 1 closed before OK, 2 closes during the wait

    QTest::newRow("refused with a payload") << QByteArray("*ERR\r") << 0;
    QTest::newRow("no reply") << QByteArray() << 0;
    QTest::newRow("port closed before OK") << QByteArray("*\r") << 1;
    QTest::newRow("port closed while waiting") << QByteArray() << 2;
}

void tst_NodeIDForm::failureIsNeverSuccess()
{
    QFETCH(QByteArray, sidReply);
    QFETCH(int, portCloses);

    connectAt(3);
    // The last exchange leaves an empty payload behind, the same as an accepted "SID".
    QVERIFY(link->sendrcv_nodeid(QStringLiteral("SPL3"), false));
    QCOMPARE(link->rcvstring(), QString());
    port->sidReply = sidReply;
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
    QVERIFY(prompt->shown.contains(QStringLiteral("Could not change node ID")));
    for (const QList<QVariant> &args : std::as_const(status))
        QVERIFY(!args.first().toString().contains(QStringLiteral("with Node ID 6")));
    QVERIFY(!form->isVisible());
    QCOMPARE(form->result(), int(QDialog::Rejected));
}

QTEST_MAIN(tst_NodeIDForm)
#include "tst_nodeidform.moc"
