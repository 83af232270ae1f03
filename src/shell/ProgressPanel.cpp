// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/ProgressPanel.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>

#include <utility>

namespace {

// The whole number before a closing "%" ("Uploading...   50%"), or -1.
int trailingPercent(const QString &text)
{
    if (!text.endsWith(QLatin1Char('%')))
        return -1;
    qsizetype start = text.size() - 1;
    while (start > 0 && text.at(start - 1).isDigit())
        --start;
    bool ok = false;
    const int value = QStringView(text).mid(start, text.size() - 1 - start).toInt(&ok);
    return ok ? qBound(0, value, 100) : -1;
}

} // namespace

ProgressPanel::ProgressPanel(QLabel *panel, QProgressBar *bar, QWidget *window)
    : QObject(window), m_panel(panel), m_bar(bar), m_statusBar(panel->parentWidget()), m_window(window)
{
    if (m_statusBar)
        m_statusBar->installEventFilter(this);
    m_frame.setSingleShot(true);
    m_frame.setInterval(FrameMs);
    connect(&m_frame, &QTimer::timeout, this, [this] {
        if (m_pendingPercent < 0)
            return;
        showNow(m_pending, m_pendingPercent);
        m_pendingPercent = -1;
        // The percentage after this one waits a whole frame too.
        m_frame.start();
    });
}

void ProgressPanel::show(const QString &text)
{
    const int percent = trailingPercent(text);
    if (percent < 0) {
        m_pendingPercent = -1;
        m_frame.stop();
        showNow(text, percent);
        return;
    }
    m_pending = text;
    m_pendingPercent = percent;
    // The first percentage of a walk shows at once; later ones wait for the next frame.
    if (!m_frame.isActive()) {
        showNow(m_pending, m_pendingPercent);
        m_pendingPercent = -1;
        m_frame.start();
    }
}

bool ProgressPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Only the status bar's resizes: while it is destroyed it sends other events, and by
    // then the panel may be gone.
    if (event->type() == QEvent::Resize && watched == m_statusBar) {
        unpin();
        m_relaidOut = true;
    }
    return QObject::eventFilter(watched, event);
}

void ProgressPanel::unpin()
{
    if (m_panel->minimumSize() != m_panel->maximumSize())
        return;
    m_panel->setMinimumSize(0, 0);
    m_panel->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void ProgressPanel::showNow(const QString &text, int percent)
{
    // While percentages follow each other the panel keeps its size, so a new one repaints
    // the panel alone instead of laying out and repainting the whole status bar. The first
    // one (which shows the bar) and the first after the status bar was resized wait for
    // the new layout: it runs before the next frame.
    if (percent >= 0 && m_bar->isVisible() && !std::exchange(m_relaidOut, false))
        m_panel->setFixedSize(m_panel->size());
    if (m_panel->text() != text)
        m_panel->setText(text);
    if (percent < 0) {
        unpin();
        // A result ("Download verified: ...") takes up to half the bar rather than being
        // cut; walk progress fits the panel's own share.
        const int needed =
            m_panel->fontMetrics().horizontalAdvance(text) + 2 * (m_panel->frameWidth() + m_panel->margin()) + 8;
        m_panel->setMinimumWidth(needed > m_panel->width() ? qMin(needed, m_window->width() / 2) : 0);
        m_bar->hide();
        return;
    }
    // In steps of 5 %: the bar is 90 pixels wide. A progress bar repaints itself at once
    // on a new value; with updates held it is painted with the panel, once per frame.
    const int value = percent / 5 * 5;
    if (m_bar->value() != value) {
        m_bar->setUpdatesEnabled(false);
        m_bar->setValue(value);
        m_bar->setUpdatesEnabled(true);
    }
    m_bar->show();
}
