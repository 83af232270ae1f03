#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QLabel;
class MagPosnDisp;
class SerialForm;

// The position poll: one short read per tick of the window's position timer, first the
// displayed position, then (when the magnet menu entry is checked) one magnet per tick
// until magnet 15 or the device says there are no more.
class PositionMonitor : public QObject
{
    Q_OBJECT
public:
    PositionMonitor(SerialForm *link, QLabel *dispPosnLabel, const QList<MagPosnDisp *> &displays,
                    QAction *magPosnMenu, QObject *parent = nullptr);

    // Names the displays "Magnet 1:" to "Magnet 15:" and blanks their values.
    void start_displays();

    // 0: the next tick reads the displayed position; k: it reads magnet k.
    int magnet_poll() const;

    static QString displayCommand(qint16 node);
    static QString magnetCommand(qint16 node, int magnet);

public slots:
    void tick();
    // After the menu entry has toggled: unchecked blanks every magnet display.
    void menuClicked();

private:
    bool magnetsWanted() const;
    void showDisplayedPosition(const QString &reply);
    void showMagnet(int magnet, const QString &reply);
    void setErrorFrom(int index, const QString &text);

    QPointer<SerialForm> m_link;
    QPointer<QLabel> m_dispPosn;
    QList<QPointer<MagPosnDisp>> m_displays;
    QPointer<QAction> m_menu;
    qint16 m_magnetPoll = 0;
    bool m_inTick = false;
};
