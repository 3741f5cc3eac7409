#include "receiver.h"

namespace h7q8 {

ReplyResult ReplyReceiver::feed(std::uint8_t byte)
{
    switch (m_state) {
    case ReceiveState::Idle:
        if (byte == STX) {
            m_reply[0] = byte;
            m_length = 1;
            m_state = ReceiveState::Body;
        } else if (byte == ACK) {
            return ReplyResult::Ack;
        } else if (byte == NAK) {
            return ReplyResult::Nak;
        }
        return ReplyResult::Nothing;
    case ReceiveState::Body:
        m_reply[std::size_t(m_length++)] = byte;
        if (m_length == 16)
            m_state = ReceiveState::WaitEtx;
        return ReplyResult::Nothing;
    case ReceiveState::WaitEtx:
        if (byte != ETX) {
            m_state = ReceiveState::Idle;
            return ReplyResult::EtxError;
        }
        m_reply[16] = byte;
        m_length = 17;
        m_state = ReceiveState::CrcHigh;
        return ReplyResult::Nothing;
    case ReceiveState::CrcHigh:
        m_crc = std::uint16_t(byte << 8);
        m_state = ReceiveState::CrcLow;
        return ReplyResult::Nothing;
    case ReceiveState::CrcLow:
        m_crc = std::uint16_t(m_crc | byte);
        m_state = ReceiveState::Idle;
        return m_crc == FrameCrc(m_reply.data() + 1, 16) ? ReplyResult::GoodReply
                                                         : ReplyResult::CrcError;
    }
    return ReplyResult::Nothing;
}

} // namespace h7q8
