#include "serialtransport.h"

namespace h7q8 {

QString PortDeviceName(int portNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

SerialTransport::SerialTransport(QObject *parent) : Transport(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port.readAll();
        if (!bytes.isEmpty())
            emit bytesArrived(bytes);
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

SerialTransport::~SerialTransport()
{
    close();
}

bool SerialTransport::open(const QString &device, int baud)
{
    close();
    m_port.setPortName(device);
    m_port.setBaudRate(baud);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::HardwareControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = m_port.errorString();
        return false;
    }
    // Pseudo-terminals refuse modem-line calls; that is not a failure to open.
    m_port.setDataTerminalReady(true);
    m_port.clearError();
    m_error.clear();
    return true;
}

void SerialTransport::close()
{
    if (m_port.isOpen()) {
        m_port.setDataTerminalReady(false);
        m_port.close();
    }
}

bool SerialTransport::isOpen() const
{
    return m_port.isOpen();
}

bool SerialTransport::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    if (m_port.write(bytes) != bytes.size()) {
        m_error = m_port.errorString();
        return false;
    }
    return true;
}

bool SerialTransport::dsr() const
{
    if (!m_port.isOpen())
        return false;
    // pinoutSignals() is not const in Qt; asking does not change the port.
    auto &port = const_cast<QSerialPort &>(m_port);
    const QSerialPort::PinoutSignals pins = port.pinoutSignals();
    if (port.error() != QSerialPort::NoError) {
        // The device cannot report its modem lines: a line that cannot say is
        // not a line that says "off".
        port.clearError();
        return true;
    }
    return pins.testFlag(QSerialPort::DataSetReadySignal);
}

QString SerialTransport::errorString() const
{
    return m_error;
}

void SerialTransport::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError) {
        if (!m_port.isOpen())
            return;
        m_error = m_port.errorString();
        m_port.close();
        emit lineLost(m_error);
    }
}

} // namespace h7q8
