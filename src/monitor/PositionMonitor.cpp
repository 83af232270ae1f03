#include "monitor/PositionMonitor.h"

#include "model/NumberText.h"
#include "link/SerialForm.h"
#include "monitor/MagPosnDisp.h"

#include <QAction>
#include <QLabel>
#include <cmath>
#include <limits>

namespace {
constexpr qint16 LastMagnet = 15;
const QString NoMagnet = QStringLiteral("0NOMAG");
const QString NoTransducer = QStringLiteral("0NOXDCR");
const QString MissingText = QStringLiteral("[----]");
const QString TransducerErrorText = QStringLiteral("ERR 01");
} // namespace

PositionMonitor::PositionMonitor(SerialForm *link, QLabel *dispPosnLabel,
                                 const QList<MagPosnDisp *> &displays, QAction *magPosnMenu,
                                 QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_dispPosn(dispPosnLabel)
    , m_menu(magPosnMenu)
{
    for (MagPosnDisp *disp : displays)
        m_displays.append(disp);
}

void PositionMonitor::start_displays()
{
    for (int i = 0; i < m_displays.size(); ++i) {
        if (!m_displays.at(i))
            continue;
        m_displays.at(i)->set_magnet(i + 1);
        m_displays.at(i)->set_text(QStringLiteral(" "), false);
    }
}

int PositionMonitor::magnet_poll() const
{
    return m_magnetPoll;
}

QString PositionMonitor::displayCommand(qint16 node)
{
    return QStringLiteral("$%1RD").arg(node);
}

QString PositionMonitor::magnetCommand(qint16 node, int magnet)
{
    return QStringLiteral("$%1Rd%2").arg(node).arg(magnet, 0, 16);
}

void PositionMonitor::tick()
{
    // One exchange at a time: a tick that falls due while any reply is awaited (its own
    // or another command's) is dropped, not queued, and the cycle stays where it was.
    if (m_inTick || !m_link || m_link->is_busy())
        return;
    m_inTick = true;

    if (!m_link->is_connected()) {
        if (m_dispPosn)
            m_dispPosn->clear();
    } else if (m_magnetPoll == 0) {
        const QString reply = m_link->sendrcv_timer(displayCommand(m_link->get_nodeid()), false);
        // The link may be gone once the wait is over; a disconnected window shows no
        // displayed position, even one that came in just before the line dropped.
        if (m_link && m_link->is_connected())
            showDisplayedPosition(reply);
    } else {
        const int magnet = m_magnetPoll;
        const QString reply = m_link->sendrcv_timer(magnetCommand(m_link->get_nodeid(), magnet), false);
        if (m_link)
            showMagnet(magnet, reply);
    }

    ++m_magnetPoll;
    if (m_magnetPoll > LastMagnet)
        m_magnetPoll = 0;
    if (!magnetsWanted())
        m_magnetPoll = 0;
    m_inTick = false;
}

void PositionMonitor::menuClicked()
{
    if (magnetsWanted())
        return;
    for (const auto &disp : std::as_const(m_displays)) {
        if (disp)
            disp->set_text(QString(), false);
    }
}

bool PositionMonitor::magnetsWanted() const
{
    return m_menu && m_menu->isChecked();
}

void PositionMonitor::showDisplayedPosition(const QString &reply)
{
    if (!m_dispPosn)
        return;
    if (reply == NoMagnet)
        m_dispPosn->setText(MissingText);
    else if (reply == NoTransducer)
        m_dispPosn->setText(TransducerErrorText);
    else
        m_dispPosn->setText(reply);
}

void PositionMonitor::showMagnet(int magnet, const QString &reply)
{
    const int index = magnet - 1;
    if (index < 0 || index >= m_displays.size())
        return;
    MagPosnDisp *disp = m_displays.at(index);

    if (!magnetsWanted()) {
        if (disp)
            disp->set_text(QString(), false);
        return;
    }
    // The port closed during the wait: no reading came in, so the display keeps its text
    // rather than showing a made-up 0.00000.
    if (!m_link->is_connected())
        return;

    if (reply == NoMagnet) {
        setErrorFrom(index, MissingText);
        m_magnetPoll = LastMagnet;
    } else if (reply == NoTransducer) {
        setErrorFrom(index, TransducerErrorText);
        m_magnetPoll = LastMagnet;
    } else if (disp) {
        const double value = NumberText::leading_value(reply);
        // A number beyond single precision is not a position; show what came in, in red.
        if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
            disp->set_error(reply);
        else
            disp->set_position(static_cast<float>(value));
    }
}

void PositionMonitor::setErrorFrom(int index, const QString &text)
{
    for (int i = index; i < m_displays.size(); ++i) {
        if (m_displays.at(i))
            m_displays.at(i)->set_error(text);
    }
}
