#include "cameramodel.h"

#include "link/frame.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <span>

namespace h7q8::sim {

namespace {

using FrameBytes = CameraModel::FrameBytes;

constexpr std::uint8_t ACCEPTED = 0xA0;
constexpr std::uint8_t CLASS_READ = 0x31;
constexpr std::uint8_t CLASS_WRITE = 0x21;
constexpr std::uint8_t CLASS_RESET = 0xF1;
constexpr std::uint8_t CLASS_READ_OR_WRITE = 0x00; // route key: the read and the write of one setting
constexpr int ANY_CODE = -1;
constexpr int ANY_SUB = -1; // a setting whose command has no sub-code: its value is byte 3
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

// Extra zoom steps above the optical maximum for digital zoom OFF, x2, x4, x6, x8, x10.
constexpr std::uint16_t DIGITAL_ZOOM_EXTRA[] = {0, 2048, 3072, 3456, 3584, 3648};

// The mark stays on the picture, whatever the arrow buttons send.
constexpr int MARK_X_MAX = 0x02FF;
constexpr int MARK_Y_MAX = 0x01FF;

// A lens covers a quarter of the remaining way per status report, but never
// less than this, so the last few steps do not crawl one unit at a time.
constexpr int LENS_MIN_STEP = 8;

// The level the AWB fine adjustment returns to after a one-push measurement.
constexpr std::uint8_t AWB_CENTRE = 4;

std::uint8_t Clamp(int value, int low, int high)
{
    return std::uint8_t(std::clamp(value, low, high));
}

std::uint16_t ClampWord(int value, int low, int high)
{
    return std::uint16_t(std::clamp(value, low, high));
}

std::uint16_t StepTowards(std::uint16_t current, std::uint16_t target)
{
    const int distance = int(target) - int(current);
    const int way = std::abs(distance);
    const int step = std::min(way, std::max(way / 4, LENS_MIN_STEP));
    return std::uint16_t(int(current) + (distance < 0 ? -step : step));
}

// Sharp focus follows the optical zoom linearly from the near to the far end.
std::uint16_t SharpFocusFor(std::uint16_t zoom, std::uint16_t focusMin, std::uint16_t focusMax)
{
    const int optical = std::clamp(int(zoom), int(CameraModel::ZOOM_MIN),
                                   int(CameraModel::ZOOM_OPTICAL_MAX))
                        - CameraModel::ZOOM_MIN;
    const int span = CameraModel::ZOOM_OPTICAL_MAX - CameraModel::ZOOM_MIN;
    return std::uint16_t(focusMin + optical * (focusMax - focusMin) / span);
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

// Settings held in one byte. A write stores its value byte, clamped into the
// range of the tool's control; read and write are answered alike, with the
// value where the tool's decoder looks for it.
struct Setting {
    std::uint8_t code;
    int sub; // ANY_SUB: no sub-code, the value is byte 3
    std::uint8_t CameraModel::*member;
    std::uint8_t low, high;
};

constexpr Setting SETTINGS[] = {
    {0x10, 3, &CameraModel::titlePosition, 0, 1},
    {0x18, 0, &CameraModel::blc, 0, 1},
    {0x1A, 1, &CameraModel::agc, 0, 8},
    {0x1A, 2, &CameraModel::sens, 0, 8},
    {0x1A, 3, &CameraModel::freeze, 0, 1},
    {0x1A, 4, &CameraModel::select, 0, 1},
    {0x1A, 5, &CameraModel::priority, 0, 1},
    {0x1B, 0, &CameraModel::wbMode, 0, 1},
    {0x1B, 2, &CameraModel::redGain, 0, 8},
    {0x1B, 3, &CameraModel::blueGain, 0, 8},
    {0x1B, 5, &CameraModel::atwLevel, 0, 8},
    {0x1B, 6, &CameraModel::awbLevel, 0, 8},
    {0x1B, 7, &CameraModel::color, 0, 2},
    {0x1D, 4, &CameraModel::vRev, 0, 1},
    {0x1D, 5, &CameraModel::hRev, 0, 1},
    {0x1D, 7, &CameraModel::posiNega, 0, 1},
    {0x45, 2, &CameraModel::autoFocus, 0, 1},
    {0x45, 5, &CameraModel::zoomSpeed, 0, 4},
    {0x45, 6, &CameraModel::digitalZoom, 0, 5},
    {0x45, 7, &CameraModel::focusSpeed, 0, 4},
    {0x45, 8, &CameraModel::afSleep, 0, 1},
    {0x45, 9, &CameraModel::zoomMag, 0, 1},
    {0x47, 0, &CameraModel::hGain, 0, 12},
    {0x47, 1, &CameraModel::vGain, 0, 12},
    {0x49, ANY_SUB, &CameraModel::initial, 0, 1},
    {0x50, ANY_SUB, &CameraModel::blcSens, 0, 7},
    {0x51, ANY_SUB, &CameraModel::alarmNo, 0, 64},
    {0x52, 0, &CameraModel::positionNo, 1, CameraModel::POSITIONS},
    {0x52, 2, &CameraModel::pushSw, 0, 1},
    {0x52, 3, &CameraModel::positionOsd, 0, 1},
    {0x52, 4, &CameraModel::positionOsdUpDown, 0, 1},
    {0x56, 0, &CameraModel::mark, 0, 1},
    {0x59, 0, &CameraModel::gamma, 0, 1},
    {0x5A, 0, &CameraModel::zoomTrace, 0, 1},
    {0x5B, 0, &CameraModel::language, 0, 2},
};

// False when the command is no setting of the table: the echo stays as it is.
bool ApplySetting(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    for (const Setting &s : SETTINGS) {
        if (s.code != c[2] || (s.sub != ANY_SUB && s.sub != c[3]))
            continue;
        const std::size_t at = s.sub == ANY_SUB ? 3 : 4;
        if (c[1] == CLASS_WRITE)
            m.*s.member = Clamp(c[at], s.low, s.high);
        clearData(r);
        r[at] = m.*s.member;
        return true;
    }
    return false;
}

void Settings(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    ApplySetting(m, c, r);
}

// The lens reports where it is, then moves on a step before the next report:
// a tool polling for arrival sees it approach over several reads.
void ReportZoom(CameraModel &m, FrameBytes &r)
{
    putWord(r, 4, m.zoomTarget);
    putWord(r, 6, m.zoomCurrent);
    putWord(r, 8, m.focusMax);
    putWord(r, 10, m.focusMin);
    m.zoomCurrent = StepTowards(m.zoomCurrent, m.zoomTarget);
}

void ReportFocus(CameraModel &m, FrameBytes &r, int at)
{
    putWord(r, at, m.focusTarget);
    putWord(r, at + 2, m.focusCurrent);
    m.focusCurrent = StepTowards(m.focusCurrent, m.focusTarget);
}

// A one-push measurement runs for a few reads of its state, then ends.
void OnePushWbTick(CameraModel &m)
{
    if (m.onePushWb == 0 || --m.onePushWbReads > 0)
        return;
    m.onePushWb = 0;
    m.onePushWbReads = 0;
    m.awbLevel = AWB_CENTRE;
}

void Title(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    if (c[3] != 0x01) {
        ApplySetting(m, c, r);
        return;
    }
    const int part = c[4];
    if (part > 3) {
        r[1] = NAK;
        return;
    }
    const std::size_t first = std::size_t(5 * part);
    if (c[1] == CLASS_WRITE) {
        for (int i = 0; i < 5; ++i)
            m.title[first + std::size_t(i)] = word(c, 5 + 2 * i);
    }
    clearData(r);
    r[4] = std::uint8_t(part);
    for (int i = 0; i < 5; ++i)
        putWord(r, 5 + 2 * i, m.title[first + std::size_t(i)]);
}

// The six area bytes travel in bytes 3 to 8, in the command and in the reply.
void BlcArea(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    if (c[1] == CLASS_WRITE) {
        for (int i = 0; i < 6; ++i)
            m.blcArea[std::size_t(i)] = c[std::size_t(3 + i)];
    }
    clearData(r);
    for (int i = 0; i < 6; ++i)
        r[std::size_t(3 + i)] = m.blcArea[std::size_t(i)];
}

void WhiteBalance(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    if (c[3] != 0x04) {
        ApplySetting(m, c, r);
        return;
    }
    if (c[1] == CLASS_WRITE) {
        m.onePushWb = 1;
        m.onePushWbReads = CameraModel::ONE_PUSH_READS;
    }
    clearData(r);
    r[4] = m.onePushWb;
    if (c[1] == CLASS_READ)
        OnePushWbTick(m);
}

void Phase(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    const bool write = c[1] == CLASS_WRITE;
    switch (c[3]) {
    case 0x00:
        if (write)
            m.sync = Clamp(c[4], 0, 1);
        clearData(r);
        r[4] = m.sync;
        putWord(r, 5, std::uint16_t(m.phaseMax));
        putWord(r, 7, std::uint16_t(m.phaseMin));
        break;
    case 0x01:
        if (write)
            m.phaseLevel = std::int16_t(
                std::clamp<int>(std::int16_t(word(c, 4)), m.phaseMin, m.phaseMax));
        clearData(r);
        putWord(r, 4, std::uint16_t(m.phaseLevel));
        break;
    default:
        break;
    }
}

// Sub 2 sets the preset mode; sub 0 ("Enter") takes the preset and leaves the
// mode, as the tool shows by turning its selector off. Any read reports the mode.
void Preset(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    if (c[1] == CLASS_WRITE) {
        if (c[3] == 0x00)
            m.preset = 0;
        else if (c[3] == 0x02)
            m.preset = Clamp(c[4], 0, 1);
        else
            return;
    }
    clearData(r);
    r[4] = m.preset;
}

void KeepZoomInRange(CameraModel &m)
{
    const std::uint16_t top = m.zoomMaximum();
    m.zoomTarget = std::min(m.zoomTarget, top);
    m.zoomCurrent = std::min(m.zoomCurrent, top);
}

void Lens(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    const bool write = c[1] == CLASS_WRITE;
    switch (c[3]) {
    case 0x00:
        if (write) {
            m.zoomTarget = ClampWord(word(c, 4), CameraModel::ZOOM_MIN, m.zoomMaximum());
            if (m.autoFocus)
                m.focusTarget = m.sharpFocus();
        }
        clearData(r);
        ReportZoom(m, r);
        return;
    case 0x01:
        if (write)
            m.focusTarget = ClampWord(word(c, 4), m.focusMin, m.focusMax);
        clearData(r);
        ReportFocus(m, r, 4);
        return;
    case 0x03:
        // One-push auto focus: only acknowledged; the tool reads the focus
        // status to follow the lens to the sharp point.
        if (write)
            m.focusTarget = m.sharpFocus();
        return;
    default:
        break;
    }
    if (!ApplySetting(m, c, r) || !write)
        return;
    if (c[3] == 0x06)
        KeepZoomInRange(m);
    if (c[3] == 0x02 && m.autoFocus)
        m.focusTarget = m.sharpFocus();
}

// Sub 0 PEAK, 1 ALC, 2 AES. Byte 4 chooses: 0 the mode in byte 5; 1 a level,
// for PEAK in byte 5, for ALC and AES chosen by byte 5 (0 AUTO, 1 FIX) in byte 6.
void Exposure(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    struct Group {
        std::uint8_t CameraModel::*mode;
        std::uint8_t CameraModel::*level[2];
        std::uint8_t levelHigh[2];
    };
    static constexpr Group GROUPS[] = {
        {&CameraModel::peak, {&CameraModel::peakLevel, nullptr}, {8, 0}},
        {&CameraModel::alc, {&CameraModel::alcAutoLevel, &CameraModel::alcFixLevel}, {8, 8}},
        {&CameraModel::aes, {&CameraModel::aesAutoLevel, &CameraModel::aesFixShutter}, {8, 7}},
    };
    if (c[3] > 2)
        return;
    const Group &g = GROUPS[c[3]];
    const bool write = c[1] == CLASS_WRITE;
    const std::uint8_t selector = c[4];
    if (selector == 0) {
        if (write)
            m.*g.mode = Clamp(c[5], 0, 1);
        clearData(r);
        r[5] = m.*g.mode;
        return;
    }
    if (selector != 1) {
        r[1] = NAK;
        return;
    }
    const bool peak = g.level[1] == nullptr;
    const std::uint8_t which = peak ? 0 : c[5];
    if (which > 1) {
        r[1] = NAK;
        return;
    }
    const std::size_t at = peak ? 5 : 6;
    if (write)
        m.*g.level[which] = Clamp(c[at], 0, g.levelHigh[which]);
    clearData(r);
    r[4] = 1;
    r[5] = which;
    r[at] = m.*g.level[which];
}

// Sub 1 with position n: a read loads preset n (the lens heads for it), a
// write saves where the lens is now. Other subs are plain settings.
void Position(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    if (c[3] != 0x01) {
        ApplySetting(m, c, r);
        return;
    }
    const std::uint8_t n = Clamp(c[4], 1, CameraModel::POSITIONS);
    LensPreset &stored = m.presets[std::size_t(n - 1)];
    if (c[1] == CLASS_WRITE) {
        stored = {m.zoomCurrent, m.focusCurrent};
    } else {
        m.zoomTarget = ClampWord(stored.zoom, CameraModel::ZOOM_MIN, m.zoomMaximum());
        m.focusTarget = ClampWord(stored.focus, m.focusMin, m.focusMax);
    }
    m.positionNo = n;
    clearData(r);
    r[4] = n;
}

void Mark(CameraModel &m, const FrameBytes &c, FrameBytes &r)
{
    if (c[3] != 0x01) {
        ApplySetting(m, c, r);
        return;
    }
    if (c[1] == CLASS_WRITE) {
        // Signed, so a step left of 0 (0xFFFF) holds the mark at the edge.
        m.markX = ClampWord(std::int16_t(word(c, 4)), 0, MARK_X_MAX);
        m.markY = ClampWord(std::int16_t(word(c, 6)), 0, MARK_Y_MAX);
    }
    clearData(r);
    putWord(r, 4, m.markX);
    putWord(r, 6, m.markY);
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
        ReportZoom(m, r);
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
        ReportFocus(m, r, 8);
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
        OnePushWbTick(m);
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
// another command adds its row here; CLASS_READ_OR_WRITE rows take both the
// read and the write of a setting, answered in one layout.
constexpr Route ROUTES[] = {
    {CLASS_RESET, ANY_CODE, Reset},
    {CLASS_READ, 0x0A, ReadDsp},
    {CLASS_READ, 0x0B, ReadDsp},
    {CLASS_WRITE, 0x0A, WriteDsp},
    {CLASS_WRITE, 0x0B, WriteDsp},
    {CLASS_READ, 0x0C, ReadEeprom},
    {CLASS_WRITE, 0x0C, WriteEeprom},
    {CLASS_WRITE, 0x32, PushSwitch},
    {CLASS_READ_OR_WRITE, 0x10, Title},
    {CLASS_READ_OR_WRITE, 0x18, Settings},
    {CLASS_READ_OR_WRITE, 0x19, BlcArea},
    {CLASS_READ_OR_WRITE, 0x1A, Settings},
    {CLASS_READ_OR_WRITE, 0x1B, WhiteBalance},
    {CLASS_READ_OR_WRITE, 0x1C, Phase},
    {CLASS_READ_OR_WRITE, 0x1D, Settings},
    {CLASS_READ_OR_WRITE, 0x20, Preset},
    {CLASS_READ_OR_WRITE, 0x45, Lens},
    {CLASS_READ_OR_WRITE, 0x47, Settings},
    {CLASS_READ_OR_WRITE, 0x48, Exposure},
    {CLASS_READ_OR_WRITE, 0x49, Settings},
    {CLASS_READ_OR_WRITE, 0x50, Settings},
    {CLASS_READ_OR_WRITE, 0x51, Settings},
    {CLASS_READ_OR_WRITE, 0x52, Position},
    {CLASS_READ, 0x53, ReadBiasNumber},
    {CLASS_READ_OR_WRITE, 0x56, Mark},
    {CLASS_READ, 0x57, ReadMask},
    {CLASS_READ_OR_WRITE, 0x59, Settings},
    {CLASS_READ_OR_WRITE, 0x5A, Settings},
    {CLASS_READ_OR_WRITE, 0x5B, Settings},
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

    // Positions nobody saved yet spread over the optical zoom range, each in
    // focus, so loading any of them moves the lens somewhere visible.
    for (int k = 0; k < POSITIONS; ++k) {
        const auto zoom = std::uint16_t(ZOOM_MIN + k * (ZOOM_OPTICAL_MAX - ZOOM_MIN) / (POSITIONS - 1));
        presets[std::size_t(k)] = {zoom, SharpFocusFor(zoom, focusMin, focusMax)};
    }

    masks[0] = {1, 0, 10, 40, 10, 40};
    masks[1] = {0, 0, 50, 80, 10, 40};
    masks[2] = {0, 1, 10, 40, 50, 80};
    masks[3] = {0, 0, 50, 80, 50, 80};
}

std::uint16_t CameraModel::zoomMaximum() const
{
    const std::size_t selection = std::min<std::size_t>(digitalZoom, std::size(DIGITAL_ZOOM_EXTRA) - 1);
    return std::uint16_t(ZOOM_OPTICAL_MAX + DIGITAL_ZOOM_EXTRA[selection]);
}

std::uint16_t CameraModel::sharpFocus() const
{
    return SharpFocusFor(zoomTarget, focusMin, focusMax);
}

std::array<std::uint8_t, 16> CameraModel::answer(const std::array<std::uint8_t, 16> &command)
{
    FrameBytes reply = StandardEcho(command);
    const bool readOrWrite = command[1] == CLASS_READ || command[1] == CLASS_WRITE;
    for (const Route &route : ROUTES) {
        const bool classMatches = route.commandClass == command[1]
                                  || (route.commandClass == CLASS_READ_OR_WRITE && readOrWrite);
        if (classMatches && (route.code == ANY_CODE || route.code == command[2])) {
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
