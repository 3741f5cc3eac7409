#pragma once
// The simulated camera on an in-process line, paced as a 9600-baud line is.

#include "cameramodel.h"
#include "link/transport.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>

namespace h7q8::sim {

class SimTransport : public Transport
{
    Q_OBJECT
public:
    explicit SimTransport(QObject *parent = nullptr);

    bool open(const QString &device, int baud) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    bool dsr() const override;
    QString errorString() const override;

    CameraModel &model() { return m_model; }
    // Microseconds per byte on the line; 0 delivers each answer at the next
    // turn of the event loop.
    void setMicrosecondsPerByte(int us) { m_usPerByte = us; }

private:
    void deliver();

    CameraModel m_model;
    bool m_open = false;
    QString m_error;
    int m_usPerByte = 1042; // 10 bits a byte at 9600 baud
    QByteArray m_outgoing;  // answer bytes still on their way
    QElapsedTimer m_clock;
    qint64 m_nextByteAtUs = 0;
    QTimer m_timer;
};

} // namespace h7q8::sim
