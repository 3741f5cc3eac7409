#pragma once
// Frame layouts, the frame checksum and the hexadecimal text forms shared by
// the link and by every page that shows byte values.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace h7q8 {

constexpr std::uint8_t SOH = 0x01;
constexpr std::uint8_t STX = 0x02;
constexpr std::uint8_t ETX = 0x03;
constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t NAK = 0x15;
constexpr std::uint8_t BLOCK_KIND = 0x75;

constexpr int COMMAND_FRAME_SIZE = 19;
constexpr int REPLY_FRAME_SIZE = 19;
constexpr int REPLY_STORED_SIZE = 17; // STX, fifteen reply bytes, ETX; the CRC is not kept
constexpr int BLOCK_DATA_SIZE = 2048;
constexpr int BLOCK_FRAME_SIZE = 2053;

// CRC-16/ARC (reflected 0xA001, initial 0, no final XOR); sent high byte first.
std::uint16_t FrameCrc(const std::uint8_t *bytes, int count);
inline std::uint16_t FrameCrc(std::span<const std::uint8_t> bytes)
{
    return FrameCrc(bytes.data(), int(bytes.size()));
}

// The last command frame built and the last reply frame received.
// Command byte k and reply byte k count from the frame's start byte.
struct FrameStore {
    std::array<std::uint8_t, COMMAND_FRAME_SIZE> command{};
    std::array<std::uint8_t, REPLY_STORED_SIZE> reply{};

    std::uint8_t cmd(int k) const { return command[std::size_t(k)]; }
    std::uint8_t rep(int k) const { return reply[std::size_t(k)]; }
    // Reply bytes k and k+1 as one 16-bit value, high byte first.
    int repWord(int k) const { return rep(k) * 256 + rep(k + 1); }
    // The same, read as a signed 16-bit value.
    int repSignedWord(int k) const { return std::int16_t(std::uint16_t(repWord(k))); }
};

// Completes command bytes 1..count into a full frame in place: bytes past
// count are zeroed, byte 15 carries the id, then ETX and the CRC.
void BuildCommandFrame(std::array<std::uint8_t, COMMAND_FRAME_SIZE> &frame, int count,
                       std::uint8_t cameraId);

QByteArray BuildBlockFrame(std::span<const std::uint8_t, BLOCK_DATA_SIZE> image);

// A complete reply frame around reply bytes 1..15 (missing bytes are zero).
QByteArray BuildReplyFrame(std::span<const std::uint8_t> replyBytes);

QString HexByteText(unsigned value);
QString HexWordText(unsigned value);
QString HexLongText(std::uint32_t value);
int HexDigitValue(QChar c);
int HexPairValue(QChar high, QChar low);
std::int32_t HexText(const QString &text);

// Status-bar texts: command bytes 1..14 (28 digits), reply bytes 1..15 (30 digits).
QString CommandText(const FrameStore &store);
QString ReplyText(const FrameStore &store);

} // namespace h7q8
