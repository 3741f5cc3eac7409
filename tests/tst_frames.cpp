// Frame building, the checksum and the hexadecimal text forms.

#include "link/frame.h"
#include "support/faketransport.h"

#include <QTest>

using namespace h7q8;
using namespace h7q8::test;

class TestFrames : public QObject
{
    Q_OBJECT
private slots:
    void crcCheckValue()
    {
        const QByteArray digits("123456789");
        QCOMPARE(FrameCrc(reinterpret_cast<const std::uint8_t *>(digits.data()), 9), 0xBB3D);
        QCOMPARE(FrameCrc(nullptr, 0), 0x0000);
    }

    void commandFrames_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("read 0x60, id 1")
            << CommandFrame({0x31, 0x60, 0x00}, 1)
            << Bytes("02 31 60 00 00 00 00 00 00 00 00 00 00 00 00 01 03 3D F4");
        QTest::newRow("reset, id 1")
            << CommandFrame({0xF1}, 1)
            << Bytes("02 F1 00 00 00 00 00 00 00 00 00 00 00 00 00 01 03 45 C4");
    }
    void commandFrames()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        QCOMPARE(built.toHex(' '), expected.toHex(' '));
    }

    void lengthFifteenLosesLastByteToId()
    {
        std::array<std::uint8_t, COMMAND_FRAME_SIZE> frame{};
        for (int k = 1; k <= 15; ++k)
            frame[std::size_t(k)] = std::uint8_t(0x10 + k);
        BuildCommandFrame(frame, 15, 0x07);
        QCOMPARE(frame[15], std::uint8_t(0x07));
        QCOMPARE(frame[14], std::uint8_t(0x1E));
        const std::uint16_t crc = FrameCrc(frame.data() + 1, 16);
        QCOMPARE(frame[17], std::uint8_t(crc >> 8));
        QCOMPARE(frame[18], std::uint8_t(crc & 0xFF));
    }

    void leftoverBytesAreZeroed()
    {
        std::array<std::uint8_t, COMMAND_FRAME_SIZE> frame{};
        frame.fill(0xEE);
        frame[1] = 0x31;
        frame[2] = 0x53;
        BuildCommandFrame(frame, 2, 1);
        const QByteArray got(reinterpret_cast<const char *>(frame.data()), COMMAND_FRAME_SIZE);
        QCOMPARE(got, CommandFrame({0x31, 0x53}, 1));
        for (int k = 3; k <= 14; ++k)
            QCOMPARE(frame[std::size_t(k)], std::uint8_t(0));
    }

    void blockFrameLayout()
    {
        std::array<std::uint8_t, BLOCK_DATA_SIZE> image{};
        for (int i = 0; i < BLOCK_DATA_SIZE; ++i)
            image[std::size_t(i)] = std::uint8_t(i * 7);
        const QByteArray frame = BuildBlockFrame(image);
        QCOMPARE(frame.size(), BLOCK_FRAME_SIZE);
        QCOMPARE(std::uint8_t(frame[0]), SOH);
        QCOMPARE(std::uint8_t(frame[1]), BLOCK_KIND);
        QCOMPARE(std::uint8_t(frame[2 + 100]), image[100]);
        QCOMPARE(std::uint8_t(frame[2049]), image[2047]);
        QCOMPARE(std::uint8_t(frame[2050]), ETX);
        const auto *b = reinterpret_cast<const std::uint8_t *>(frame.constData());
        const std::uint16_t crc = FrameCrc(b + 1, 2050);
        QCOMPARE(b[2051], std::uint8_t(crc >> 8));
        QCOMPARE(b[2052], std::uint8_t(crc & 0xFF));
    }

    void statusTexts()
    {
        FrameStore store;
        store.command[1] = 0x31;
        store.command[2] = 0x60;
        store.command[3] = 0x0A;
        BuildCommandFrame(store.command, 3, 1);
        QCOMPARE(CommandText(store), QStringLiteral("31600A") + QString(22, u'0'));
        store.reply[1] = 0xA0;
        store.reply[15] = 0xFF;
        QCOMPARE(ReplyText(store).size(), 30);
        QVERIFY(ReplyText(store).startsWith(QStringLiteral("A0")));
        QVERIFY(ReplyText(store).endsWith(QStringLiteral("FF")));
    }

    void hexForms()
    {
        QCOMPARE(HexByteText(10), QStringLiteral("0A"));
        QCOMPARE(HexByteText(0x1FF), QStringLiteral("FF"));
        QCOMPARE(HexWordText(0xABCD), QStringLiteral("ABCD"));
        QCOMPARE(HexWordText(unsigned(-1)), QStringLiteral("FFFF"));
        QCOMPARE(HexLongText(0x0012ABCD), QStringLiteral("0012ABCD"));
        QCOMPARE(HexDigitValue(u'f'), 15);
        QCOMPARE(HexDigitValue(u'G'), -1);
        QCOMPARE(HexPairValue(u'1', u'a'), 0x1A);
        QCOMPARE(HexPairValue(u'1', u'x'), -1);
    }

    void hexText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("lower case") << "1a2f" << 0x1A2F;
        QTest::newRow("bad character") << "12G4" << -1;
        QTest::newRow("space") << "12 4" << -1;
        QTest::newRow("eight F") << "FFFFFFFF" << -1;
        QTest::newRow("nine digits keep low 32 bits") << "123456789" << 0x23456789;
    }
    void hexText()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(HexText(text), value);
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
