#include "frame.h"

namespace h7q8 {

std::uint16_t FrameCrc(const std::uint8_t *bytes, int count)
{
    std::uint16_t crc = 0;
    for (int i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
    }
    return crc;
}

void BuildCommandFrame(std::array<std::uint8_t, COMMAND_FRAME_SIZE> &frame, int count,
                       std::uint8_t cameraId)
{
    frame[0] = STX;
    for (int k = 1; k <= 15; ++k)
        if (k > count)
            frame[std::size_t(k)] = 0x00;
    frame[15] = cameraId;
    frame[16] = ETX;
    const std::uint16_t crc = FrameCrc(frame.data() + 1, 16);
    frame[17] = std::uint8_t(crc >> 8);
    frame[18] = std::uint8_t(crc & 0xFF);
}

QByteArray BuildBlockFrame(std::span<const std::uint8_t, BLOCK_DATA_SIZE> image)
{
    QByteArray frame(BLOCK_FRAME_SIZE, '\0');
    auto *bytes = reinterpret_cast<std::uint8_t *>(frame.data());
    bytes[0] = SOH;
    bytes[1] = BLOCK_KIND;
    std::copy(image.begin(), image.end(), bytes + 2);
    bytes[2050] = ETX;
    const std::uint16_t crc = FrameCrc(bytes + 1, 2050);
    bytes[2051] = std::uint8_t(crc >> 8);
    bytes[2052] = std::uint8_t(crc & 0xFF);
    return frame;
}

QByteArray BuildReplyFrame(std::span<const std::uint8_t> replyBytes)
{
    QByteArray frame(REPLY_FRAME_SIZE, '\0');
    auto *bytes = reinterpret_cast<std::uint8_t *>(frame.data());
    bytes[0] = STX;
    for (std::size_t i = 0; i < replyBytes.size() && i < 15; ++i)
        bytes[i + 1] = replyBytes[i];
    bytes[16] = ETX;
    const std::uint16_t crc = FrameCrc(bytes + 1, 16);
    bytes[17] = std::uint8_t(crc >> 8);
    bytes[18] = std::uint8_t(crc & 0xFF);
    return frame;
}

static const char HEX_DIGITS[] = "0123456789ABCDEF";

QString HexByteText(unsigned value)
{
    value &= 0xFF;
    const QChar digits[2] = {QChar(HEX_DIGITS[value >> 4]), QChar(HEX_DIGITS[value & 0xF])};
    return QString(digits, 2);
}

QString HexWordText(unsigned value)
{
    return HexByteText((value >> 8) & 0xFF) + HexByteText(value & 0xFF);
}

QString HexLongText(std::uint32_t value)
{
    return HexWordText(value >> 16) + HexWordText(value & 0xFFFF);
}

int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

int HexPairValue(QChar high, QChar low)
{
    const int h = HexDigitValue(high), l = HexDigitValue(low);
    return (h < 0 || l < 0) ? -1 : h * 16 + l;
}

std::int32_t HexText(const QString &text)
{
    std::uint32_t value = 0;
    for (QChar c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return -1;
        value = (value << 4) | std::uint32_t(digit);
    }
    return std::int32_t(value);
}

QString CommandText(const FrameStore &store)
{
    QString text;
    for (int k = 1; k <= 14; ++k)
        text += HexByteText(store.cmd(k));
    return text;
}

QString ReplyText(const FrameStore &store)
{
    QString text;
    for (int k = 1; k <= 15; ++k)
        text += HexByteText(store.rep(k));
    return text;
}

} // namespace h7q8
