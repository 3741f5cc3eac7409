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

bool CrcGood(const QByteArray &frame)
{
    if (frame.size() != REPLY_FRAME_SIZE)
        return false;
    const auto *p = reinterpret_cast<const std::uint8_t *>(frame.constData());
    return FrameCrc(p + 1, 16) == (p[17] << 8 | p[18]);
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
        QTest::newRow("other write echoes") << none << Hex("21 1C 00 01") << Hex("A0 1C 00 01");
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
