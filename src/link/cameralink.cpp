#include "cameralink.h"

#include "../ui/dialogs.h"

namespace h7q8 {

CameraLink::CameraLink(Transport *transport, Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_transport(transport), m_dialogs(dialogs)
{
    m_cursorTimer.setObjectName(QStringLiteral("cursor_timer"));
    m_cursorTimer.setSingleShot(true);
    m_cursorTimer.setInterval(10);
    connect(&m_cursorTimer, &QTimer::timeout, this, [this] {
        if (m_waitCursor) {
            m_waitCursor = false;
            emit waitCursorChanged(false);
        }
    });
    connect(m_transport, &Transport::bytesArrived, this, &CameraLink::Comm1CommReceive);
    connect(m_transport, &Transport::lineLost, this, &CameraLink::onLineLost);
}

bool CameraLink::CnctDataLink(const QString &device, int baud)
{
    if (m_transport->isOpen())
        m_transport->close();
    m_device = device;
    m_baud = baud;
    if (!m_transport->open(device, baud)) {
        m_dialogs.error(QStringLiteral("オープンエラー ErrorCode = %1").arg(-1));
        return false;
    }
    m_lineLost = false;
    return true;
}

void CameraLink::close()
{
    m_transport->close();
}

bool CameraLink::isOpen() const
{
    return m_transport->isOpen();
}

bool CameraLink::DR_check() const
{
    return m_transport->isOpen() && m_transport->dsr();
}

void CameraLink::Cursor_set(bool wait)
{
    if (wait) {
        m_cursorTimer.stop();
        if (!m_waitCursor) {
            m_waitCursor = true;
            emit waitCursorChanged(true);
        }
    } else {
        m_cursorTimer.start();
    }
}

void CameraLink::StxCommand(int count)
{
    if (m_busy)
        return;
    if (m_lineLost)
        return; // reported once when the line went away; Load reopens it
    const bool defaultCursor = m_store.cmd(1) == 0xF1
                               || (m_store.cmd(2) == 0x20 && m_store.cmd(3) == 0x00);
    Cursor_set(!defaultCursor);
    const std::uint8_t id = m_cameraId ? m_cameraId() : 1;
    BuildCommandFrame(m_store.command, count, id);
    if (!m_transport->isOpen()) {
        m_dialogs.error(QStringLiteral("通信が開始されていない。"));
        return;
    }
    const QByteArray frame(reinterpret_cast<const char *>(m_store.command.data()),
                           COMMAND_FRAME_SIZE);
    if (!m_transport->write(frame)) {
        m_dialogs.error(QStringLiteral("入出力エラー ErrorCode = %1 (%2)")
                            .arg(-1)
                            .arg(m_transport->errorString()));
        return;
    }
    emit statusText(1, CommandText(m_store));
}

void CameraLink::send(std::span<const std::uint8_t> bytes, int count)
{
    int k = 1;
    for (std::uint8_t b : bytes)
        m_store.command[std::size_t(k++)] = b;
    StxCommand(count < 0 ? int(bytes.size()) : count);
}

void CameraLink::SohCommand(std::span<const std::uint8_t, BLOCK_DATA_SIZE> image)
{
    if (m_busy) {
        emit statusText(1, QStringLiteral("Busy"));
        return;
    }
    if (m_lineLost)
        return;
    m_busy = true;
    emit blockSendStarted();
    Cursor_set(true);
    const QByteArray frame = BuildBlockFrame(image);
    if (!m_transport->isOpen()) {
        m_dialogs.error(QStringLiteral("通信が開始されていない。"));
        return;
    }
    // Never more than 512 bytes in one write: head, four data pieces, tail.
    const int pieces[][2] = {{0, 2}, {2, 512}, {514, 512}, {1026, 512}, {1538, 512}, {2050, 3}};
    for (const auto &piece : pieces) {
        if (!m_transport->write(frame.mid(piece[0], piece[1]))) {
            m_dialogs.error(QStringLiteral("入出力エラー ErrorCode = %1 (%2)")
                                .arg(-1)
                                .arg(m_transport->errorString()));
            return;
        }
    }
    emit blockSendWritten();
}

bool CameraLink::Trans_Create(const QString &device)
{
    emit statusText(0, QStringLiteral("Comm. Connecting"));
    if (!CnctDataLink(device, 9600))
        return false;
    m_receiver.reset();
    m_linkPhase = 2;
    m_busy = false;
    return true;
}

void CameraLink::cancel()
{
    m_busy = false;
    Cursor_set(false);
}

void CameraLink::Comm1CommReceive(const QByteArray &bytes)
{
    m_pending.append(bytes);
    // A dispatch that opens a modal box runs a nested event loop; bytes that
    // arrive meanwhile wait here and are handled, in order, when it returns.
    if (!m_processing)
        processPending();
}

void CameraLink::processPending()
{
    m_processing = true;
    int index = 0;
    while (index < m_pending.size()) {
        const auto byte = std::uint8_t(m_pending.at(index++));
        switch (m_receiver.feed(byte)) {
        case ReplyResult::GoodReply:
            if (m_linkPhase != 2)
                break;
            m_store.reply = m_receiver.reply();
            emit statusText(2, ReplyText(m_store));
            m_linkPhase = 2;
            Cursor_set(false);
            m_busy = false;
            if (m_onReply)
                m_onReply();
            break;
        case ReplyResult::EtxError:
            m_dialogs.message(QStringLiteral("sr_err1"), QStringLiteral("recv_chr"),
                              MessageButtons::OkCancel);
            break;
        default:
            break;
        }
    }
    m_pending.clear();
    m_processing = false;
}

void CameraLink::onLineLost(const QString &reason)
{
    if (m_lineLost)
        return;
    m_lineLost = true;
    m_receiver.reset();
    emit statusText(0, QStringLiteral("Comm. Lost"));
    m_dialogs.error(QStringLiteral("The serial line to the camera was lost (%1).\n"
                                   "Reconnect the camera, then choose Camera > Load.")
                        .arg(reason));
}

} // namespace h7q8
