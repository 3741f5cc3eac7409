#pragma once
// A line for tests: records every write and lets the test feed reply bytes.

#include "link/transport.h"

#include <QList>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace h7q8::test {

class FakeTransport : public Transport
{
    Q_OBJECT
public:
    using Transport::Transport;

    bool open(const QString &device, int baud) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override;
    bool dsr() const override { return m_open && dsrOn; }
    QString errorString() const override { return QStringLiteral("fake line"); }

    // Delivers bytes as if the camera had sent them.
    void feed(const QByteArray &bytes) { emit bytesArrived(bytes); }
    // Delivers a good reply frame with reply bytes 1.. as given.
    void reply(std::initializer_list<std::uint8_t> replyBytes);
    // Simulates the adapter being pulled out.
    void unplug();

    bool openSucceeds = true;
    bool dsrOn = true;
    QString openedDevice;
    int openCount = 0;
    QList<QByteArray> writes; // every write, in order

    // The command frames written, split into 19-byte frames.
    QList<QByteArray> frames() const;
    // Command bytes 1..n of each frame written (n = 14 keeps all).
    QList<QByteArray> commands(int n = 14) const;
    void clearWrites() { writes.clear(); }

private:
    bool m_open = false;
};

// Reply bytes 1..15 as a complete, checked reply frame.
QByteArray ReplyFrame(std::initializer_list<std::uint8_t> replyBytes);
// A command frame's 19 bytes for command bytes 1..n and the id.
QByteArray CommandFrame(std::initializer_list<std::uint8_t> commandBytes, std::uint8_t id = 1,
                        int count = -1);
// Hex bytes as text: "31 60 00".
QByteArray Bytes(const char *hex);

} // namespace h7q8::test
