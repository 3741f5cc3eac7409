// The reply receiver and the link controller: frames in, frames out.

#include "link/cameralink.h"
#include "link/receiver.h"
#include "support/faketransport.h"
#include "ui/dialogs.h"

#include <QSignalSpy>
#include <QTest>

using namespace h7q8;
using namespace h7q8::test;

namespace {
// Feeds bytes one by one; returns the results that were not Nothing.
QList<ReplyResult> feedAll(ReplyReceiver &rx, const QByteArray &bytes)
{
    QList<ReplyResult> out;
    for (char c : bytes) {
        const ReplyResult r = rx.feed(std::uint8_t(c));
        if (r != ReplyResult::Nothing)
            out.append(r);
    }
    return out;
}

struct LinkFixture {
    LinkFixture()
    {
        line = new FakeTransport;
        link = std::make_unique<CameraLink>(line, dialogs);
        line->setParent(link.get());
        link->setReplyHandler([this] {
            replies.append(ReplyText(link->store()));
            if (onReply)
                onReply();
        });
        QObject::connect(link.get(), &CameraLink::statusText, link.get(),
                         [this](int panel, const QString &t) { status[panel] = t; });
        link->Trans_Create(QStringLiteral("/dev/ttyFAKE"));
    }
    ScriptedDialogs dialogs;
    FakeTransport *line;
    std::unique_ptr<CameraLink> link;
    QStringList replies;
    QString status[4];
    std::function<void()> onReply;
};
} // namespace

Q_DECLARE_METATYPE(QList<ReplyResult>)

class TestLink : public QObject
{
    Q_OBJECT
private slots:
    void receiverTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<ReplyResult>>("results");
        QTest::addColumn<int>("endState");
        const QByteArray good = ReplyFrame({0xA0, 0x60, 0x01, 0x02, 0x03});
        QByteArray swapped = good;
        std::swap(swapped[17], swapped[18]);
        QByteArray badEtx = good;
        badEtx[16] = 0x04;
        QByteArray stxInside = ReplyFrame({0xA0, 0x02, 0x03, 0x06, 0x15});

