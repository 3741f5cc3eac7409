#include "simtransport.h"

namespace h7q8::sim {

SimTransport::SimTransport(QObject *parent)
    : Transport(parent)
{
    // A coarse timer would deliver the answer in lumps; the tool should see
    // bytes trickle in as they do from a real port.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SimTransport::deliver);
    m_clock.start();
}

bool SimTransport::open(const QString &, int)
{
    // Any device name will do: the camera is in this process.
    m_open = true;
    m_error.clear();
    m_outgoing.clear();
    m_nextByteAtUs = 0;
    return true;
}

void SimTransport::close()
{
    m_open = false;
    m_outgoing.clear();
    m_timer.stop();
}

bool SimTransport::isOpen() const
{
    return m_open;
}

bool SimTransport::write(const QByteArray &bytes)
{
    if (!m_open) {
        m_error = QStringLiteral("The simulated line is not open.");
        return false;
    }
    const QByteArray answer = m_model.receive(bytes);
    if (answer.isEmpty())
        return true;
    if (m_outgoing.isEmpty()) {
        // An idle line sends the first byte one byte time from now, but not
        // before the last answer's final byte has left.
        const qint64 nowUs = m_clock.nsecsElapsed() / 1000;
        m_nextByteAtUs = qMax(m_nextByteAtUs, nowUs + m_usPerByte);
    }
    m_outgoing += answer;
    if (!m_timer.isActive())
        m_timer.start(m_usPerByte > 0 ? 1 : 0);
    return true;
}

bool SimTransport::dsr() const
{
    return m_open && !m_model.faults.dsrOff;
}

QString SimTransport::errorString() const
{
    return m_error;
}

void SimTransport::deliver()
{
    qsizetype due = m_outgoing.size();
    if (m_usPerByte > 0) {
        const qint64 nowUs = m_clock.nsecsElapsed() / 1000;
        due = 0;
        while (due < m_outgoing.size() && m_nextByteAtUs <= nowUs) {
            ++due;
            m_nextByteAtUs += m_usPerByte;
        }
    }
    // Take the bytes off the queue before telling anyone: the receiver may
    // write the next command, or close the line, from inside the signal.
    const QByteArray bytes = m_outgoing.left(due);
    m_outgoing.remove(0, due);
    if (m_outgoing.isEmpty())
        m_timer.stop();
    if (!bytes.isEmpty())
        emit bytesArrived(bytes);
}

} // namespace h7q8::sim
