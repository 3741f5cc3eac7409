#pragma once
// What the link needs of a serial line. The real port, the simulated camera
// and the tests' fake each provide one.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace h7q8 {

class Transport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the device at the baud rate; on failure errorString() says why.
    virtual bool open(const QString &device, int baud) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Hands the bytes to the line in one write; false when the line refused them.
    virtual bool write(const QByteArray &bytes) = 0;
    // The camera holds DSR on while connected. A line that cannot report its
    // modem lines counts as on.
    virtual bool dsr() const = 0;
    virtual QString errorString() const = 0;

signals:
    // Bytes received, in order, on the window's thread.
    void bytesArrived(const QByteArray &bytes);
    // The line went away while open (adapter unplugged); the transport is closed.
    void lineLost(const QString &reason);
};

} // namespace h7q8