        using R = QList<ReplyResult>;
        QTest::newRow("good frame") << good << R{ReplyResult::GoodReply} << int(ReceiveState::Idle);
        QTest::newRow("noise before") << (QByteArray("\x00\x41\xFF\x03", 4) + good)
                                      << R{ReplyResult::GoodReply} << int(ReceiveState::Idle);
        QTest::newRow("ack and nak between frames")
            << (QByteArray("\x06\x15", 2) + good)
            << R{ReplyResult::Ack, ReplyResult::Nak, ReplyResult::GoodReply} << int(ReceiveState::Idle);
        QTest::newRow("control values inside a frame") << stxInside << R{ReplyResult::GoodReply}
                                                       << int(ReceiveState::Idle);
        QTest::newRow("crc bytes swapped") << swapped << R{ReplyResult::CrcError} << int(ReceiveState::Idle);
        QTest::newRow("etx missing") << badEtx.left(17) << R{ReplyResult::EtxError} << int(ReceiveState::Idle);
        QTest::newRow("short frame completed by the next one")
            << (good.left(10) + good)
            // the first 10 bytes plus 6 of the next fill the body; byte 16 of the
            // merged frame is not ETX
            << R{ReplyResult::EtxError} << int(ReceiveState::Idle);
        QTest::newRow("half a frame") << good.left(12) << R{} << int(ReceiveState::Body);
        QTest::newRow("stops at crc high") << good.left(18) << R{} << int(ReceiveState::CrcLow);
    }
    void receiverTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<ReplyResult>, results);
        QFETCH(int, endState);
        ReplyReceiver rx;
        QCOMPARE(feedAll(rx, bytes), results);
        QCOMPARE(int(rx.state()), endState);
    }

    void receiverRecoversAfterError()
    {
        ReplyReceiver rx;
        const QByteArray good = ReplyFrame({0xA0, 0x1A, 0x03, 0x01});
        QByteArray bad = good;
        bad[18] = char(bad[18] ^ 0x5A);
        QCOMPARE(feedAll(rx, bad + good), (QList<ReplyResult>{ReplyResult::CrcError, ReplyResult::GoodReply}));
        QCOMPARE(rx.reply()[3], std::uint8_t(0x03));
        QCOMPARE(rx.reply()[4], std::uint8_t(0x01));
    }

    void commandSendWritesOneFrame()
    {
        LinkFixture f;
        f.link->setCameraIdSource([] { return std::uint8_t(7); });
        f.link->send({0x31, 0x60, 0x00});
        QCOMPARE(f.line->writes.size(), 1);
        QCOMPARE(f.line->writes[0], CommandFrame({0x31, 0x60, 0x00}, 7));
        QCOMPARE(f.status[1], QStringLiteral("316000") + QString(22, u'0'));
        QVERIFY(f.link->waitCursor());
        QVERIFY(!f.link->busy());
    }

    void defaultCursorCommands_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<bool>("wait");
        QTest::newRow("reset") << Bytes("F1") << false;
        QTest::newRow("preset set") << Bytes("21 20 00") << false;
        QTest::newRow("preset item") << Bytes("21 20 02 01") << true;
        QTest::newRow("read") << Bytes("31 1C 00") << true;
    }
    void defaultCursorCommands()
    {
        QFETCH(QByteArray, command);
        QFETCH(bool, wait);
        LinkFixture f;
        for (int k = 0; k < command.size(); ++k)
            f.link->setCmd(k + 1, std::uint8_t(command[k]));
        f.link->StxCommand(int(command.size()));
        QCOMPARE(f.link->waitCursor(), wait);
    }

    void goodReplyDispatchesAndShows()
    {
        LinkFixture f;
        f.link->send({0x31, 0x1C, 0x00});
        f.line->reply({0xA0, 0x1C, 0x00, 0x01});
        QCOMPARE(f.replies, QStringList{QStringLiteral("A01C0001") + QString(22, u'0')});
        QCOMPARE(f.status[2], f.replies[0]);
        // The default cursor returns from cursor_timer, about 10 ms later.
        QVERIFY(f.link->waitCursor());
        QTRY_VERIFY_WITH_TIMEOUT(!f.link->waitCursor(), 1000);
    }

    void twoCommandsBothGoOut()
    {
        LinkFixture f;
        f.link->send({0x31, 0x1C, 0x00});
        f.link->send({0x31, 0x18, 0x00});
        QCOMPARE(f.line->commands(3), (QList<QByteArray>{Bytes("31 1C 00"), Bytes("31 18 00")}));
        QList<int> seenCommand;
        f.onReply = [&] { seenCommand.append(f.link->store().cmd(2)); };
        f.line->feed(ReplyFrame({0xA0, 0x1C, 0x00}) + ReplyFrame({0xA0, 0x18, 0x00}));
        QCOMPARE(f.replies.size(), 2);
        // Both are decoded against the last command sent.
        QCOMPARE(seenCommand, (QList<int>{0x18, 0x18}));
    }

    void etxErrorShowsOnceAndKeepsBusy()
    {
        LinkFixture f;
        f.link->setBusy(true);
        QByteArray bad = ReplyFrame({0xA0, 0x60, 0x00});
        bad[16] = 0x00;
        f.line->feed(bad);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("sr_err1"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("recv_chr"));
        QVERIFY(f.replies.isEmpty());
        QVERIFY(f.link->busy());
    }

    void crcErrorIsSilent()
    {
        LinkFixture f;
        QByteArray bad = ReplyFrame({0xA0, 0x60, 0x00});
        bad[17] = char(bad[17] ^ 1);
        f.line->feed(bad);
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.replies.isEmpty());
        QVERIFY(f.status[2].isEmpty());
    }

    void busyRule()
    {
        LinkFixture f;
        std::array<std::uint8_t, BLOCK_DATA_SIZE> image{};
        image[0] = 0x12;
        QSignalSpy started(f.link.get(), &CameraLink::blockSendStarted);
        f.link->SohCommand(image);
        QVERIFY(f.link->busy());
        QCOMPARE(started.size(), 1);
        // Six writes, none over 512 bytes, together the block frame.
        QList<int> sizes;
        for (const QByteArray &w : f.line->writes)
            sizes << int(w.size());
        QCOMPARE(sizes, (QList<int>{2, 512, 512, 512, 512, 3}));
        QCOMPARE(f.line->writes.join(), BuildBlockFrame(image));
        const QString lastCommandText = f.status[1];

        // While the block waits, a command sends nothing and changes nothing on screen.
        f.line->clearWrites();
        f.link->send({0x31, 0x60, 0x00});
        QVERIFY(f.line->writes.isEmpty());
        QCOMPARE(f.status[1], lastCommandText);
        // A second block shows "Busy".
        f.link->SohCommand(image);
        QVERIFY(f.line->writes.isEmpty());
        QCOMPARE(f.status[1], QStringLiteral("Busy"));
        // The block's reply frees the link.
        f.line->reply({0xA0, 0x75, 0x00});
        QVERIFY(!f.link->busy());
        f.link->send({0x31, 0x60, 0x00});
        QCOMPARE(f.line->writes.size(), 1);
    }

    void linkPhaseGatesReplies()
    {
        LinkFixture f;
        f.link->setLinkPhase(1);
        f.line->reply({0xA0, 0x60, 0x00});
        QVERIFY(f.replies.isEmpty());
        f.link->setLinkPhase(2);
        f.line->reply({0xA0, 0x60, 0x00});
        QCOMPARE(f.replies.size(), 1);
    }

    void noDispatchInsideDispatch()
    {
        // A decoder that opens a modal box runs a nested event loop: bytes that
        // arrive meanwhile must wait until the first dispatch returns.
        LinkFixture f;
        int depth = 0, maxDepth = 0;
        QStringList order;
        f.onReply = [&] {
            ++depth;
            maxDepth = std::max(maxDepth, depth);
            order << QStringLiteral("begin %1").arg(f.link->store().rep(3));
            if (f.link->store().rep(3) == 1)
                f.line->feed(ReplyFrame({0xA0, 0x60, 0x02})); // arrives mid-dispatch
            order << QStringLiteral("end %1").arg(f.link->store().rep(3));
            --depth;
        };
        f.line->feed(ReplyFrame({0xA0, 0x60, 0x01}));
        QCOMPARE(maxDepth, 1);
        QCOMPARE(order, (QStringList{"begin 1", "end 1", "begin 2", "end 2"}));
    }

    void openFailure()
    {
        ScriptedDialogs dialogs;
        auto *line = new FakeTransport;
        line->openSucceeds = false;
        CameraLink link(line, dialogs);
        line->setParent(&link);
        QVERIFY(!link.Trans_Create(QStringLiteral("/dev/ttyS0")));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("オープンエラー ErrorCode = -1")});
        QVERIFY(!link.DR_check());
        link.send({0x31, 0x60, 0x00});
        QCOMPARE(dialogs.texts().last(), QStringLiteral("通信が開始されていない。"));
        // The hourglass stays until Cancel.
        QVERIFY(link.waitCursor());
        link.cancel();
        QTRY_VERIFY_WITH_TIMEOUT(!link.waitCursor(), 1000);
    }

    void unpluggedLineReportedOnce()
    {
        LinkFixture f;
        f.line->unplug();
        f.line->unplug();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("lost")));
        QVERIFY(f.link->lineLost());
        QVERIFY(!f.link->DR_check());
        f.link->send({0x31, 0x60, 0x00});
        QVERIFY(f.line->writes.isEmpty());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(!f.link->waitCursor());
        // Opening the line again lifts the refusal.
        QVERIFY(f.link->CnctDataLink(QStringLiteral("/dev/ttyFAKE"), 9600));
        f.link->send({0x31, 0x60, 0x00});
        QCOMPARE(f.line->writes.size(), 1);
    }
};

QTEST_MAIN(TestLink)
#include "tst_link.moc"
