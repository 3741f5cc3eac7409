// The simulated camera: its answers, its framing, its faults and its paced line.

#include "link/frame.h"
#include "sim/cameramodel.h"
#include "sim/simtransport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <span>

using namespace h7q8;
using namespace h7q8::sim;

namespace {

// "31 0A 01" -> bytes.
QByteArray Hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// A command frame to camera id 1 around command bytes 1..n.
QByteArray Command(const QByteArray &commandBytes, std::uint8_t id = 1)
{
    std::array<std::uint8_t, COMMAND_FRAME_SIZE> frame{};
    for (int k = 0; k < commandBytes.size(); ++k)
        frame[std::size_t(k + 1)] = std::uint8_t(commandBytes[k]);
    BuildCommandFrame(frame, int(commandBytes.size()), id);
    return QByteArray(reinterpret_cast<const char *>(frame.data()), COMMAND_FRAME_SIZE);
}

QByteArray Reply(const QByteArray &replyBytes)
{
    return BuildReplyFrame(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t *>(replyBytes.constData()), std::size_t(replyBytes.size())));
}

// The answer to reading DSP register 1 of a fresh camera, worked out by hand:
// A0 0A 01 40 00, ten zeros, ETX, CRC-16/ARC 0x7F4C.
const QByteArray DSP1_REPLY =
    Hex("02 A0 0A 01 40 00 00 00 00 00 00 00 00 00 00 00 03 7F 4C");

// A fresh camera's title part p in camera codes, as the default "H7Q8 CAMERA".
const QByteArray TITLE_PART2 = Hex("00 0A 00 FD 00 FD 00 FD 00 FD");

bool CrcGood(const QByteArray &frame)
{
    if (frame.size() != REPLY_FRAME_SIZE)
        return false;
    const auto *p = reinterpret_cast<const std::uint8_t *>(frame.constData());
    return FrameCrc(p + 1, 16) == (p[17] << 8 | p[18]);
}

// Sends one command and gives reply bytes 1..15 of the single good answer.
QByteArray Ask(CameraModel &camera, const QByteArray &command)
{
    const QByteArray frame = camera.receive(Command(command));
    if (frame.size() != REPLY_FRAME_SIZE || !CrcGood(frame))
        return QByteArray("no good reply");
    return frame.mid(1, 15);
}

// Reply bytes 1.. as given, the rest of the fifteen zero.
QByteArray Padded(const QByteArray &replyBytes)
{
    return replyBytes + QByteArray(15 - replyBytes.size(), '\0');
}

std::uint16_t WordAt(const QByteArray &reply, int k) // k counts reply bytes from 1
{
    return std::uint16_t(std::uint8_t(reply[k - 1]) << 8 | std::uint8_t(reply[k]));
}

} // namespace

class TestCameraModel : public QObject
{
    Q_OBJECT
private slots:
    void dspReadReplyFrame()
    {
        CameraModel camera;
        QCOMPARE(camera.receive(Command(Hex("31 0A 01"))).toHex(' '), DSP1_REPLY.toHex(' '));
        // Whatever id the tool has set, the simulated camera answers.
        QCOMPARE(camera.receive(Command(Hex("31 0A 01"), 0xFF)).toHex(' '), DSP1_REPLY.toHex(' '));
    }

    void answers_data()
    {
        QTest::addColumn<QList<QByteArray>>("before");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply"); // reply bytes 1.., the rest zero

        const QList<QByteArray> none;
        QTest::newRow("reset") << none << Hex("F1") << Hex("A0 F1 00");
        QTest::newRow("read dsp 0x40") << none << Hex("31 0A 40") << Hex("A0 0A 40 00 00");
        QTest::newRow("write dsp 0x0A echoes")
            << none << Hex("21 0A 05 AB CD") << Hex("A0 0A 05 AB CD");
        QTest::newRow("write dsp 0x0B, read back")
            << QList<QByteArray>{Hex("21 0B 2B 12 34")} << Hex("31 0A 2B") << Hex("A0 0A 2B 12 34");
        QTest::newRow("block 11 follows dsp writes")
            << QList<QByteArray>{Hex("21 0A 01 00 00"), Hex("21 0A 40 00 01")} << Hex("31 60 0B")
            << Hex("A0 60 0B 00 00 00 01 00 00 00 00 01");
        QTest::newRow("read eeprom 0x0151") << none << Hex("31 0C 01 51") << Hex("A0 0C 01 51 00 FF");
        QTest::newRow("write eeprom echoes")
            << none << Hex("21 0C 00 10 BE EF") << Hex("A0 0C 00 10 BE EF");
        QTest::newRow("write eeprom 0x03FF, read back")
            << QList<QByteArray>{Hex("21 0C 03 FF 12 34")} << Hex("31 0C 03 FF")
            << Hex("A0 0C 03 FF 12 34");
        QTest::newRow("eeprom address past the end refused")
            << none << Hex("31 0C 04 00") << Hex("15 0C 04 00");
        QTest::newRow("bias number") << none << Hex("31 53") << Hex("A0 53 20");
        QTest::newRow("language") << none << Hex("31 5B") << Hex("A0 5B 00 00");
        QTest::newRow("position number") << none << Hex("31 52 00") << Hex("A0 52 00 01");
        QTest::newRow("mask 1") << none << Hex("31 57 00 05")
                                << Hex("A0 57 00 05 00 01 00 0A 28 0A 28");
        QTest::newRow("mask 4") << none << Hex("31 57 03 01")
                                << Hex("A0 57 03 01 00 00 00 32 50 32 50");
        QTest::newRow("mask 5 refused") << none << Hex("31 57 04 01") << Hex("15 57 04 01");
        QTest::newRow("motion") << none << Hex("31 5C 00 00") << Hex("A0 5C 00 00 03");
        QTest::newRow("power-on") << none << Hex("31 5D 00 00")
                                  << Hex("A0 5D 00 00 00 01 00 01 00");
        QTest::newRow("comm id") << none << Hex("31 5F 00") << Hex("A0 5F 00 00 01 00");
        QTest::newRow("push switch echoes") << none << Hex("21 32 07") << Hex("A0 32 07");
        QTest::newRow("phase write answers with the range")
            << none << Hex("21 1C 00 01") << Hex("A0 1C 00 01 01 00 FF 00");
        QTest::newRow("other write echoes") << none << Hex("21 41 00 FF") << Hex("A0 41 00 FF");
        QTest::newRow("other read echoes")
            << none << Hex("31 99 05 01 02 03") << Hex("A0 99 05 01 02 03");
        QTest::newRow("status block 12 refused") << none << Hex("31 60 0C") << Hex("15 60 0C");
    }
    void answers()
    {
        QFETCH(QList<QByteArray>, before);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);

