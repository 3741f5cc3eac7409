// The queue of page loads asked for while another load runs.

#include "support/fixture.h"

#include <QLabel>
#include <QTabWidget>

using namespace h7q8;
using namespace h7q8::test;

namespace {
QString order(Tool &tool)
{
    return tool.ctl<QLabel>("Order")->text();
}

// Starts a load from the queue: a page change queued behind the start-up
// load, released when that load ends. Leaves `page`'s load running.
void queuedLoadRunning(Tool &tool, int page)
{
    tool.showPage(page);
    QCOMPARE(order(tool), QStringLiteral("1"));
    tool.finishLoad(13 - 1 + 1); // the Easy load ends; the queued one starts
}
} // namespace

class TestLoadQueue : public QObject
{
    Q_OBJECT
private slots:
    void changeWithNothingRunningLoadsAtOnce()
    {
        Tool tool;
        tool.finishLoad();
        tool.line->clearWrites();
        tool.showPage(PageEasy2);
        QCOMPARE(order(tool), QStringLiteral("0"));
        QCOMPARE(tool.seq().queueCount(), 0);
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("31 52 00")});
        QVERIFY(!tool.ctl<QWidget>("PageControl1")->isEnabled());
    }

    void changeDuringLoadWaitsItsTurn()
    {
        Tool tool;
        QVERIFY(!tool.ctl<QLabel>("Order")->isVisible());
        tool.showPage(PageEasy2);
        QCOMPARE(order(tool), QStringLiteral("1"));
        tool.line->clearWrites();
        // The running Easy load goes on to its end first.
        for (int i = 0; i < 12; ++i)
            tool.answer();
        QCOMPARE(tool.line->commands(4).last(), Bytes("31 0C 01 51"));
        tool.answer(); // the Easy load ends; the Easy2 request is served
        QCOMPARE(order(tool), QStringLiteral("0"));
        QCOMPARE(tool.seq().CurrentLoadPage, std::uint8_t(PageEasy2));
        QCOMPARE(tool.line->commands(3).last(), Bytes("31 52 00"));
        // A load from the queue leaves the tabs enabled but the page panels not.
        QVERIFY(tool.ctl<QWidget>("PageControl1")->isEnabled());
        QVERIFY(!tool.ctl<QWidget>("Panel4")->isEnabled());
    }

    void requestsServedInOrder()
    {
        Tool tool;
        queuedLoadRunning(tool, PageEasy2); // Easy2 load from the queue, tabs enabled
        tool.showPage(PageEasy);
        tool.showPage(PageAF);
        QCOMPARE(order(tool), QStringLiteral("2"));
        QCOMPARE(tool.seq().queueCount(), 2);
        tool.line->clearWrites();
        tool.finishLoad(8); // the Easy2 load ends, Easy (the first request) starts
        QCOMPARE(order(tool), QStringLiteral("1"));
        QCOMPARE(tool.seq().CurrentLoadPage, std::uint8_t(PageEasy));
        QCOMPARE(tool.line->commands(3).last(), Bytes("31 60 00"));
        tool.finishLoad(13);
        QCOMPARE(order(tool), QStringLiteral("0"));
        QCOMPARE(tool.seq().CurrentLoadPage, std::uint8_t(PageAF));
        QCOMPARE(tool.line->commands(3).last(), Bytes("31 0A 01"));
        tool.finishLoad();
        QCOMPARE(tool.seq().TransferStep, 0);
        QCOMPARE(tool.seq().queueCount(), 0);
    }

    void cancelReleasesNextRequest()
    {
        Tool tool;
        tool.showPage(PageEasy2);
        tool.line->clearWrites();
        tool.window->CancelPushClick();
        QCOMPARE(order(tool), QStringLiteral("0"));
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("31 52 00")});
        QCOMPARE(tool.seq().TransferStep, 1);
    }

    void dsrOffWhenServed()
    {
        Tool tool;
        queuedLoadRunning(tool, PageEasy2);
        tool.showPage(PageEasy);
        tool.showPage(PageAF);
        tool.line->dsrOn = false;
        tool.finishLoad(7);
        tool.line->clearWrites();
        tool.dialogs.clear();
        tool.answer(); // the Easy2 load's last reply
        // The oldest request met DSR off: no load, the others still wait.
        QCOMPARE(tool.dialogs.texts(), QStringList{QStringLiteral("Camera Connection changed (DR OFF)")});
        QCOMPARE(tool.dialogs.messages[0].caption, QStringLiteral("H7Q2TW"));
        QVERIFY(tool.line->writes.isEmpty());
        QCOMPARE(order(tool), QStringLiteral("1"));
        QCOMPARE(tool.seq().TransferStep, 0);
        // A page change now is queued behind them although no load runs.
        tool.showPage(PageEasy2);
        QCOMPARE(order(tool), QStringLiteral("2"));
        QVERIFY(tool.line->writes.isEmpty());
        // Cancel releases the oldest.
        tool.line->dsrOn = true;
        tool.window->CancelPushClick();
        QCOMPARE(order(tool), QStringLiteral("1"));
        QCOMPARE(tool.seq().CurrentLoadPage, std::uint8_t(PageAF));
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("31 0A 01")});
    }

    void exitDropsWaitingLoadsBeforeClosingTheLine()
    {
        Tool tool;
        queuedLoadRunning(tool, PageEasy2);
        tool.showPage(PageEasy);
        tool.showPage(PageEasy2);
        QCOMPARE(tool.seq().queueCount(), 2);
        tool.window->ExitClick();
        QCOMPARE(tool.seq().queueCount(), 0);
        QCOMPARE(order(tool), QStringLiteral("0"));
        QVERIFY(!tool.line->isOpen());
        // Nothing more goes out: the line is closed.
        tool.line->clearWrites();
        tool.answer();
        QVERIFY(tool.line->writes.isEmpty());
    }
};

QTEST_MAIN(TestLoadQueue)
#include "tst_loadqueue.moc"
