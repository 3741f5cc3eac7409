#pragma once
// The link controller: owns the line to the camera and the link state that
// every page shares (frame store, busy flag, receiver), sends command and
// block frames, and hands each good reply to the reply dispatch.

#include "frame.h"
#include "receiver.h"
#include "transport.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <initializer_list>

namespace h7q8 {

class Dialogs;

class CameraLink : public QObject
{
    Q_OBJECT
public:
    CameraLink(Transport *transport, Dialogs &dialogs, QObject *parent = nullptr);

    // Closes the line if open, then opens `device` at `baud`; reports a failure
    // in the error box and returns false.
    bool CnctDataLink(const QString &device, int baud);
    void close();
    bool isOpen() const;
    // Whether the line was lost while open (adapter unplugged) and not yet reopened.
    bool lineLost() const { return m_lineLost; }
    QString device() const { return m_device; }

    bool DR_check() const;

    // Sends command bytes 1..count of the frame store as one command frame.
    void StxCommand(int count);
    // Fills command bytes 1..n and sends them; count defaults to n.
    void send(std::span<const std::uint8_t> bytes, int count = -1);
    void send(std::initializer_list<std::uint8_t> bytes, int count = -1)
    {
        send(std::span<const std::uint8_t>(bytes.begin(), bytes.size()), count);
    }
    // Sends the 2048-byte image as one block frame.
    void SohCommand(std::span<const std::uint8_t, BLOCK_DATA_SIZE> image);

    // Link start-up: status text, open the line, receiver idle. False when the open failed.
    bool Trans_Create(const QString &device);
    // Cancel's link part: busy flag cleared, default cursor.
    void cancel();

    // Hourglass while waiting for the camera; the default cursor returns ~10 ms later
    // from cursor_timer.
    void Cursor_set(bool wait);
    bool waitCursor() const { return m_waitCursor; }

    FrameStore &store() { return m_store; }
    const FrameStore &store() const { return m_store; }
    void setCmd(int k, std::uint8_t value) { m_store.command[std::size_t(k)] = value; }

    bool busy() const { return m_busy; }
    void setBusy(bool busy) { m_busy = busy; }
    int linkPhase() const { return m_linkPhase; }
    void setLinkPhase(int phase) { m_linkPhase = phase; }
    const ReplyReceiver &receiver() const { return m_receiver; }

    void setCameraIdSource(std::function<std::uint8_t()> source) { m_cameraId = std::move(source); }
    // The reply dispatch, run for each good reply.
    void setReplyHandler(std::function<void()> handler) { m_onReply = std::move(handler); }

    Transport *transport() const { return m_transport; }

    // Feeds received bytes as the line delivers them (Comm1CommReceive).
    void Comm1CommReceive(const QByteArray &bytes);

signals:
    void statusText(int panel, const QString &text);
    void waitCursorChanged(bool wait);
    void blockSendStarted();  // the tabs are disabled while a block waits
    void blockSendWritten();  // the copy progress shows its end

private:
    void processPending();
    void onLineLost(const QString &reason);

    Transport *m_transport;
    Dialogs &m_dialogs;
    FrameStore m_store;
    ReplyReceiver m_receiver;
    bool m_busy = false;
    int m_linkPhase = 0;
    bool m_waitCursor = false;
    bool m_lineLost = false;
    bool m_processing = false;
    QByteArray m_pending;
    QString m_device;
    int m_baud = 9600;
    QTimer m_cursorTimer;
    std::function<std::uint8_t()> m_cameraId;
    std::function<void()> m_onReply;
};

} // namespace h7q8
