// Page loads: the commands of every page's load, one per good reply, and the
// rule that continues a load only when no decoder took it over.

#include "support/fixture.h"

#include <QLineEdit>
#include <QTabWidget>

using namespace h7q8;
using namespace h7q8::test;

namespace {
QList<QByteArray> expectedLoad(int page, const char *maskPos = "64")
{
    QList<QByteArray> out;
    auto add = [&](std::initializer_list<std::uint8_t> b) {
        QByteArray bytes(14, '\0');
        int i = 0;
        for (auto x : b)
            bytes[i++] = char(x);
        out.append(bytes);
    };
    const auto p = std::uint8_t(QByteArray(maskPos).toInt());
    switch (page) {
    case PageEasy:
        for (int k = 0; k < 12; ++k)
            add({0x31, 0x60, std::uint8_t(k)});
        add({0x31, 0x0C, 0x01, 0x51});
        break;
    case PageLine:
        add({0x31, 0x0A, 0x01});
        add({0x31, 0x0A, 0x40});
        add({0x31, 0x53});
        add({0x31, 0x5B});
        break;
    case PageEasy2:
        add({0x31, 0x52, 0x00});
        for (int k = 0; k < 4; ++k)
            add({0x31, 0x57, std::uint8_t(k), p});
        add({0x31, 0x5C, 0x00, 0x00});
        add({0x31, 0x5D, 0x00, 0x00});
        add({0x31, 0x5F, 0x00});
        break;
    default:
        add({0x31, 0x0A, 0x01});
        add({0x31, 0x0A, 0x40});
    }
    return out;
}
} // namespace

class TestPageLoads : public QObject
{
    Q_OBJECT
private slots:
    void startUpLoadsEasy()
    {
        Tool tool;
        QCOMPARE(tool.line->openedDevice, QStringLiteral("/dev/ttyFAKE"));
        QCOMPARE(tool.window->statusPanelText(0), QStringLiteral("Comm. Connecting"));
        QVERIFY(!tool.ctl<QWidget>("Panel4")->isEnabled());
        QVERIFY(!tool.ctl<QWidget>("PageControl1")->isEnabled());
        QCOMPARE(tool.seq().CurrentLoadPage, std::uint8_t(PageEasy));
        // One command per good reply: 13 commands, the 13th reply ends the load.
        for (int n = 1; n <= 13; ++n) {
            QCOMPARE(tool.line->frames().size(), n);
            QVERIFY(tool.seq().TransferStep != 0);
            tool.answer();
        }
        QCOMPARE(tool.line->frames().size(), 13);
        QCOMPARE(tool.seq().TransferStep, 0);
        QCOMPARE(tool.line->commands(), expectedLoad(PageEasy));
        QVERIFY(tool.ctl<QWidget>("Panel4")->isEnabled());
        QVERIFY(tool.ctl<QWidget>("PageControl1")->isEnabled());
    }

    void everyPageLoad_data()
    {
        QTest::addColumn<int>("page");
        for (int page = 0; page < PAGE_COUNT; ++page)
            QTest::addRow("page %d", page) << page;
    }
    void everyPageLoad()
    {
        QFETCH(int, page);
        Tool tool;
        tool.finishLoad();
        tool.showPage(page); // no load running: the change loads the page at once
        tool.line->clearWrites();
        tool.window->ReLoadClick();
        QCOMPARE(tool.seq().CurrentLoadPage, std::uint8_t(page));
        const int answered = tool.finishLoad();
        // The Easy2 load's first reply reports position 0, which MASK_POS then shows.
        const QList<QByteArray> expected = expectedLoad(page, "00");
        QCOMPARE(answered, int(expected.size()));
        QCOMPARE(tool.line->commands(), expected);
        // Every frame carries the id and a good checksum: compare whole frames.
        for (int i = 0; i < expected.size(); ++i) {
            const QByteArray cmd = expected[i];
            int length = 14;
            while (length > 1 && cmd[length - 1] == 0)
                --length;
            QByteArray frame = tool.line->frames()[i];
            QCOMPARE(std::uint8_t(frame[15]), std::uint8_t(1));
            QCOMPARE(std::uint8_t(frame[16]), std::uint8_t(0x03));
            const std::uint16_t crc = FrameCrc(reinterpret_cast<const std::uint8_t *>(frame.constData()) + 1, 16);
            QCOMPARE(std::uint8_t(frame[17]), std::uint8_t(crc >> 8));
            QCOMPARE(std::uint8_t(frame[18]), std::uint8_t(crc & 0xFF));
        }
    }

