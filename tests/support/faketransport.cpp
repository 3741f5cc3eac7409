#include "faketransport.h"

#include "link/frame.h"

namespace h7q8::test {

bool FakeTransport::open(const QString &device, int)
{
    ++openCount;
    openedDevice = device;
    m_open = openSucceeds;
    return m_open;
}

bool FakeTransport::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    writes.append(bytes);
    return true;
}

void FakeTransport::reply(std::initializer_list<std::uint8_t> replyBytes)
{
    feed(ReplyFrame(replyBytes));
}

void FakeTransport::unplug()
{
    m_open = false;
    emit lineLost(QStringLiteral("device removed"));
}

QList<QByteArray> FakeTransport::frames() const
{
    const QByteArray all = writes.join();
    QList<QByteArray> out;
    for (int i = 0; i + COMMAND_FRAME_SIZE <= all.size(); i += COMMAND_FRAME_SIZE)
        out.append(all.mid(i, COMMAND_FRAME_SIZE));
    return out;
}

QList<QByteArray> FakeTransport::commands(int n) const
{
    QList<QByteArray> out;
    for (const QByteArray &f : frames())
        out.append(f.mid(1, n));
    return out;
}

QByteArray ReplyFrame(std::initializer_list<std::uint8_t> replyBytes)
{
    return BuildReplyFrame(std::span<const std::uint8_t>(replyBytes.begin(), replyBytes.size()));
}

QByteArray CommandFrame(std::initializer_list<std::uint8_t> commandBytes, std::uint8_t id, int count)
{
    std::array<std::uint8_t, COMMAND_FRAME_SIZE> frame{};
    int k = 1;
    for (auto b : commandBytes)
        frame[std::size_t(k++)] = b;
    BuildCommandFrame(frame, count < 0 ? int(commandBytes.size()) : count, id);
    return QByteArray(reinterpret_cast<const char *>(frame.data()), COMMAND_FRAME_SIZE);
}

QByteArray Bytes(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

} // namespace h7q8::test
