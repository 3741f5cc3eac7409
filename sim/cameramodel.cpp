#include "cameramodel.h"

#include "link/frame.h"

#include <QStringList>

#include <span>

namespace h7q8::sim {

namespace {

using FrameBytes = CameraModel::FrameBytes;

constexpr std::uint8_t ACCEPTED = 0xA0;
constexpr std::uint8_t CLASS_READ = 0x31;
constexpr std::uint8_t CLASS_WRITE = 0x21;
constexpr std::uint8_t CLASS_RESET = 0xF1;
constexpr int ANY_CODE = -1;
constexpr int DROPPED_BYTE = 7; // the byte a "drop" fault leaves out of each reply

void putWord(FrameBytes &r, int k, std::uint16_t value)
{
    r[std::size_t(k)] = std::uint8_t(value >> 8);
    r[std::size_t(k + 1)] = std::uint8_t(value & 0xFF);
}

std::uint16_t word(const FrameBytes &c, int k)
{
    return std::uint16_t(c[std::size_t(k)] << 8 | c[std::size_t(k + 1)]);
}

// Reads start from a clean data area; writes keep the echo of their data.
void clearData(FrameBytes &r)
{
    for (int k = 4; k <= 15; ++k)
        r[std::size_t(k)] = 0;
}

// Camera character codes for the few characters a default title needs.
std::uint16_t TitleCode(char c)
{
    if (c >= '0' && c <= '9')
        return std::uint16_t(c - '0');
    if (c >= 'A' && c <= 'Z')
        return std::uint16_t(0x000A + (c - 'A'));
    return 0x00FD; // space
}

// A deterministic spread of plausible 12-bit values, so reads of registers
// nobody set still differ from one address to the next.
std::uint16_t DefaultWord(int address)
{
    return std::uint16_t((std::uint32_t(address) * 0x9E37u + 0x0123u) >> 4 & 0x0FFF);
}

// One function per command family. Each gets the command bytes and the reply
// already filled as the standard echo (accepted, code, argument, data echoed).

void Reset(CameraModel &m, const FrameBytes &, FrameBytes &r)
{
    ++m.resets;
    r[2] = 0xF1;
    r[3] = 0x00;
    clearData(r);
}

void ReadDsp(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    clearData(r);
    putWord(r, 4, m.dsp[c[3]]);
}

// 0x0A writes the register (and on the camera its EEPROM copy), 0x0B only the
// register; the model keeps the two apart only where a read could tell.
void WriteDsp(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    m.dsp[c[3]] = word(c, 4);
    clearData(r);
    putWord(r, 4, m.dsp[c[3]]);
}

void ReadEeprom(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    const int address = word(c, 3);
    clearData(r);
    putWord(r, 3, std::uint16_t(address));
    if (address >= int(m.eeprom.size())) {
        r[1] = NAK;
        return;
    }
    putWord(r, 5, m.eeprom[std::size_t(address)]);
}

void WriteEeprom(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    const int address = word(c, 3);
    clearData(r);
    putWord(r, 3, std::uint16_t(address));
    if (address >= int(m.eeprom.size())) {
        r[1] = NAK;
        return;
    }
    m.eeprom[std::size_t(address)] = word(c, 5);
    putWord(r, 5, m.eeprom[std::size_t(address)]);
}

void StatusBlock(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    const int block = c[3];
    clearData(r);
    switch (block) {
    case 0: case 1: case 2: case 3:
        for (int i = 0; i < 5; ++i)
            putWord(r, 4 + 2 * i, m.title[std::size_t(5 * block + i)]);
        if (block == 3)
            r[14] = m.titlePosition;
        break;
    case 4:
        for (int i = 0; i < 6; ++i)
            r[std::size_t(4 + i)] = m.blcArea[std::size_t(i)];
        r[10] = m.wbMode;
        r[11] = m.atwLevel;
        r[12] = m.awbLevel;
        r[13] = m.redGain;
        r[14] = m.blueGain;
        break;
    case 5:
        r[4] = m.sync;
        putWord(r, 5, std::uint16_t(m.phaseMax));
        putWord(r, 7, std::uint16_t(m.phaseMin));
        putWord(r, 9, std::uint16_t(m.phaseLevel));
        r[11] = m.blcSens;
        r[12] = m.agc;
        r[13] = m.sens;
        r[14] = m.freeze;
        break;
    case 6:
        r[4] = m.peak;
        r[5] = m.peakLevel;
        r[6] = m.alc;
        r[7] = m.alcAutoLevel;
        r[8] = m.alcFixLevel;
        r[9] = m.aes;
        r[10] = m.aesAutoLevel;
        r[11] = m.aesFixShutter;
        r[12] = m.hGain;
        r[13] = m.vGain;
        r[14] = m.alarmNo;
        break;
    case 7:
        putWord(r, 4, m.zoomTarget);
        putWord(r, 6, m.zoomCurrent);
        putWord(r, 8, m.focusMax);
        putWord(r, 10, m.focusMin);
        break;
    case 8:
        r[4] = m.autoFocus;
        r[5] = m.zoomSpeed;
        r[6] = m.focusSpeed;
        r[7] = m.positionNo;
        r[8] = m.preset;
        r[9] = m.pushSw;
        r[10] = m.select;
        r[11] = m.posiNega;
        r[12] = m.priority;
        r[13] = m.zoomTrace;
        break;
    case 9:
        r[4] = m.mark;
        putWord(r, 5, m.markX);
        putWord(r, 7, m.markY);
        r[11] = m.gamma;
        r[12] = m.language;
        break;
    case 10:
        r[4] = m.color;
        r[5] = m.positionOsd;
        r[6] = m.zoomMag;
        r[7] = m.digitalZoom;
        putWord(r, 8, m.focusTarget);
        putWord(r, 10, m.focusCurrent);
        r[12] = m.afSleep;
        break;
    case 11:
        // Straight from the registers, so a block and a register read agree.
        putWord(r, 4, m.dsp[0x01]);
        putWord(r, 6, m.dsp[0x40]);
        r[8] = m.vRev;
        r[9] = m.hRev;
        r[10] = m.blc;
        r[11] = m.onePushWb;
        r[12] = m.initial;
        break;
    default:
        r[1] = NAK;
        break;
    }
}

void ReadBiasNumber(CameraModel &m, const FrameBytes &, FrameBytes &r)
{
    clearData(r);
    r[3] = m.biasNumber;
}

void ReadLanguage(CameraModel &m, const FrameBytes &, FrameBytes &r)
{
    clearData(r);
    r[4] = m.language;
}

void ReadPosition(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    clearData(r);
    if (c[3] == 0x00)
        r[4] = m.positionNo;
}

void ReadMask(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    const int n = c[3];
    const std::uint8_t position = c[4];
    clearData(r);
    r[4] = position;
    if (n >= int(m.masks.size())) {
        r[1] = NAK;
        return;
    }
    const PrivacyMask &mask = m.masks[std::size_t(n)];
    r[6] = mask.mode;
    r[7] = mask.connect;
    r[8] = mask.hStart;
    r[9] = mask.hEnd;
    r[10] = mask.vStart;
    r[11] = mask.vEnd;
}

void ReadMotion(CameraModel &m, const FrameBytes &, FrameBytes &r)
{
    clearData(r);
    r[4] = m.motionDetect;
    r[5] = m.motionLevel;
    for (int i = 0; i < 6; ++i)
        r[std::size_t(6 + i)] = m.motionArea[std::size_t(i)];
    r[12] = m.motionTime;
    r[13] = m.motionOsd;
    r[14] = m.motionOsdPosition;
}

void ReadPowerOn(CameraModel &m, const FrameBytes &, FrameBytes &r)
{
    clearData(r);
    r[4] = m.blueBack;
    r[5] = m.powerOnPosition;
    r[6] = m.powerOnPositionNo;
    r[7] = m.powerOnMask;
    r[8] = m.powerOnMaskNo;
    r[9] = m.colorBar;
}

void ReadComm(CameraModel &m, const FrameBytes &, FrameBytes &r)
{
    clearData(r);
    r[5] = m.commId;
    r[6] = m.commMode;
}

void PushSwitch(CameraModel &m, const FrameBytes &c, FrameBytes &)
{
    m.lastPushSwitch = c[3];
}

using Handler = void (*)(CameraModel &, const FrameBytes &, FrameBytes &);

struct Route {
    std::uint8_t commandClass;
    int code; // ANY_CODE for classes that have no code byte
    Handler handler;
};

// Commands the camera answers with more than an echo. A page that needs
// another command adds its row here.
constexpr Route ROUTES[] = {
    {CLASS_RESET, ANY_CODE, Reset},
    {CLASS_READ, 0x0A, ReadDsp},
    {CLASS_READ, 0x0B, ReadDsp},
    {CLASS_WRITE, 0x0A, WriteDsp},
    {CLASS_WRITE, 0x0B, WriteDsp},
    {CLASS_READ, 0x0C, ReadEeprom},
    {CLASS_WRITE, 0x0C, WriteEeprom},
    {CLASS_WRITE, 0x32, PushSwitch},
    {CLASS_READ, 0x52, ReadPosition},
    {CLASS_READ, 0x53, ReadBiasNumber},
    {CLASS_READ, 0x57, ReadMask},
    {CLASS_READ, 0x5B, ReadLanguage},
    {CLASS_READ, 0x5C, ReadMotion},
    {CLASS_READ, 0x5D, ReadPowerOn},
    {CLASS_READ, 0x5F, ReadComm},
    {CLASS_READ, 0x60, StatusBlock},
};

// Accepted, code and argument repeated, the command's data bytes echoed.
FrameBytes StandardEcho(const FrameBytes &command)
{
    FrameBytes reply{};
    reply[1] = ACCEPTED;
    for (int k = 2; k <= 14; ++k)
        reply[std::size_t(k)] = command[std::size_t(k)];
    reply[15] = 0;
    return reply;
}

} // namespace

CameraModel::CameraModel()
{
    for (int a = 0; a < int(dsp.size()); ++a)
        dsp[std::size_t(a)] = DefaultWord(a);
    dsp[0x01] = 0x4000; // Hi-Resolution
    dsp[0x40] = 0x0000; // NTSC

    // The low words hold the registers' power-on values, as the camera loads
    // its DSP from EEPROM.
    for (int a = 0; a < int(eeprom.size()); ++a)
        eeprom[std::size_t(a)] = a < int(dsp.size()) ? dsp[std::size_t(a)] : DefaultWord(a);
    eeprom[0x0151] = 0x00FF; // below 256: white balance stays adjustable

    const char defaultTitle[] = "H7Q8 CAMERA";
    for (std::size_t i = 0; i < title.size(); ++i)
        title[i] = TitleCode(i < sizeof defaultTitle - 1 ? defaultTitle[i] : ' ');

    blcArea = {0x00, 0x18, 0x3C, 0x3C, 0x18, 0x00}; // a block in the middle

    masks[0] = {1, 0, 10, 40, 10, 40};
    masks[1] = {0, 0, 50, 80, 10, 40};
    masks[2] = {0, 1, 10, 40, 50, 80};
    masks[3] = {0, 0, 50, 80, 50, 80};
}

std::array<std::uint8_t, 16> CameraModel::answer(const std::array<std::uint8_t, 16> &command)
{
    FrameBytes reply = StandardEcho(command);
    for (const Route &route : ROUTES) {
        if (route.commandClass == command[1]
            && (route.code == ANY_CODE || route.code == command[2])) {
            route.handler(*this, command, reply);
            break;
        }
    }
    return reply;
}

QByteArray CameraModel::replyFrame(FrameBytes reply) const
{
    if (faults.errorReplies)
        reply[1] = NAK;
    QByteArray frame = BuildReplyFrame(std::span<const std::uint8_t>(reply.data() + 1, 15));
    if (faults.badCrc)
        frame[18] = char(frame[18] ^ 0xFF);
    if (faults.dropBytes)
        frame.remove(DROPPED_BYTE, 1);
    return frame;
}

QByteArray CameraModel::takeCommandFrame(const std::uint8_t *frame)
{
    FrameBytes command{};
    for (int k = 1; k <= 15; ++k)
        command[std::size_t(k)] = frame[k];
    // A camera that refuses a command leaves its state alone; a lost reply
    // is lost on the line, after the camera has acted.
    const FrameBytes reply = faults.errorReplies ? StandardEcho(command) : answer(command);
    if (faults.lostReplies)
        return {};
    return replyFrame(reply);
}

QByteArray CameraModel::takeBlockFrame(const std::uint8_t *frame)
{
    if (!faults.errorReplies) {
        const std::uint8_t *data = frame + 2;
        for (std::size_t i = 0; i < eeprom.size(); ++i)
            eeprom[i] = std::uint16_t(data[2 * i] << 8 | data[2 * i + 1]);
        ++blocksStored;
    }
    if (faults.lostReplies)
        return {};
    FrameBytes reply{};
    reply[1] = ACCEPTED;
    reply[2] = BLOCK_KIND;
    return replyFrame(reply);
}

QByteArray CameraModel::receive(const QByteArray &bytes)
{
    m_pending.append(bytes);
    QByteArray out;
    for (;;) {
        // A frame can only start at STX or SOH; anything else is line noise.
        qsizetype start = 0;
        while (start < m_pending.size() && m_pending[start] != char(STX)
               && m_pending[start] != char(SOH))
            ++start;
        m_pending.remove(0, start);
        if (m_pending.isEmpty())
            break;

        const auto *p = reinterpret_cast<const std::uint8_t *>(m_pending.constData());
        const qsizetype size = m_pending.size();
        if (p[0] == STX) {
            if (size < COMMAND_FRAME_SIZE)
                break;
            const std::uint16_t crc = std::uint16_t(p[17] << 8 | p[18]);
            if (p[16] != ETX || FrameCrc(p + 1, 16) != crc) {
                // Not a frame after all: look for the next start byte inside it.
                m_pending.remove(0, 1);
                continue;
            }
            out += takeCommandFrame(p);
            m_pending.remove(0, COMMAND_FRAME_SIZE);
        } else {
            // An SOH not followed by the block kind is noise; without this
            // check a stray 0x01 would swallow the next two kilobytes.
            if (size >= 2 && p[1] != BLOCK_KIND) {
                m_pending.remove(0, 1);
                continue;
            }
            if (size < BLOCK_FRAME_SIZE)
                break;
            const std::uint16_t crc = std::uint16_t(p[2051] << 8 | p[2052]);
            if (p[2050] != ETX || FrameCrc(p + 1, 2050) != crc) {
                m_pending.remove(0, 1);
                continue;
            }
            out += takeBlockFrame(p);
            m_pending.remove(0, BLOCK_FRAME_SIZE);
        }
    }
    return out;
}

bool ParseFaults(const QString &list, Faults &faults, QString *error)
{
    Faults parsed;
    const QStringList names = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &raw : names) {
        const QString name = raw.trimmed().toLower();
        if (name.isEmpty())
            continue;
        if (name == QLatin1String("error"))
            parsed.errorReplies = true;
        else if (name == QLatin1String("lost"))
            parsed.lostReplies = true;
        else if (name == QLatin1String("crc"))
            parsed.badCrc = true;
        else if (name == QLatin1String("drop"))
            parsed.dropBytes = true;
        else if (name == QLatin1String("dsroff"))
            parsed.dsrOff = true;
        else {
            if (error)
                *error = QStringLiteral("unknown fault \"%1\" (known: error, lost, crc, drop, dsroff)")
                             .arg(raw.trimmed());
            return false;
        }
    }
    faults = parsed;
    return true;
}

} // namespace h7q8::sim