    void easy2ReadsMaskPositionAtEachStep()
    {
        Tool tool;
        tool.finishLoad();
        tool.showPage(PageEasy2);
        auto *maskPos = tool.ctl<QLineEdit>("MASK_POS");
        QCOMPARE(maskPos->text(), QStringLiteral("64"));
        tool.answer(); // step 0
        maskPos->setText(QStringLiteral("300"));  // low 8 bits: 0x2C
        tool.line->clearWrites();
        tool.answer();
        QCOMPARE(tool.line->commands(4), QList<QByteArray>{Bytes("31 57 01 2C")});
    }

    void easy2BadMaskPositionStopsTheLoad()
    {
        Tool tool;
        tool.finishLoad();
        tool.showPage(PageEasy2);
        tool.answer(); // step 0; step 1 goes out
        tool.ctl<QLineEdit>("MASK_POS")->setText(QStringLiteral("x1"));
        tool.line->clearWrites();
        tool.answer();
        QVERIFY(tool.line->writes.isEmpty());
        QCOMPARE(tool.dialogs.messages.size(), 1);
        QCOMPARE(tool.dialogs.messages[0].caption, QStringLiteral("error"));
        QVERIFY(tool.seq().TransferStep != 0);
        QVERIFY(!tool.seq().Trans_chk());
        tool.window->CancelPushClick();
        QVERIFY(tool.seq().Trans_chk());
    }

