#include "transfer/ItemTrack.h"

#include "model/NumberText.h"
#include "items/SetupItem.h"
#include "link/SerialForm.h"

#include <QTimer>

namespace {

const QString UnitsCode = QStringLiteral("PU");

// "Uploading... " + "###" percentage padded in front to width + "%".
QString progressText(const QString &prefix, int i, int n, int width)
{
    QString p = NumberText::percent_text(100.0 * i / n);
    while (p.size() < width)
        p.prepend(QLatin1Char(' '));
    return prefix + p + QLatin1Char('%');
}

} // namespace

ItemTrack::ItemTrack(QObject *parent) : QObject(parent) {}

void ItemTrack::register_item(SetupItem *item)
{
    m_items.append(item);
}

const QList<SetupItem *> &ItemTrack::item_list() const
{
    return m_items;
}

SetupItem *ItemTrack::units_item() const
{
    for (SetupItem *item : m_items)
        if (item->get_serstring() == UnitsCode)
            return item;
    return nullptr;
}

void ItemTrack::setLink(SerialForm *link)
{
    m_link = link;
}

void ItemTrack::setBusyTimer(QTimer *timer)
{
    m_timer = timer;
}

// The position timer's running state is the busy flag: a walk runs only while it runs,
// and stops it for the walk's whole length so no poll interleaves with the transfer.
bool ItemTrack::claim()
{
    if (m_timer && !m_timer->isActive())
        return false;
    if (m_timer)
        m_timer->stop();
    return true;
}

void ItemTrack::release()
{
    emit progress(QString());
    if (m_timer)
        m_timer->start();
}

void ItemTrack::upload_all()
{
    if (!claim())
        return;
    if (SetupItem *units = units_item()) {
        units->ser_read();
        emit unitsTaken();
    }
    const int n = m_items.size();
    for (int i = 0; i < n; ++i) {
        SetupItem *item = m_items.at(i);
        emit progress(progressText(QStringLiteral("Uploading... "), i + 1, n, 4));
        if (item->get_serstring() != UnitsCode)
            item->ser_read();
        emit itemRead();
    }
    release();
}

void ItemTrack::download_all()
{
    if (!claim())
        return;
    if (m_link)
        m_link->reset_wp();
    if (SetupItem *units = units_item())
        units->ser_write();
    const int n = m_items.size();
    for (int i = 0; i < n; ++i) {
        SetupItem *item = m_items.at(i);
        emit progress(progressText(QStringLiteral("Downloading... "), i + 1, n, 3));
        if (item->get_serstring() != UnitsCode)
            item->ser_write();
    }
    release();
}

QStringList ItemTrack::file_lines() const
{
    QStringList lines;
    auto add = [&lines](const QString &line) {
        if (!line.isEmpty())
            lines.append(line);
    };
    if (SetupItem *units = units_item())
        add(units->make_file_write_str());
    for (SetupItem *item : m_items)
        if (item->get_serstring() != UnitsCode)
            add(item->make_file_write_str());
    return lines;
}

void ItemTrack::file_read_line(const QString &line)
{
    for (SetupItem *item : m_items) {
        if (item->check_file_read(line)) {
            if (item->get_serstring() == UnitsCode)
                emit unitsTaken();
            return;
        }
    }
}

void ItemTrack::reset_units_all()
{
    for (SetupItem *item : m_items)
        item->reset_units();
}
