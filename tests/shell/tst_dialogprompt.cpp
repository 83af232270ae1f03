#include "shell/DialogPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestDialogPrompt : public QObject
{
    Q_OBJECT

private slots:
    void messageBox()
    {
        QWidget parent;
        DialogPrompt prompt(&parent);
        QString title, text, details;
        int icon = -1;
        int buttons = 0;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            details = box->detailedText();
            icon = int(box->icon());
            buttons = int(box->standardButtons());
            box->button(QMessageBox::Ok)->click();
        });
        prompt.message(QStringLiteral("At least one COM port must be available."), QStringLiteral("COM1: busy"));
        QCOMPARE(title, QStringLiteral("QTX2 Setlink"));
        QCOMPARE(text, QStringLiteral("At least one COM port must be available."));
        QCOMPARE(details, QStringLiteral("COM1: busy"));
        QCOMPARE(icon, int(QMessageBox::NoIcon));
        QCOMPARE(buttons, int(QMessageBox::Ok)); // beside the details button
    }

    // Enter and Escape give the answer that changes nothing; a list starts on its first entry.
    void questionAndChoice()
    {
        QWidget parent;
        DialogPrompt prompt(&parent);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QTimer::singleShot(0, this, [key] { QTest::keyClick(QApplication::activeModalWidget(), key); });
            QVERIFY(!prompt.question(QStringLiteral("Reset without a backup?"), QStringLiteral("Go On"), QStringLiteral("Stop")));
        }
        QTimer::singleShot(0, this, [] {
            QWidget *list = QApplication::activeModalWidget();
            QTest::keyClick(list, Qt::Key_Return);
            list->close(); // still open when Open was refused: nothing chosen
        });
        QCOMPARE(prompt.choose(QStringLiteral("Open which backup?"), {"newest", "older"}, QStringLiteral("Open")), 0);
    }

    void cancelledFileDialogGivesNoName()
    {
        QWidget parent;
        DialogPrompt prompt(&parent);
        QTimer::singleShot(0, this, [] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        QCOMPARE(prompt.saveFileName(), QString());
    }
};

QTEST_MAIN(TestDialogPrompt)
#include "tst_dialogprompt.moc"
