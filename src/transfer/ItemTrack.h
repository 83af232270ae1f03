#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;
class SetupItem;
class SerialForm;

// The list of every setup item, in creation order, and the walks over it: upload,
// download, settings-file lines and the units reset. The units item (code "PU") is
// always handled first and skipped in the walk.
class ItemTrack : public QObject
{
    Q_OBJECT
public:
    explicit ItemTrack(QObject *parent = nullptr);

    void register_item(SetupItem *item);
    const QList<SetupItem *> &item_list() const;
    SetupItem *units_item() const; // the entry whose code is "PU", or nullptr

    // The walks need the link (reset_wp) and the busy flag, the position timer.
    void setLink(SerialForm *link);
    void setBusyTimer(QTimer *timer);

    void upload_all();
    void download_all();
    // The lines of a settings file: the units line first, then every other item's line.
    QStringList file_lines() const;
    void file_read_line(const QString &line);
    void reset_units_all();

signals:
    // Panel 2 of the status bar.
    void progress(const QString &text);
    // Upload only: after each entry, so the window refreshes the tab caption colour.
    void itemRead();
    // The units item took a value from the device or from a settings file: the lengths
    // that follow are in that unit.
    void unitsTaken();

private:
    bool claim();
    void release();

    QList<SetupItem *> m_items;
    SerialForm *m_link = nullptr;
    QTimer *m_timer = nullptr;
};