        CameraModel camera;
        for (const QByteArray &c : before)
            QCOMPARE(camera.receive(Command(c)).size(), REPLY_FRAME_SIZE);
        QCOMPARE(camera.receive(Command(command)).toHex(' '), Reply(reply).toHex(' '));
    }

    void statusBlocks_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<QByteArray>("fields"); // reply bytes 4..14

        // Title "H7Q8 CAMERA" in camera codes (digits 0x00.., letters 0x0A.., space 0xFD).
        QTest::newRow("0 title H7Q8 ") << 0 << Hex("00 11 00 07 00 1A 00 08 00 FD 00");
        QTest::newRow("1 title CAMER") << 1 << Hex("00 0C 00 0A 00 16 00 0E 00 1B 00");
        QTest::newRow("2 title A    ") << 2 << Hex("00 0A 00 FD 00 FD 00 FD 00 FD 00");
        QTest::newRow("3 title, position up") << 3 << Hex("00 FD 00 FD 00 FD 00 FD 00 FD 00");
        QTest::newRow("4 BLC area, AWB, gains") << 4 << Hex("00 18 3C 3C 18 00 01 04 04 04 04");
        QTest::newRow("5 phase, sens, freeze") << 5 << Hex("01 01 00 FF 00 00 10 03 04 02 00");
        QTest::newRow("6 PEAK ALC AES") << 6 << Hex("01 04 00 04 04 00 04 00 06 06 01");
        QTest::newRow("7 zoom status") << 7 << Hex("14 00 14 00 03 00 01 00 00 00 00");
        QTest::newRow("8 lens and presets") << 8 << Hex("00 02 02 01 00 00 00 00 00 00 00");
        QTest::newRow("9 mark, gamma, language") << 9 << Hex("00 01 00 00 80 00 00 00 00 00 00");
        QTest::newRow("10 colour, focus status") << 10 << Hex("02 00 00 00 02 00 02 00 00 00 00");
        QTest::newRow("11 hi-res NTSC, initial on") << 11 << Hex("40 00 00 00 00 00 00 00 01 00 00");
    }
    void statusBlocks()
    {
        QFETCH(int, block);
        QFETCH(QByteArray, fields);

        CameraModel camera;
        const QByteArray command = Hex("31 60") + char(block);
        const QByteArray expected = Hex("A0 60") + char(block) + fields;
        QCOMPARE(camera.receive(Command(command)).toHex(' '), Reply(expected).toHex(' '));
    }

    void statusFollowsState()
    {
        CameraModel camera;
        camera.phaseMin = -0x0200;
        camera.zoomCurrent = 0x17F0;
        camera.title[19] = 0x0009;
        QCOMPARE(camera.receive(Command(Hex("31 60 05"))).mid(7, 2), Hex("FE 00"));
        QCOMPARE(camera.receive(Command(Hex("31 60 07"))).mid(6, 2), Hex("17 F0"));
        QCOMPARE(camera.receive(Command(Hex("31 60 03"))).mid(12, 2), Hex("00 09"));
    }

    // Every Easy page write is stored: its echo carries the value where the
    // tool's decoder reads it, and the matching read reports the same.
    void writeThenRead_data()
    {
        QTest::addColumn<QByteArray>("write");
        QTest::addColumn<QByteArray>("echo");   // reply bytes 1..
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QByteArray>("report"); // reply bytes 1..

        auto row = [](const char *name, const char *write, const char *echo, const char *read,
                      const char *report) {
            QTest::newRow(name) << Hex(write) << Hex(echo) << Hex(read) << Hex(report);
        };
        row("HRev", "21 1D 05 01", "A0 1D 05 01", "31 1D 05", "A0 1D 05 01");
        row("VRev", "21 1D 04 01", "A0 1D 04 01", "31 1D 04", "A0 1D 04 01");
        row("PosiNega", "21 1D 07 01", "A0 1D 07 01", "31 1D 07", "A0 1D 07 01");
        row("Freeze", "21 1A 03 01", "A0 1A 03 01", "31 1A 03", "A0 1A 03 01");
        row("Select", "21 1A 04 01", "A0 1A 04 01", "31 1A 04", "A0 1A 04 01");
        row("Priority", "21 1A 05 01", "A0 1A 05 01", "31 1A 05", "A0 1A 05 01");
        row("AGC", "21 1A 01 07", "A0 1A 01 07", "31 1A 01", "A0 1A 01 07");
        row("SENS", "21 1A 02 05", "A0 1A 02 05", "31 1A 02", "A0 1A 02 05");
        row("WB mode ATW", "21 1B 00 00", "A0 1B 00 00", "31 1B 00", "A0 1B 00 00");
        row("R gain", "21 1B 02 06", "A0 1B 02 06", "31 1B 02", "A0 1B 02 06");
        row("B gain", "21 1B 03 01", "A0 1B 03 01", "31 1B 03", "A0 1B 03 01");
        row("ATW bar", "21 1B 05 07", "A0 1B 05 07", "31 1B 05", "A0 1B 05 07");
        row("AWB bar", "21 1B 06 02", "A0 1B 06 02", "31 1B 06", "A0 1B 06 02");
        row("Color", "21 1B 07 01", "A0 1B 07 01", "31 1B 07", "A0 1B 07 01");
        row("Sync off, with the phase range", "21 1C 00 00", "A0 1C 00 00 01 00 FF 00", "31 1C 00",
            "A0 1C 00 00 01 00 FF 00");
        row("phase level -128", "21 1C 01 FF 80", "A0 1C 01 FF 80", "31 1C 01", "A0 1C 01 FF 80");
        row("BLC", "21 18 00 01", "A0 18 00 01", "31 18 00", "A0 18 00 01");
        row("BLC area", "21 19 01 02 03 04 05 80", "A0 19 01 02 03 04 05 80", "31 19",
            "A0 19 01 02 03 04 05 80");
        row("PEAK", "21 48 00 00 00", "A0 48 00 00 00", "31 48 00 00", "A0 48 00 00 00");
        row("PeakOnBar", "21 48 00 01 07", "A0 48 00 01 07", "31 48 00 01", "A0 48 00 01 07");
        row("ALC FIX", "21 48 01 00 01", "A0 48 01 00 01", "31 48 01 00", "A0 48 01 00 01");
        row("ALCAutoBar", "21 48 01 01 00 06", "A0 48 01 01 00 06", "31 48 01 01 00",
            "A0 48 01 01 00 06");
        row("ALCFixBar", "21 48 01 01 01 02", "A0 48 01 01 01 02", "31 48 01 01 01",
            "A0 48 01 01 01 02");
        row("AES FIX", "21 48 02 00 01", "A0 48 02 00 01", "31 48 02 00", "A0 48 02 00 01");
        row("AESAutoBar", "21 48 02 01 00 03", "A0 48 02 01 00 03", "31 48 02 01 00",
            "A0 48 02 01 00 03");
        row("AESFixBox", "21 48 02 01 01 05", "A0 48 02 01 01 05", "31 48 02 01 01",
            "A0 48 02 01 01 05");
        row("H gain", "21 47 00 0C", "A0 47 00 0C", "31 47 00", "A0 47 00 0C");
        row("V gain", "21 47 01 00", "A0 47 01 00", "31 47 01", "A0 47 01 00");
        row("BLC sens", "21 50 05", "A0 50 05", "31 50", "A0 50 05");
        row("alarm 64", "21 51 40", "A0 51 40", "31 51", "A0 51 40");
        row("Initial off", "21 49 00", "A0 49 00", "31 49", "A0 49 00");
        row("Preset on", "21 20 02 01", "A0 20 02 01", "31 20", "A0 20 00 01");
        row("PushSW", "21 52 02 01", "A0 52 02 01", "31 52 02", "A0 52 02 01");
        row("Position OSD", "21 52 03 01", "A0 52 03 01", "31 52 03", "A0 52 03 01");
        row("Position OSD down", "21 52 04 01", "A0 52 04 01", "31 52 04", "A0 52 04 01");
        row("Gamma", "21 59 00 01", "A0 59 00 01", "31 59 00", "A0 59 00 01");
        row("Mark", "21 56 00 01", "A0 56 00 01", "31 56 00", "A0 56 00 01");
        row("Mark position", "21 56 01 01 23 00 45", "A0 56 01 01 23 00 45", "31 56 01",
            "A0 56 01 01 23 00 45");
        row("language", "21 5B 00 02", "A0 5B 00 02", "31 5B", "A0 5B 00 02");
        row("ZOOMTR", "21 5A 00 01", "A0 5A 00 01", "31 5A 00", "A0 5A 00 01");
        row("AutoFocus", "21 45 02 01", "A0 45 02 01", "31 45 02", "A0 45 02 01");
        row("zoom speed", "21 45 05 04", "A0 45 05 04", "31 45 05", "A0 45 05 04");
        row("digital zoom x6", "21 45 06 03", "A0 45 06 03", "31 45 06", "A0 45 06 03");
        row("focus speed", "21 45 07 00", "A0 45 07 00", "31 45 07", "A0 45 07 00");
        row("AF sleep", "21 45 08 01", "A0 45 08 01", "31 45 08", "A0 45 08 01");
        row("zoom MAG", "21 45 09 01", "A0 45 09 01", "31 45 09", "A0 45 09 01");
        // Zoom status: target, current, focus maximum, minimum. The echo shows
        // the lens where it was; by the read it has covered a quarter of the way.
        row("zoom target", "21 45 00 15 00", "A0 45 00 15 00 14 00 03 00 01 00", "31 45 00",
            "A0 45 00 15 00 14 40 03 00 01 00");
        row("focus target", "21 45 01 02 80", "A0 45 01 02 80 02 00", "31 45 01",
            "A0 45 01 02 80 02 20");
        row("title position down", "21 10 03 01", "A0 10 03 01", "31 10 03", "A0 10 03 01");
        row("title part 2", "21 10 01 02 01 0A 00 0B 00 FD 00 29 00 09",
            "A0 10 01 02 01 0A 00 0B 00 FD 00 29 00 09", "31 10 01 02",
            "A0 10 01 02 01 0A 00 0B 00 FD 00 29 00 09");
    }
    void writeThenRead()
    {
        QFETCH(QByteArray, write);
        QFETCH(QByteArray, echo);
        QFETCH(QByteArray, read);
        QFETCH(QByteArray, report);

        CameraModel camera;
        // The fresh camera must not already report the value, or the row proves nothing.
        QVERIFY(Ask(camera, read) != Padded(report));
        QCOMPARE(Ask(camera, write).toHex(' '), Padded(echo).toHex(' '));
        QCOMPARE(Ask(camera, read).toHex(' '), Padded(report).toHex(' '));
    }

    // A fresh camera answers the Easy page's own reads with its defaults.
    void readsOfDefaults_data()
    {
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QByteArray>("report");

        QTest::newRow("BLC") << Hex("31 18 00") << Hex("A0 18 00 00");
        QTest::newRow("one-push idle") << Hex("31 1B 04") << Hex("A0 1B 04 00");
        QTest::newRow("phase, range +-256") << Hex("31 1C 00") << Hex("A0 1C 00 01 01 00 FF 00");
        QTest::newRow("PEAK") << Hex("31 48 00 00") << Hex("A0 48 00 00 01");
        QTest::newRow("ALC") << Hex("31 48 01 00") << Hex("A0 48 01 00 00");
        QTest::newRow("AES") << Hex("31 48 02 00") << Hex("A0 48 02 00 00");
        QTest::newRow("zoom status") << Hex("31 45 00") << Hex("A0 45 00 14 00 14 00 03 00 01 00");
        QTest::newRow("focus status") << Hex("31 45 01") << Hex("A0 45 01 02 00 02 00");
        QTest::newRow("title part 2") << Hex("31 10 01 02") << Hex("A0 10 01 02") + TITLE_PART2;
        QTest::newRow("title position") << Hex("31 10 03") << Hex("A0 10 03 00");
        QTest::newRow("title part 4 refused") << Hex("31 10 01 04") << Hex("15 10 01 04");
        QTest::newRow("unknown PEAK selector refused") << Hex("31 48 00 02") << Hex("15 48 00 02");
        QTest::newRow("unknown sub echoes") << Hex("31 1A 09 05") << Hex("A0 1A 09 05");
    }
    void readsOfDefaults()
    {
        QFETCH(QByteArray, read);
        QFETCH(QByteArray, report);
        CameraModel camera;
        QCOMPARE(Ask(camera, read).toHex(' '), Padded(report).toHex(' '));
    }

    void statusBlockReflectsWrites_data()
    {
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<int>("block");
        QTest::addColumn<QByteArray>("fields"); // reply bytes 4..14

        QTest::newRow("2 title part")
            << QList<QByteArray>{Hex("21 10 01 02 00 01 00 02 00 03 00 04 00 05")} << 2
            << Hex("00 01 00 02 00 03 00 04 00 05 00");
        QTest::newRow("3 title part and position")
            << QList<QByteArray>{Hex("21 10 01 03 00 0A 00 0B 00 0C 00 0D 00 0E"), Hex("21 10 03 01")}
            << 3 << Hex("00 0A 00 0B 00 0C 00 0D 00 0E 01");
        QTest::newRow("4 area, ATW, gains")
            << QList<QByteArray>{Hex("21 19 FF 00 00 00 00 80"), Hex("21 1B 00 00"), Hex("21 1B 05 01"),
                                 Hex("21 1B 06 02"), Hex("21 1B 02 07"), Hex("21 1B 03 08")}
            << 4 << Hex("FF 00 00 00 00 80 00 01 02 07 08");
        QTest::newRow("5 sync, level, sens, AGC, freeze")
            << QList<QByteArray>{Hex("21 1C 00 00"), Hex("21 1C 01 FF 00"), Hex("21 50 07"),
                                 Hex("21 1A 01 08"), Hex("21 1A 02 00"), Hex("21 1A 03 01")}
            << 5 << Hex("00 01 00 FF 00 FF 00 07 08 00 01");
        QTest::newRow("6 PEAK ALC AES gains alarm")
            << QList<QByteArray>{Hex("21 48 00 00 00"), Hex("21 48 00 01 08"), Hex("21 48 01 00 01"),
                                 Hex("21 48 01 01 00 01"), Hex("21 48 01 01 01 02"),
                                 Hex("21 48 02 00 01"), Hex("21 48 02 01 00 03"),
                                 Hex("21 48 02 01 01 07"), Hex("21 47 00 0B"), Hex("21 47 01 0C"),
                                 Hex("21 51 2A")}
            << 6 << Hex("00 08 01 01 02 01 03 07 0B 0C 2A");
        QTest::newRow("8 lens settings and presets")
            << QList<QByteArray>{Hex("21 45 02 01"), Hex("21 45 05 04"), Hex("21 45 07 00"),
                                 Hex("21 52 01 09"), Hex("21 20 02 01"), Hex("21 52 02 01"),
                                 Hex("21 1A 04 01"), Hex("21 1D 07 01"), Hex("21 1A 05 01"),
                                 Hex("21 5A 00 01")}
            << 8 << Hex("01 04 00 09 01 01 01 01 01 01 00");
        QTest::newRow("9 mark, gamma, language")
            << QList<QByteArray>{Hex("21 56 00 01"), Hex("21 56 01 00 20 00 30"), Hex("21 59 00 01"),
                                 Hex("21 5B 00 01")}
            << 9 << Hex("01 00 20 00 30 00 00 01 01 00 00");
        QTest::newRow("10 colour, OSD, MAG, digital zoom, AF sleep")
            << QList<QByteArray>{Hex("21 1B 07 00"), Hex("21 52 03 01"), Hex("21 45 09 01"),
                                 Hex("21 45 06 05"), Hex("21 45 08 01")}
            << 10 << Hex("00 01 01 05 02 00 02 00 01 00 00");
        QTest::newRow("11 rev, BLC, initial")
            << QList<QByteArray>{Hex("21 1D 04 01"), Hex("21 1D 05 01"), Hex("21 18 00 01"),
                                 Hex("21 49 00")}
            << 11 << Hex("40 00 00 00 01 01 01 00 00 00 00");
    }
    void statusBlockReflectsWrites()
    {
        QFETCH(QList<QByteArray>, writes);
        QFETCH(int, block);
        QFETCH(QByteArray, fields);

        CameraModel camera;
        const QByteArray read = Hex("31 60") + char(block);
        QVERIFY(Ask(camera, read) != Padded(Hex("A0 60") + char(block) + fields));
        for (const QByteArray &write : writes)
            QCOMPARE(Ask(camera, write).left(1), Hex("A0"));
        QCOMPARE(Ask(camera, read).toHex(' '), Padded(Hex("A0 60") + char(block) + fields).toHex(' '));
    }

    // The lens reports where it is and moves on: a tool polling for arrival
    // sees current approach the target over several reads, never overshoot,
    // and arrive exactly.
    void lensApproachesTarget_data()
    {
        QTest::addColumn<QByteArray>("write");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<int>("targetAt");  // reply byte of the target word
        QTest::addColumn<int>("currentAt"); // reply byte of the current word
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("target");

        QTest::newRow("zoom in, zoom status") << Hex("21 45 00 18 00") << Hex("31 45 00") << 4 << 6
                                             << 0x1400 << 0x1800;
        QTest::newRow("zoom out, zoom status") << Hex("21 45 00 10 00") << Hex("31 45 00") << 4 << 6
                                              << 0x1400 << 0x1000;
        QTest::newRow("zoom in, block 7") << Hex("21 45 00 18 C8") << Hex("31 60 07") << 4 << 6
                                         << 0x1400 << 0x18C8;
        QTest::newRow("focus out, focus status") << Hex("21 45 01 03 00") << Hex("31 45 01") << 4 << 6
                                                << 0x0200 << 0x0300;
        QTest::newRow("focus in, block 10") << Hex("21 45 01 01 03") << Hex("31 60 0A") << 8 << 10
                                           << 0x0200 << 0x0103;
        QTest::newRow("a small step arrives at once") << Hex("21 45 00 14 05") << Hex("31 45 00") << 4
                                                     << 6 << 0x1400 << 0x1405;
    }
    void lensApproachesTarget()
    {
        QFETCH(QByteArray, write);
        QFETCH(QByteArray, read);
        QFETCH(int, targetAt);
        QFETCH(int, currentAt);
        QFETCH(int, start);
        QFETCH(int, target);

        CameraModel camera;
        const QByteArray echo = Ask(camera, write);
        QCOMPARE(WordAt(echo, 4), std::uint16_t(target));
        QCOMPARE(WordAt(echo, 6), std::uint16_t(start)); // the echo shows the lens before it moves

        const int direction = target > start ? 1 : -1;
        int last = start;
        QList<int> seen;
        for (int reads = 0; reads < 40 && last != target; ++reads) {
            const QByteArray reply = Ask(camera, read);
            QCOMPARE(WordAt(reply, targetAt), std::uint16_t(target));
            const int current = WordAt(reply, currentAt);
            QVERIFY2((current - last) * direction > 0, qPrintable(QString::number(current, 16)));
            QVERIFY2((target - current) * direction >= 0, "overshot the target");
            seen.append(current);
            last = current;
        }
        QCOMPARE(last, target);
        if (qAbs(target - start) > 8)
            QVERIFY2(seen.size() >= 4, "a long move should take several reads");
        else
            QCOMPARE(seen.size(), 1);
        // Arrived, it stays.
        QCOMPARE(WordAt(Ask(camera, read), currentAt), std::uint16_t(target));
    }

    void digitalZoomWidensTheZoomRange()
    {
        CameraModel camera;
        QCOMPARE(WordAt(Ask(camera, Hex("21 45 00 FF FF")), 4), std::uint16_t(0x18C8));
        Ask(camera, Hex("21 45 06 05")); // x10: 3648 steps more
        QCOMPARE(WordAt(Ask(camera, Hex("21 45 00 FF FF")), 4), std::uint16_t(0x2708));
        camera.zoomCurrent = 0x2708;
        Ask(camera, Hex("21 45 06 00")); // back to OFF: the lens is pulled into the optical range
        const QByteArray status = Ask(camera, Hex("31 45 00"));
        QCOMPARE(WordAt(status, 4), std::uint16_t(0x18C8));
        QCOMPARE(WordAt(status, 6), std::uint16_t(0x18C8));
    }

    void onePushWhiteBalance()
    {
        CameraModel camera;
        Ask(camera, Hex("21 1B 06 07"));
        QCOMPARE(Ask(camera, Hex("21 1B 04")).toHex(' '), Padded(Hex("A0 1B 04 01")).toHex(' '));
        QList<int> running;
        for (int i = 0; i < 5; ++i)
            running.append(Ask(camera, Hex("31 1B 04")).at(3));
        QCOMPARE(running, (QList<int>{1, 1, 1, 0, 0}));
        // Done, the AWB fine adjustment is back in the middle, as the tool shows it.
        QCOMPARE(Ask(camera, Hex("31 1B 06")).toHex(' '), Padded(Hex("A0 1B 06 04")).toHex(' '));
    }

    void onePushWhiteBalanceInBlock11()
    {
        CameraModel camera;
        Ask(camera, Hex("21 1B 04"));
        QList<int> running;
        for (int i = 0; i < 4; ++i)
            running.append(Ask(camera, Hex("31 60 0B")).at(10)); // reply byte 11
        QCOMPARE(running, (QList<int>{1, 1, 1, 0}));
    }

    void titlePartsRoundTrip_data()
    {
        QTest::addColumn<int>("part");
        for (int part = 0; part < 4; ++part)
            QTest::addRow("part %d", part) << part;
    }
    void titlePartsRoundTrip()
    {
        QFETCH(int, part);
        CameraModel camera;
        QByteArray codes;
        for (int i = 0; i < 5; ++i) {
            codes += char(0x01); // lower-case letters and more
            codes += char(0x10 * part + i);
        }
        const QByteArray write = Hex("21 10 01") + char(part) + codes;
        QCOMPARE(Ask(camera, write).toHex(' '), Padded(Hex("A0 10 01") + char(part) + codes).toHex(' '));
        QCOMPARE(Ask(camera, Hex("31 10 01") + char(part)).toHex(' '),
                 Padded(Hex("A0 10 01") + char(part) + codes).toHex(' '));
        QCOMPARE(Ask(camera, Hex("31 60") + char(part)).mid(3, 10).toHex(' '), codes.toHex(' '));
        // The other parts keep the default title.
        const int other = (part + 2) % 4;
        QCOMPARE(Ask(camera, Hex("31 10 01") + char(other)).mid(4, 10),
                 CameraModel().receive(Command(Hex("31 10 01") + char(other))).mid(5, 10));
        QCOMPARE(camera.title[std::size_t(5 * part + 4)], std::uint16_t(0x0100 | (0x10 * part + 4)));
    }

    void presetSaveAndLoad()
    {
        CameraModel camera;
        auto settle = [&] {
            for (int i = 0; i < 40; ++i) {
                Ask(camera, Hex("31 45 00"));
                Ask(camera, Hex("31 45 01"));
            }
        };
        Ask(camera, Hex("21 45 00 17 00"));
        Ask(camera, Hex("21 45 01 02 A0"));
        settle();
        QCOMPARE(camera.zoomCurrent, std::uint16_t(0x1700));
        QCOMPARE(camera.focusCurrent, std::uint16_t(0x02A0));
        QCOMPARE(Ask(camera, Hex("21 52 01 05")).toHex(' '), Padded(Hex("A0 52 01 05")).toHex(' '));

        Ask(camera, Hex("21 45 00 11 00"));
        Ask(camera, Hex("21 45 01 01 10"));
        settle();
        QCOMPARE(camera.zoomCurrent, std::uint16_t(0x1100));

        // Loading position 5 sends the lens back; the tool then polls it home.
        QCOMPARE(Ask(camera, Hex("31 52 01 05")).toHex(' '), Padded(Hex("A0 52 01 05")).toHex(' '));
        const QByteArray zoom = Ask(camera, Hex("31 45 00"));
        QCOMPARE(WordAt(zoom, 4), std::uint16_t(0x1700));
        QCOMPARE(WordAt(zoom, 6), std::uint16_t(0x1100));
        QCOMPARE(WordAt(Ask(camera, Hex("31 45 01")), 4), std::uint16_t(0x02A0));
        settle();
        QCOMPARE(WordAt(Ask(camera, Hex("31 45 00")), 6), std::uint16_t(0x1700));
        QCOMPARE(WordAt(Ask(camera, Hex("31 45 01")), 6), std::uint16_t(0x02A0));
        QCOMPARE(Ask(camera, Hex("31 52 00")).toHex(' '), Padded(Hex("A0 52 00 05")).toHex(' '));
        QCOMPARE(Ask(camera, Hex("31 60 08")).at(6), char(5)); // block 8, byte 7

        // A position nobody saved still goes somewhere: 64 is the far end.
        Ask(camera, Hex("31 52 01 40"));
        QCOMPARE(WordAt(Ask(camera, Hex("31 45 00")), 4), std::uint16_t(0x18C8));
    }

    void presetEnterEndsPresetMode()
    {
        CameraModel camera;
        Ask(camera, Hex("21 20 02 01"));
        QCOMPARE(Ask(camera, Hex("21 20 00")).toHex(' '), Padded(Hex("A0 20 00 00")).toHex(' '));
        QCOMPARE(Ask(camera, Hex("31 20")).toHex(' '), Padded(Hex("A0 20 00 00")).toHex(' '));
    }

    // What the camera keeps of a value beyond the range of the tool's control.
    void outOfRangeClamped_data()
    {
        QTest::addColumn<QByteArray>("write");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QByteArray>("report"); // leading reply bytes 1..

        auto row = [](const char *name, const char *write, const char *read, const char *report) {
            QTest::newRow(name) << Hex(write) << Hex(read) << Hex(report);
        };
        row("AGC 9", "21 1A 01 09", "31 1A 01", "A0 1A 01 08");
        row("SENS FF", "21 1A 02 FF", "31 1A 02", "A0 1A 02 08");
        row("Freeze 5", "21 1A 03 05", "31 1A 03", "A0 1A 03 01");
        row("WB mode 2", "21 1B 00 02", "31 1B 00", "A0 1B 00 01");
        row("R gain 9", "21 1B 02 09", "31 1B 02", "A0 1B 02 08");
        row("Color 3", "21 1B 07 03", "31 1B 07", "A0 1B 07 02");
        row("Sync 2", "21 1C 00 02", "31 1C 00", "A0 1C 00 01");
        row("phase level 257", "21 1C 01 01 01", "31 1C 01", "A0 1C 01 01 00");
        row("phase level -257", "21 1C 01 FE FF", "31 1C 01", "A0 1C 01 FF 00");
        row("H gain 13", "21 47 00 0D", "31 47 00", "A0 47 00 0C");
        row("V gain 80", "21 47 01 80", "31 47 01", "A0 47 01 0C");
        row("BLC sens 8", "21 50 08", "31 50", "A0 50 07");
        row("alarm 65", "21 51 41", "31 51", "A0 51 40");
        row("PeakOnBar 9", "21 48 00 01 09", "31 48 00 01", "A0 48 00 01 08");
        row("ALCFixBar 10", "21 48 01 01 01 0A", "31 48 01 01 01", "A0 48 01 01 01 08");
        row("AESFixBox 8", "21 48 02 01 01 08", "31 48 02 01 01", "A0 48 02 01 01 07");
        row("AES mode 3", "21 48 02 00 03", "31 48 02 00", "A0 48 02 00 01");
        row("zoom speed 5", "21 45 05 05", "31 45 05", "A0 45 05 04");
        row("focus speed 9", "21 45 07 09", "31 45 07", "A0 45 07 04");
        row("digital zoom 6", "21 45 06 06", "31 45 06", "A0 45 06 05");
        row("language 3", "21 5B 00 03", "31 5B", "A0 5B 00 02");
        row("zoom below the range", "21 45 00 00 00", "31 45 00", "A0 45 00 10 00");
        row("zoom above the range", "21 45 00 FF FF", "31 45 00", "A0 45 00 18 C8");
        row("focus below the range", "21 45 01 00 10", "31 45 01", "A0 45 01 01 00");
        row("focus above the range", "21 45 01 F0 00", "31 45 01", "A0 45 01 03 00");
        row("position 0", "21 52 00 00", "31 52 00", "A0 52 00 01");
        row("save position 65", "21 52 01 41", "31 52 00", "A0 52 00 40");
        row("mark left of 0", "21 56 01 FF FF FF FF", "31 56 01", "A0 56 01 00 00 00 00");
        row("mark off the picture", "21 56 01 7F 00 7F 00", "31 56 01", "A0 56 01 02 FF 01 FF");
        row("title position 2", "21 10 03 02", "31 10 03", "A0 10 03 01");
    }
    void outOfRangeClamped()
    {
        QFETCH(QByteArray, write);
        QFETCH(QByteArray, read);
        QFETCH(QByteArray, report);
        CameraModel camera;
        QCOMPARE(Ask(camera, write).left(1), Hex("A0"));
        QCOMPARE(Ask(camera, read).left(report.size()).toHex(' '), report.toHex(' '));
    }

    void refusedWriteChangesNoSetting()
    {
        CameraModel camera;
        camera.faults.errorReplies = true;
        camera.receive(Command(Hex("21 1A 01 07")));
        camera.receive(Command(Hex("21 45 00 18 00")));
        camera.faults = Faults{};
        QCOMPARE(Ask(camera, Hex("31 1A 01")).toHex(' '), Padded(Hex("A0 1A 01 04")).toHex(' '));
        QCOMPARE(WordAt(Ask(camera, Hex("31 45 00")), 4), std::uint16_t(0x1400));
    }

    void resetsAreCounted()
    {
        CameraModel camera;
        QCOMPARE(camera.resets, 0);
        camera.receive(Command(Hex("F1")) + Command(Hex("31 0A 01")) + Command(Hex("F1")));
        QCOMPARE(camera.resets, 2);
    }

    void splitFrame_data()
    {
        QTest::addColumn<int>("at");
        for (int at = 1; at < COMMAND_FRAME_SIZE; ++at)
            QTest::addRow("after byte %d", at - 1) << at;
    }
    void splitFrame()
    {
        QFETCH(int, at);
        CameraModel camera;
        const QByteArray frame = Command(Hex("31 0A 01"));
        QVERIFY(camera.receive(frame.left(at)).isEmpty());
        QCOMPARE(camera.receive(frame.mid(at)).toHex(' '), DSP1_REPLY.toHex(' '));
    }

    void lineNoise_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("answers"); // replies to the good frames, all DSP 1 reads

        const QByteArray good = Command(Hex("31 0A 01"));
        QByteArray badCrc = good;
        badCrc[18] = char(badCrc[18] ^ 0x01);
        // ETX wrong but the CRC right for it, so only the ETX test can refuse it.
        QByteArray badEtx = good;
        badEtx[16] = 0x04;
        const std::uint16_t crc = FrameCrc(reinterpret_cast<const std::uint8_t *>(badEtx.constData()) + 1, 16);
        badEtx[17] = char(crc >> 8);
        badEtx[18] = char(crc & 0xFF);

        QTest::newRow("good frame") << good << 1;
        QTest::newRow("two frames joined") << good + good << 2;
        QTest::newRow("garbage before") << Hex("FF 00 06 15 03 7F 31") + good << 1;
        QTest::newRow("stray STX before") << Hex("02 55 AA") + good << 1;
        QTest::newRow("stray SOH before") << Hex("01 00 01") + good << 1;
        QTest::newRow("ACK and NAK only") << Hex("06 15 06") << 0;
        QTest::newRow("bad CRC") << badCrc << 0;
        QTest::newRow("bad ETX") << badEtx << 0;
        QTest::newRow("bad CRC, then good") << badCrc + good << 1;
        QTest::newRow("truncated frame, then good") << good.left(11) + good << 1;
    }
    void lineNoise()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, answers);
        CameraModel camera;
        QCOMPARE(camera.receive(line).toHex(' '), DSP1_REPLY.repeated(answers).toHex(' '));
    }

    void faults_data()
    {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("dsr");

        QByteArray flippedCrc = DSP1_REPLY;
        flippedCrc[18] = char(flippedCrc[18] ^ 0xFF);
        QByteArray dropped = DSP1_REPLY;
        dropped.remove(7, 1);
        QByteArray both = flippedCrc;
        both.remove(7, 1);

        QTest::newRow("none") << QString() << DSP1_REPLY << true;
        QTest::newRow("error") << "error" << Reply(Hex("15 0A 01")) << true;
        QTest::newRow("lost") << "lost" << QByteArray() << true;
        QTest::newRow("crc") << "crc" << flippedCrc << true;
        QTest::newRow("drop") << "drop" << dropped << true;
        QTest::newRow("crc and drop") << "crc,drop" << both << true;
        QTest::newRow("dsroff") << "dsroff" << DSP1_REPLY << false;
    }
    void faults()
    {
        QFETCH(QString, faults);
        QFETCH(QByteArray, expected);
        QFETCH(bool, dsr);

        SimTransport line;
        QVERIFY(ParseFaults(faults, line.model().faults));
        QVERIFY(line.open(QStringLiteral("sim"), 9600));
        QCOMPARE(line.dsr(), dsr);
        QCOMPARE(line.model().receive(Command(Hex("31 0A 01"))).toHex(' '), expected.toHex(' '));
        if (faults == QLatin1String("error"))
            QVERIFY(CrcGood(expected)); // refused, yet a well-formed frame
    }

    void faultsAndState_data()
    {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<QByteArray>("readBack"); // reply bytes 1..5 of the read after the fault is gone

        // A refused write changes nothing; a lost reply was lost after the camera acted.
        QTest::newRow("error") << "error" << Hex("A0 0A 01 40 00");
        QTest::newRow("lost") << "lost" << Hex("A0 0A 01 12 34");
        QTest::newRow("crc") << "crc" << Hex("A0 0A 01 12 34");
    }
    void faultsAndState()
    {
        QFETCH(QString, faults);
        QFETCH(QByteArray, readBack);
        CameraModel camera;
        QVERIFY(ParseFaults(faults, camera.faults));
        camera.receive(Command(Hex("21 0A 01 12 34")));
        camera.faults = Faults{};
        QCOMPARE(camera.receive(Command(Hex("31 0A 01"))).toHex(' '), Reply(readBack).toHex(' '));
    }

    void blockFrame()
    {
        std::array<std::uint8_t, BLOCK_DATA_SIZE> image{};
        for (std::size_t i = 0; i < image.size(); ++i)
            image[i] = std::uint8_t(i * 7 + 3);
        const QByteArray frame = BuildBlockFrame(image);

        CameraModel camera;
        // In the pieces the tool writes: SOH and kind, four times 512, ETX and CRC.
        QVERIFY(camera.receive(frame.left(2)).isEmpty());
        for (int piece = 0; piece < 4; ++piece)
            QVERIFY(camera.receive(frame.mid(2 + 512 * piece, 512)).isEmpty());
        QCOMPARE(camera.receive(frame.mid(2050)).toHex(' '), Reply(Hex("A0 75")).toHex(' '));

        QCOMPARE(camera.blocksStored, 1);
        QCOMPARE(camera.eeprom[0], std::uint16_t(0x030A));
        QCOMPARE(camera.eeprom[0x0151], std::uint16_t(image[0x2A2] << 8 | image[0x2A3]));
        QCOMPARE(camera.eeprom[1023], std::uint16_t(image[2046] << 8 | image[2047]));
        QCOMPARE(camera.receive(Command(Hex("31 0C 03 FF"))).toHex(' '),
                 Reply(Hex("A0 0C 03 FF") + char(image[2046]) + char(image[2047])).toHex(' '));
    }

    void badBlockFrame()
    {
        std::array<std::uint8_t, BLOCK_DATA_SIZE> image{};
        image.fill(0x5A);
        QByteArray frame = BuildBlockFrame(image);
        frame[2052] = char(frame[2052] ^ 0x10);

        CameraModel camera;
        const auto before = camera.eeprom;
        QCOMPARE(camera.receive(frame + Command(Hex("31 0A 01"))).toHex(' '), DSP1_REPLY.toHex(' '));
        QCOMPARE(camera.blocksStored, 0);
        QVERIFY(camera.eeprom == before);
    }

    void parseFaults_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("flags"); // e l c d s: which switches end up on

        QTest::newRow("empty") << "" << true << "";
        QTest::newRow("error") << "error" << true << "e";
        QTest::newRow("lost,crc") << "lost,crc" << true << "lc";
        QTest::newRow("all five") << "error,lost,crc,drop,dsroff" << true << "elcds";
        QTest::newRow("spaces and case") << " Drop , DSROFF " << true << "ds";
        QTest::newRow("unknown name") << "error,noise" << false << "e";
        QTest::newRow("misspelt") << "dsr-off" << false << "e";
    }
    void parseFaults()
    {
        QFETCH(QString, list);
        QFETCH(bool, ok);
        QFETCH(QString, flags);

        Faults faults;
        faults.errorReplies = true; // a rejected list must leave this as it was
        QString error;
        QCOMPARE(ParseFaults(list, faults, &error), ok);
        QCOMPARE(error.isEmpty(), ok);
        if (!ok)
            QVERIFY2(error.contains(list.section(QLatin1Char(','), -1)), qPrintable(error));
        QCOMPARE(faults.errorReplies, flags.contains(QLatin1Char('e')));
        QCOMPARE(faults.lostReplies, flags.contains(QLatin1Char('l')));
        QCOMPARE(faults.badCrc, flags.contains(QLatin1Char('c')));
        QCOMPARE(faults.dropBytes, flags.contains(QLatin1Char('d')));
        QCOMPARE(faults.dsrOff, flags.contains(QLatin1Char('s')));
    }

    void transportAtOnce()
    {
        SimTransport line;
        line.setMicrosecondsPerByte(0);
        QSignalSpy arrived(&line, &Transport::bytesArrived);
        QVERIFY(line.open(QStringLiteral("anything"), 9600));
        QVERIFY(line.write(Command(Hex("31 0A 01"))));
        QCOMPARE(arrived.count(), 0); // never from inside write()
        QTRY_COMPARE_WITH_TIMEOUT(arrived.count(), 1, 50);
        QCOMPARE(arrived.at(0).at(0).toByteArray().toHex(' '), DSP1_REPLY.toHex(' '));
    }

    void transportPaced()
    {
        SimTransport line; // 9600 baud: about 20 ms for a reply
        QByteArray received;
        int pieces = 0;
        connect(&line, &Transport::bytesArrived, this, [&](const QByteArray &bytes) {
            received += bytes;
            ++pieces;
        });
        QVERIFY(line.open(QStringLiteral("anything"), 9600));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(line.write(Command(Hex("31 0A 01")) + Command(Hex("31 53"))));
        QCoreApplication::processEvents();
        QVERIFY(received.size() < REPLY_FRAME_SIZE);
        QTRY_VERIFY_WITH_TIMEOUT(received.size() >= REPLY_FRAME_SIZE, 100);
        QVERIFY2(clock.elapsed() >= 18, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(pieces > 1);
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 2 * REPLY_FRAME_SIZE, 200);
        QCOMPARE(received.toHex(' '), (DSP1_REPLY + Reply(Hex("A0 53 20"))).toHex(' '));
    }

    void transportClosed()
    {
        SimTransport line;
        QSignalSpy arrived(&line, &Transport::bytesArrived);
        QVERIFY(!line.isOpen());
        QVERIFY(!line.dsr());
        QVERIFY(!line.write(Command(Hex("31 0A 01"))));
        QVERIFY(!line.errorString().isEmpty());
        QCOMPARE(line.model().resets, 0);

        QVERIFY(line.open(QStringLiteral("/dev/nothing"), 9600));
        QVERIFY(line.isOpen());
        QVERIFY(line.dsr());
        QVERIFY(line.write(Command(Hex("F1"))));
        QCOMPARE(line.model().resets, 1);
        line.close(); // the answer still on the line is gone
        QVERIFY(!line.dsr());
        QTest::qWait(50);
        QCOMPARE(arrived.count(), 0);

        // Reopened, only the new answer arrives: nothing of the dropped one.
        QVERIFY(line.open(QStringLiteral("/dev/nothing"), 9600));
        QVERIFY(line.write(Command(Hex("31 0A 01"))));
        QByteArray received;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                received.clear();
                for (const QList<QVariant> &signal : arrived)
                    received += signal.at(0).toByteArray();
                return received.size() >= REPLY_FRAME_SIZE;
            }(),
            200);
        QTest::qWait(30);
        received.clear();
        for (const QList<QVariant> &signal : arrived)
            received += signal.at(0).toByteArray();
        QCOMPARE(received.toHex(' '), DSP1_REPLY.toHex(' '));
    }
};

QTEST_GUILESS_MAIN(TestCameraModel)
#include "tst_cameramodel.moc"
