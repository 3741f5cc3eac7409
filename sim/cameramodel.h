#pragma once
// The simulated camera: a pure model that takes the bytes the tool sends and
// gives back the bytes a camera would answer. No Qt widgets, no timing.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace h7q8::sim {

// Failure switches, so the tool's failure paths can be seen and tested.
struct Faults {
    bool errorReplies = false; // reply byte 1 is 0x15 instead of 0xA0
    bool lostReplies = false;  // commands are not answered at all
    bool badCrc = false;       // replies carry a wrong CRC
    bool dropBytes = false;    // every reply loses one byte on the line
    bool dsrOff = false;       // the camera does not hold DSR on
};

// Reads a comma-separated list of "error", "lost", "crc", "drop", "dsroff".
// Returns false (and says why in `error`) for an unknown name.
bool ParseFaults(const QString &list, Faults &faults, QString *error = nullptr);

// A stored lens position (zoom and focus), one per position number 1..64.
struct LensPreset {
    std::uint16_t zoom = 0;
    std::uint16_t focus = 0;
};

// One privacy mask as the camera keeps it.
struct PrivacyMask {
    std::uint8_t mode = 0;      // 0 off, 1 on
    std::uint8_t connect = 0;
    std::uint8_t hStart = 0, hEnd = 0, vStart = 0, vEnd = 0;
};

class CameraModel
{
public:
    // Bytes 1..15 of a command or a reply frame; index 0 is unused so that
    // index k is frame byte k.
    using FrameBytes = std::array<std::uint8_t, 16>;

    // The optical zoom range; digital zoom adds steps above the maximum.
    static constexpr std::uint16_t ZOOM_MIN = 0x1000;
    static constexpr std::uint16_t ZOOM_OPTICAL_MAX = 0x18C8;
    static constexpr int POSITIONS = 64;   // lens presets, numbered from 1
    static constexpr int ONE_PUSH_READS = 3; // reads that still see one-push white balance running

    CameraModel();

    Faults faults;

    // Takes bytes as they come off the line (frames may be split or joined)
    // and returns the bytes to send back, in order.
    QByteArray receive(const QByteArray &bytes);

    // The camera's answer to one complete, checked command frame (bytes 1..15
    // of the frame in `command`, index 0 unused), before faults are applied:
    // reply bytes 1..15.
    std::array<std::uint8_t, 16> answer(const std::array<std::uint8_t, 16> &command);

    // State the tests and the pages look at.
    std::array<std::uint16_t, 0x100> dsp{};   // DSP registers
    std::array<std::uint16_t, 1024> eeprom{}; // EEPROM words
    int resets = 0;                           // reset commands received
    int blocksStored = 0;                     // block frames taken into the EEPROM
    int lastPushSwitch = -1;                  // code of the last push-switch command

    // Camera functions, grouped by the status block that reports them.
    std::array<std::uint16_t, 20> title{};       // camera character codes
    std::uint8_t titlePosition = 0;              // 0 up, 1 down

    std::array<std::uint8_t, 6> blcArea{};       // 48 area cells, bit j of byte k = cell 8k+j+1
    std::uint8_t wbMode = 1;                     // 0 ATW, 1 AWB
    std::uint8_t atwLevel = 4, awbLevel = 4, redGain = 4, blueGain = 4;

    std::uint8_t sync = 1;
    std::int16_t phaseMax = 0x0100, phaseMin = -0x0100, phaseLevel = 0x0010;
    std::uint8_t blcSens = 3, agc = 4, sens = 2, freeze = 0;

    std::uint8_t peak = 1, peakLevel = 4;
    std::uint8_t alc = 0, alcAutoLevel = 4, alcFixLevel = 4;
    std::uint8_t aes = 0, aesAutoLevel = 4, aesFixShutter = 0;
    std::uint8_t hGain = 6, vGain = 6;
    std::uint8_t alarmNo = 1;

    std::uint16_t zoomTarget = 0x1400, zoomCurrent = 0x1400;
    std::uint16_t focusMax = 0x0300, focusMin = 0x0100;

    std::uint8_t autoFocus = 0, zoomSpeed = 2, focusSpeed = 2;
    std::uint8_t positionNo = 1, preset = 0, pushSw = 0;
    std::uint8_t select = 0, posiNega = 0, priority = 0, zoomTrace = 0;

    std::uint8_t mark = 0;
    std::uint16_t markX = 0x0100, markY = 0x0080;
    std::uint8_t gamma = 0, language = 0;

    std::uint8_t color = 2, positionOsd = 0, zoomMag = 0, digitalZoom = 0;
    std::uint16_t focusTarget = 0x0200, focusCurrent = 0x0200;
    std::uint8_t afSleep = 0;

    std::uint8_t vRev = 0, hRev = 0, blc = 0, onePushWb = 0, initial = 1;

    std::uint8_t positionOsdUpDown = 0;          // 0 up, 1 down (reported by no block)
    int onePushWbReads = 0;                      // reads left before one-push white balance ends
    std::array<LensPreset, POSITIONS> presets{}; // position n is presets[n - 1]

    // The top of the zoom range for the digital zoom selected now.
    std::uint16_t zoomMaximum() const;
    // The focus at which the simulated scene is sharp for the zoom target;
    // one-push and continuous auto focus drive the focus there.
    std::uint16_t sharpFocus() const;

    std::uint8_t biasNumber = 0x20;
    std::array<PrivacyMask, 4> masks{};
    std::uint8_t motionDetect = 0, motionLevel = 3, motionTime = 0;
    std::array<std::uint8_t, 6> motionArea{};
    std::uint8_t motionOsd = 0, motionOsdPosition = 0;
    std::uint8_t blueBack = 0, powerOnPosition = 0, powerOnPositionNo = 1;
    std::uint8_t powerOnMask = 0, powerOnMaskNo = 1, colorBar = 0;
    std::uint8_t commId = 1, commMode = 0;

private:
    QByteArray replyFrame(FrameBytes reply) const;
    QByteArray takeCommandFrame(const std::uint8_t *frame);
    QByteArray takeBlockFrame(const std::uint8_t *frame);

    QByteArray m_pending; // bytes of a frame not yet complete
};

} // namespace h7q8::sim
