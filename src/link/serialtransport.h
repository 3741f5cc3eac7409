#pragma once

#include "transport.h"

#include <QSerialPort>

namespace h7q8 {

// The real serial port: 8N1, RTS/CTS, DTR raised while open.
class SerialTransport : public Transport
{
    Q_OBJECT
public:
    explicit SerialTransport(QObject *parent = nullptr);
    ~SerialTransport() override;

    bool open(const QString &device, int baud) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    bool dsr() const override;
    QString errorString() const override;

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_error;
};

// The device meant by a port number: "COM<n>" on Windows, /dev/ttyS<n-1> elsewhere.
QString PortDeviceName(int portNumber);

} // namespace h7q8