    void loadDuringLoadRestarts()
    {
        Tool tool;
        tool.answer();
        tool.answer(); // steps 0, 1 answered; step 2 is on its way
        tool.line->clearWrites();
        tool.window->ReLoadClick();
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("31 60 00")});
        // The reply to the earlier step still on its way advances the new sequence.
        tool.line->reply({0xA0, 0x60, 0x02});
        QCOMPARE(tool.line->commands(3), (QList<QByteArray>{Bytes("31 60 00"), Bytes("31 60 01")}));
        QCOMPARE(tool.seq().TransferStep, 2);
    }

    void handlersRefusedDuringLoad()
    {
        Tool tool;
        QVERIFY(!tool.seq().Trans_chk());
        tool.line->clearWrites();
        tool.window->SW_push(3);
        tool.window->Reset1Click();
        QVERIFY(tool.line->writes.isEmpty());
        tool.finishLoad();
        tool.line->clearWrites();
        tool.seq().SendSuppressed = true;
        QVERIFY(!tool.seq().Trans_chk());
        tool.window->SW_push(3);
        QVERIFY(tool.line->writes.isEmpty());
        tool.seq().SendSuppressed = false;
        tool.window->SW_push(3);
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("21 32 03")});
    }

    void cancelStopsLoadAndLateReplyDoesNotRestart()
    {
        Tool tool;
        tool.answer();
        tool.window->CancelPushClick();
        QCOMPARE(tool.seq().TransferStep, 0);
        QVERIFY(tool.ctl<QWidget>("Panel4")->isEnabled());
        QVERIFY(tool.ctl<QWidget>("PageControl1")->isEnabled());
        tool.line->clearWrites();
        int decoded = 0;
        tool.seq().decoders.page[PageEasy] = [&] { ++decoded; };
        tool.line->reply({0xA0, 0x60, 0x01});
        QCOMPARE(decoded, 1);
        QVERIFY(tool.line->writes.isEmpty());
    }

    void dispatchOrder()
    {
        Tool tool;
        tool.finishLoad();
        QStringList order;
        auto &d = tool.seq().decoders;
        d.common = [&] { order << "common"; };
        for (int p = 0; p < PAGE_COUNT; ++p)
            d.page[std::size_t(p)] = [&, p] { order << QStringLiteral("page %1").arg(p); };
        d.hidden = [&] { order << "hidden"; };
        d.cursorMarker = [&] { order << "marker"; };
        tool.line->reply({0xA0, 0x60, 0x00});
        QCOMPARE(order, (QStringList{"common", "page 4", "hidden", "marker"}));
        // The page on show decodes, not the page that loaded.
        order.clear();
        tool.showPage(PageEasy2);
        order.clear();
        tool.line->reply({0xA0, 0x60, 0x00});
        QCOMPARE(order, (QStringList{"common", "page 6", "hidden", "marker"}));
    }

    void decoderTakingOverStopsContinuation()
    {
        Tool tool;
        tool.answer();
        tool.answer(); // Easy steps 0 and 1 answered; step 2 is out, TransferStep 3
        tool.line->clearWrites();
        bool once = true;
        tool.seq().decoders.page[PageEasy] = [&] {
            if (std::exchange(once, false))
                tool.seq().Trans_init(PageEasy2, 1);
        };
        tool.answer();
        // Only the decoder's command: the old load does not go on as well.
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("31 57 00")});
        QCOMPARE(tool.seq().TransferStep, 2);
    }

    void decoderStartedLoadContinuesWithCurrentLoadPage()
    {
        // A position preset loaded while Easy2 is on show runs its load from
        // step 1; the following replies continue it with Easy2's routine.
        Tool tool;
        tool.finishLoad();
        tool.showPage(PageEasy2);
        tool.finishLoad();
        QCOMPARE(tool.seq().CurrentLoadPage, std::uint8_t(PageEasy2));
        tool.link().send({0x31, 0x52, 0x01, 0x05}); // a position preset load
        tool.line->clearWrites();
        tool.line->reply({0xA0, 0x52, 0x01, 0x05});
        tool.answer();
        // PosLoad is disabled (the empty load left the lens group off), so the
        // zoom status is asked first; then Easy2's load runs on from step 1.
        QCOMPARE(tool.line->commands(3),
                 (QList<QByteArray>{Bytes("31 45 00"), Bytes("31 57 00"), Bytes("31 57 01")}));
    }

    void dsrOffRefusesLoad()
    {
        Tool tool(true, false);
        QCOMPARE(tool.dialogs.texts(), QStringList{QStringLiteral("Camera Connection changed (DR OFF)")});
        QCOMPARE(tool.dialogs.messages[0].caption, QStringLiteral("H7Q8"));
        QVERIFY(tool.line->writes.isEmpty());
        // At start the Easy page stays disabled... only because nothing enabled it.
        QCOMPARE(tool.seq().TransferStep, 0);
    }

    void openFailureSkipsTheLoad()
    {
        Tool tool(false);
        QCOMPARE(tool.dialogs.texts(), QStringList{QStringLiteral("オープンエラー ErrorCode = -1")});
        QVERIFY(tool.line->writes.isEmpty());
        // The window still has the Easy and Easy2 tabs.
        auto *tabs = tool.ctl<QTabWidget>("PageControl1");
        QVERIFY(tabs->isTabVisible(PageEasy));
        QVERIFY(tabs->isTabVisible(PageEasy2));
        QCOMPARE(tabs->currentIndex(), int(PageEasy));
    }

    void reloadReopensLostLine()
    {
        Tool tool;
        tool.finishLoad();
        tool.line->unplug();
        QCOMPARE(tool.dialogs.messages.size(), 1);
        tool.line->clearWrites();
        tool.window->ReLoadClick();
        QCOMPARE(tool.line->openCount, 2);
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("31 60 00")});
    }
};

QTEST_MAIN(TestPageLoads)
#include "tst_pageloads.moc"
