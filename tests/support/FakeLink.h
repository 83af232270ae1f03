#pragma once

#include "items/SetupItem.h"
#include "link/ParameterLink.h"

#include <QHash>
#include <QStringList>

// A device link that records what is sent and answers from a table. "WE" in the log
// stands for a write_enable(true) call, so tests see it ahead of the command it guards.
class FakeLink : public ParameterLink
{
public:
    QStringList sent;
    QHash<QString, QString> replies; // command -> payload; missing commands answer ""
    bool fail = false;               // every exchange times out
    QString received = QStringLiteral("stale reply of an earlier exchange");

    bool sendrcv_nodeid(const QString &command, bool IndicateError = true) override
    {
        sent.append(command);
        indicateErrors.append(IndicateError);
        if (fail) {
            received = QStringLiteral("TIMEOUT ERROR");
            return false;
        }
        received = replies.value(command);
        return true;
    }
    QString rcvstring() const override { return received; }
    void write_enable(bool enable) override { sent.append(enable ? QStringLiteral("WE") : QStringLiteral("WP")); }

    QList<bool> indicateErrors;
};

#include "transfer/ItemTrack.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

// What each item test starts from: a fresh link, item list and set of items, all
// discarded after the test.
struct ItemSandbox
{
    FakeLink link;
    ItemTrack *track = nullptr;
    QList<QWidget *> owned;
    QWidget *window = nullptr;

    void reset()
    {
        link = FakeLink();
        track = new ItemTrack;
    }
    void clear()
    {
        qDeleteAll(owned);
        owned.clear();
        delete window;
        window = nullptr;
        delete track;
        track = nullptr;
    }
    template<typename Item> Item *make(class LengthUnits *units = nullptr)
    {
        auto *item = new Item(ItemContext{track, &link, units});
        owned.append(item);
        return item;
    }
    // Puts the item in an active window beside a line edit that focus can move to;
    // null when the window never became active.
    QLineEdit *showBeside(QWidget *item)
    {
        window = new QWidget;
        auto *layout = new QVBoxLayout(window);
        auto *other = new QLineEdit(window);
        layout->addWidget(item);
        layout->addWidget(other);
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window) ? other : nullptr;
    }
};
