#pragma once
// The reply receiver: assembles reply frames byte by byte and checks them.

#include "frame.h"

namespace h7q8 {

enum class ReceiveState { Idle, Body, WaitEtx, CrcHigh, CrcLow };

enum class ReplyResult {
    Nothing,
    Ack,
    Nak,
    GoodReply,
    EtxError, // a byte other than ETX where ETX was due; the frame is dropped
    CrcError, // checksum mismatch; the frame is dropped silently
};

class ReplyReceiver
{
public:
    // Feeds one byte (r_data). On GoodReply the frame's bytes 0..16 are in reply().
    ReplyResult feed(std::uint8_t byte);
    void reset() { m_state = ReceiveState::Idle; }

    ReceiveState state() const { return m_state; }
    const std::array<std::uint8_t, REPLY_STORED_SIZE> &reply() const { return m_reply; }

private:
    ReceiveState m_state = ReceiveState::Idle;
    std::array<std::uint8_t, REPLY_STORED_SIZE> m_reply{};
    int m_length = 0;
    std::uint16_t m_crc = 0;
};

} // namespace h7q8
