// The Easy page as a user drives it: the command of every control, the
// track-bar throttle, the interlocked pairs, the preset rule, one-push white
// balance, full-length edits, spin-button bounds, the mark buttons, wait mode
// and the page decoder's follow-up reads and error box.

#include "pages/easypage.h"
#include "support/fixture.h"
#include "ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTest>

#include <map>

using namespace h7q8;
using namespace h7q8::test;

namespace {

// Command bytes 1..14 of one frame from hex text; the rest of the frame is zero.
QByteArray frame(const char *hex)
{
    QByteArray b = Bytes(hex);
    b.resize(14, '\0');
    return b;
}

QList<QByteArray> frames(std::initializer_list<const char *> hex)
{
    QList<QByteArray> out;
    for (const char *h : hex)
        out << frame(h);
    return out;
}

QList<QByteArray> frameList(const QStringList &hex)
{
    QList<QByteArray> out;
    for (const QString &h : hex)
        out << frame(h.toLatin1().constData());
    return out;
}

// Feeds a good reply with reply bytes 1.. as given.
void feedReply(Tool &tool, const QByteArray &replyBytes)
{
    tool.line->feed(BuildReplyFrame(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t *>(replyBytes.constData()), std::size_t(replyBytes.size()))));
}

// Answers the last command: accepted, code and first argument echoed, then `data`
// from reply byte 4.
void answer(Tool &tool, const char *data = "")
{
    const FrameStore &s = tool.link().store();
    QByteArray r;
    r.append(char(0xA0));
    r.append(char(s.cmd(2)));
    r.append(char(s.cmd(3)));
    r.append(Bytes(data));
    feedReply(tool, r);
}

using Blocks = std::map<int, const char *>;

// A camera in a usual state: lens group on (Initial ON, Freeze OFF), BLC ON,
// PEAK OFF, ALC AUTO, AES FIX, preset ON, mark ON at (0, 0x10), phase ON, every
// bar at 3, zoom at 0x1000 with focus range 0..0x100, ATW mode.
Blocks usualBlocks()
{
    return {
        {4, "00 00 00 00 00 00 00 03 03 03 03"},
        {5, "01 01 00 FF 00 00 00 03 03 03 00"},
        {6, "00 03 00 03 03 01 03 02 03 03 05"},
        {7, "10 00 10 00 01 00 00 00 00 00 00"},
        {8, "00 02 02 03 01 00 00 00 00 00 00"},
        {9, "01 00 00 00 10 00 00 00 00 00 00"},
        {10, "00 00 00 00 00 80 00 80 00 00 00"},
        {11, "00 00 00 00 00 00 01 00 01 00 00"},
    };
}

// Answers every step of the running load, status blocks from `blocks`.
void answerLoad(Tool &tool, const Blocks &blocks)
{
    for (int guard = 0; tool.seq().TransferStep != 0 && guard < 64; ++guard) {
        const FrameStore &s = tool.link().store();
        const auto it = blocks.find(s.cmd(3));
        answer(tool, s.cmd(2) == 0x60 && it != blocks.end() ? it->second : "");
    }
}

// The window shown, loaded with `blocks`, and the line's record cleared.
void start(Tool &tool, const Blocks &blocks = usualBlocks())
{
    tool.window->show();
    answerLoad(tool, blocks);
    QCOMPARE(tool.seq().TransferStep, 0);
    tool.line->clearWrites();
    tool.dialogs.clear();
}

BarTimer *timer(Tool &tool, const char *name)
{
    return tool.window->findChild<BarTimer *>(QString::fromLatin1(name));
}

QList<BarTimer *> allTimers(Tool &tool)
{
    return tool.window->findChild<EasyPage *>()->findChildren<BarTimer *>();
}

void click(QAbstractButton *b)
{
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

void clickItem(Tool &tool, const char *group, int item)
{
    auto *g = tool.ctl<RadioGroup>(group);
    QVERIFY2(g, group);
    click(g->button(item));
}

bool own(Tool &tool, const char *name)
{
    return ownEnabled(tool.ctl<QWidget>(name));
}

const char *const ZOOM_SET[] = {"ZoomStep",     "ZoomSpinButton", "ZoomStepBar",   "GetZoomCurrent",
                                "FocusStep",    "FocusSpinButton", "FocusStepBar", "ZoomSpeedBar",
                                "FocusSpeedBar", "DigitalZoom",    "PushSW",       "AlarmNo",
                                "AlarmSpinButton", "CurrentCheck", "AutoFocus",    "OnePushAF"};

} // namespace

class TestEasyPage : public QObject
{
    Q_OBJECT
private slots:
    void everyControlExists()
    {
        Tool tool;
        const char *names[] = {
            "HRev", "VRev", "RevSet", "PosiNega", "Freeze", "Initial", "Select", "Priority", "wb_select",
            "AWB", "ATWBar", "AWBBar", "WB", "Rgain", "BGain", "Color", "Sync", "PhaseLevel", "PhaseBar",
            "BLC", "BLCSensBar", "PEAK", "PeakOnBar", "ALC", "ALCAutoBar", "ALCFixBar", "AES",
            "AESAutoBar", "AESFixBox", "AGCBar", "SENSBar", "HGainBar", "VGainBar", "Gamma", "Mark",
            "Mark_up", "Mark_down", "Mark_left", "Mark_right", "PoOSD", "PoOSDUD", "langu_sel", "Preset",
            "PresetSet", "AlarmNo", "AlarmSpinButton", "PushSW", "ZoomStep", "ZoomSpinButton",
            "ZoomStepBar", "CurrentZoom", "FocusStep", "FocusSpinButton", "FocusStepBar", "FocusStepMin",
            "FocusStepMax", "CurrentFocus", "AutoFocus", "CurrentCheck", "OnePushAF", "GetZoomCurrent",
            "ZoomSpeedBar", "FocusSpeedBar", "DigitalZoom", "AFSleep", "ZoomMag", "ZOOMTR", "PositionNo",
            "PositionSpinButton", "PosLoad", "PosSave", "TitleBox", "CName", "Ctitlepos", "SetTitle"};
        auto *panel = tool.ctl<QWidget>("Panel4");
        for (const char *name : names) {
            auto *w = tool.ctl<QWidget>(name);
            QVERIFY2(w, name);
            QVERIFY2(panel->isAncestorOf(w), name);
        }
        for (int n = 1; n <= 48; ++n)
            QVERIFY(tool.window->findChild<QCheckBox *>(QStringLiteral("BLCCheck%1").arg(n, 2, 10, QLatin1Char('0'))));
        QCOMPARE(tool.ctl<RadioGroup>("DigitalZoom")->items(),
                 (QStringList{"OFF", "x2", "x4", "x6", "x8", "x10"}));
        QCOMPARE(tool.ctl<RadioGroup>("langu_sel")->items(), (QStringList{"English", "Chinese", "Japanese"}));
        QCOMPARE(tool.ctl<QComboBox>("AESFixBox")->count(), 8);
        QCOMPARE(tool.ctl<QLineEdit>("ZoomStep")->maxLength(), 4);
        QCOMPARE(tool.ctl<QLineEdit>("AlarmNo")->maxLength(), 2);
        QCOMPARE(tool.ctl<QLineEdit>("CName")->maxLength(), 20);
        QCOMPARE(tool.ctl<TrackBar>("HGainBar")->maximum(), 12);
        QCOMPARE(tool.ctl<TrackBar>("BLCSensBar")->maximum(), 7);
        QCOMPARE(tool.ctl<TrackBar>("FocusSpeedBar")->maximum(), 4);
        QVERIFY(tool.ctl<QWidget>("PoOSDUD")->isHidden());

        // Every visible control lies inside the page, and inside its parent.
        tool.window->show();
        for (QWidget *w : panel->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(panel) || !w->parentWidget())
                continue;
            const QRect inParent(QPoint(0, 0), w->parentWidget()->size());
            QVERIFY2(inParent.contains(w->geometry()), qPrintable(w->objectName()));
        }
    }

    // Radio groups, check boxes and buttons: one click, one exact command.
    void simpleControls_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("item"); // -1: click the check box or button
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("disablesItself");
        QTest::newRow("HRev") << "HRev" << -1 << frame("21 1D 05 01") << false;
        QTest::newRow("VRev") << "VRev" << -1 << frame("21 1D 04 01") << false;
        QTest::newRow("RevSet") << "RevSet" << -1 << frame("21 1D 06") << false;
        QTest::newRow("PosiNega") << "PosiNega" << 1 << frame("21 1D 07 01") << false;
        QTest::newRow("Freeze") << "Freeze" << 1 << frame("21 1A 03 01") << false;
        QTest::newRow("Initial") << "Initial" << 0 << frame("21 49 00") << true;
        QTest::newRow("Select") << "Select" << 1 << frame("21 1A 04 01") << false;
        QTest::newRow("Priority") << "Priority" << 1 << frame("21 1A 05 01") << false;
        QTest::newRow("wb_select") << "wb_select" << 1 << frame("21 1B 00 01") << false;
        QTest::newRow("Color") << "Color" << 2 << frame("21 1B 07 02") << false;
        QTest::newRow("Sync") << "Sync" << 0 << frame("21 1C 00 00") << true;
        QTest::newRow("Gamma") << "Gamma" << 1 << frame("21 59 00 01") << false;
        QTest::newRow("Mark") << "Mark" << 0 << frame("21 56 00 00") << false;
        QTest::newRow("PoOSD") << "PoOSD" << 1 << frame("21 52 03 01") << false;
        QTest::newRow("langu_sel") << "langu_sel" << 2 << frame("21 5B 00 02") << false;
        QTest::newRow("Preset") << "Preset" << 0 << frame("21 20 02 00") << false;
        QTest::newRow("AutoFocus") << "AutoFocus" << -1 << frame("21 45 02 01") << false;
        QTest::newRow("OnePushAF") << "OnePushAF" << -1 << frame("21 45 03") << false;
        QTest::newRow("GetZoomCurrent") << "GetZoomCurrent" << -1 << frame("31 45 00") << true;
        QTest::newRow("DigitalZoom") << "DigitalZoom" << 3 << frame("21 45 06 03") << true;
        QTest::newRow("AFSleep") << "AFSleep" << 1 << frame("21 45 08 01") << false;
        QTest::newRow("ZoomMag") << "ZoomMag" << 1 << frame("21 45 09 01") << false;
        QTest::newRow("ZOOMTR") << "ZOOMTR" << 1 << frame("21 5A 00 01") << false;
        QTest::newRow("PushSW") << "PushSW" << 1 << frame("21 52 02 01") << false;
        QTest::newRow("PosLoad") << "PosLoad" << -1 << frame("31 52 01 03") << false;
        QTest::newRow("PosSave") << "PosSave" << -1 << frame("21 52 01 03") << false;
        QTest::newRow("AESFixBox") << "AESFixBox" << 5 << frame("21 48 02 01 01 05") << false;
        QTest::newRow("PoOSDUD (hidden, set by code)") << "PoOSDUD" << 1 << frame("21 52 04 01") << false;
    }
    void simpleControls()
    {
        QFETCH(QString, control);
        QFETCH(int, item);
        QFETCH(QByteArray, expected);
        QFETCH(bool, disablesItself);
        Tool tool;
        start(tool);
        QObject *o = tool.window->findChild<QObject *>(control);
        QVERIFY(o);
        auto *w = qobject_cast<QWidget *>(o);
        QVERIFY2(w->isEnabled(), "the control can be used after the load");
        if (auto *g = qobject_cast<RadioGroup *>(o)) {
            if (g->isVisible())
                click(g->button(item));
            else
                g->setItemIndex(item);
        } else if (auto *box = qobject_cast<QComboBox *>(o)) {
            box->setCurrentIndex(item); // as a pick from the list does
        } else {
            click(qobject_cast<QAbstractButton *>(o));
        }
        QCOMPARE(tool.line->commands(), QList<QByteArray>{expected});
        QCOMPARE(ownEnabled(w), !disablesItself);
    }

    // While a load runs, Trans_chk refuses: the user's change stays on screen, nothing is sent.
    void refusedClickKeepsChange()
    {
        Tool tool;
        start(tool);
        tool.window->ReLoadClick();
        tool.line->clearWrites();
        // The panel is disabled by the load; a change from code runs the same handler.
        tool.ctl<RadioGroup>("Gamma")->setItemIndex(1);
        tool.ctl<QCheckBox>("HRev")->setChecked(true);
        tool.ctl<RadioGroup>("Sync")->setItemIndex(0);
        QVERIFY(tool.line->commands().isEmpty());
        QCOMPARE(tool.ctl<RadioGroup>("Gamma")->itemIndex(), 1);
        QVERIFY(own(tool, "Sync"));
    }

    // Each bar's timer sends the bar's command with its position.
    void barCommands_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("timerName");
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Rgain") << "Rgain" << "RTimer" << 7 << frame("21 1B 02 07");
        QTest::newRow("BGain") << "BGain" << "BTimer" << 0 << frame("21 1B 03 00");
        QTest::newRow("ATWBar") << "ATWBar" << "ATWBarTimer" << 8 << frame("21 1B 05 08");
        QTest::newRow("AGCBar") << "AGCBar" << "AGCTimer" << 5 << frame("21 1A 01 05");
        QTest::newRow("SENSBar") << "SENSBar" << "SENSTimer" << 6 << frame("21 1A 02 06");
        QTest::newRow("HGainBar") << "HGainBar" << "HGainTimer" << 12 << frame("21 47 00 0C");
        QTest::newRow("VGainBar") << "VGainBar" << "VGainTimer" << 11 << frame("21 47 01 0B");
        QTest::newRow("PeakOnBar") << "PeakOnBar" << "PeakOnTimer" << 4 << frame("21 48 00 01 04");
        QTest::newRow("ALCAutoBar") << "ALCAutoBar" << "ALCAutoTimer" << 2 << frame("21 48 01 01 00 02");
        QTest::newRow("ALCFixBar") << "ALCFixBar" << "ALCFixTimer" << 1 << frame("21 48 01 01 01 01");
        QTest::newRow("AESAutoBar") << "AESAutoBar" << "AESAutoTimer" << 8 << frame("21 48 02 01 00 08");
        QTest::newRow("BLCSensBar") << "BLCSensBar" << "BLCSensTimer" << 7 << frame("21 50 07");
        QTest::newRow("ZoomSpeedBar") << "ZoomSpeedBar" << "ZoomSpeedTimer" << 4 << frame("21 45 05 04");
        QTest::newRow("FocusSpeedBar") << "FocusSpeedBar" << "FocusSpeedTimer" << 0 << frame("21 45 07 00");
        QTest::newRow("PhaseBar") << "PhaseBar" << "PhaseTimer" << 0x20 << frame("21 1C 01 00 20");
        QTest::newRow("PhaseBar negative") << "PhaseBar" << "PhaseTimer" << -2 << frame("21 1C 01 FF FE");
        QTest::newRow("ZoomStepBar") << "ZoomStepBar" << "ZoomStepTimer" << 0x1234 << frame("21 45 00 12 34");
        QTest::newRow("FocusStepBar") << "FocusStepBar" << "FocusStepTimer" << 0x40 << frame("21 45 01 00 40");
    }
    void barCommands()
    {
        QFETCH(QString, bar);
        QFETCH(QString, timerName);
        QFETCH(int, position);
        QFETCH(QByteArray, expected);
        Tool tool;
        start(tool);
        auto *b = tool.window->findChild<TrackBar *>(bar);
        auto *t = tool.window->findChild<BarTimer *>(timerName);
        QVERIFY(b && t);
        QVERIFY(!t->isArmed());
        b->setValue(position);
        QCOMPARE(b->value(), position);
        QVERIFY(t->isArmed());
        QVERIFY(tool.line->commands().isEmpty());
        t->fire();
        QVERIFY(!t->isArmed());
        QCOMPARE(tool.line->commands(), QList<QByteArray>{expected});
    }

    // The bars that write an edit show the position there as four hex digits.
    void barsWriteTheirEdits()
    {
        Tool tool;
        start(tool);
        tool.ctl<TrackBar>("PhaseBar")->setValue(-256);
        timer(tool, "PhaseTimer")->fire();
        QCOMPARE(tool.ctl<QLineEdit>("PhaseLevel")->text(), QStringLiteral("FF00"));
        tool.ctl<TrackBar>("ZoomStepBar")->setValue(0x18C8);
        timer(tool, "ZoomStepTimer")->fire();
        QCOMPARE(tool.ctl<QLineEdit>("ZoomStep")->text(), QStringLiteral("18C8"));
        QCOMPARE(tool.line->commands(), frames({"21 1C 01 FF 00", "21 45 00 18 C8"}));
    }

    // FocusStepBar arms only while it is enabled in its own right.
    void focusStepBarArmsOnlyWhenEnabled()
    {
        Tool tool;
        start(tool);
        auto *bar = tool.ctl<TrackBar>("FocusStepBar");
        bar->setEnabled(false);
        bar->setValue(0x30);
        QVERIFY(!timer(tool, "FocusStepTimer")->isArmed());
        timer(tool, "FocusStepTimer")->fire();
        QVERIFY(tool.line->commands().isEmpty());
        // The page panel being disabled is not the bar being disabled.
        bar->setEnabled(true);
        tool.ctl<QWidget>("Panel4")->setEnabled(false);
        bar->setValue(0x31);
        QVERIFY(timer(tool, "FocusStepTimer")->isArmed());
    }

    // A load that moves every bar and every area box sends nothing, then or later.
    void loadMovingEveryBarSendsNothing()
    {
        Tool tool;
        tool.window->show();
        answerLoad(tool, {
                             {4, "FF 01 02 03 04 80 00 05 06 07 08"},
                             {5, "01 01 00 FF 00 00 40 06 07 08 00"},
                             {6, "01 07 00 06 05 00 04 02 0B 0A 05"},
                             {7, "12 34 12 00 02 00 00 10 00 00 00"},
                             {8, "00 04 03 03 01 00 00 00 00 00 00"},
                             {10, "00 00 00 00 00 90 00 80 00 00 00"},
                             {11, "00 00 00 00 00 00 01 00 01 00 00"},
                         });
        QCOMPARE(tool.seq().TransferStep, 0);
        // The bars did move ...
        const std::pair<const char *, int> moved[] = {
            {"ATWBar", 5}, {"AWBBar", 6}, {"Rgain", 7}, {"BGain", 8}, {"BLCSensBar", 6}, {"AGCBar", 7},
            {"SENSBar", 8}, {"PeakOnBar", 7}, {"ALCAutoBar", 6}, {"ALCFixBar", 5}, {"AESAutoBar", 4},
            {"HGainBar", 11}, {"VGainBar", 10}, {"ZoomSpeedBar", 4}, {"FocusSpeedBar", 3},
            {"PhaseBar", 0x40}, {"ZoomStepBar", 0x1234}, {"FocusStepBar", 0x90}};
        for (const auto &[name, value] : moved)
            QVERIFY2(tool.window->findChild<TrackBar *>(QString::fromLatin1(name))->value() == value, name);
        QVERIFY(tool.ctl<QCheckBox>("BLCCheck01")->isChecked());
        // ... and no timer was armed, so none sends even when fired.
        tool.line->clearWrites();
        const auto timers = allTimers(tool);
        QCOMPARE(timers.size(), 19);
        for (BarTimer *t : timers) {
            QVERIFY2(!t->isArmed(), qPrintable(t->objectName()));
            t->fire();
        }
        QVERIFY(tool.line->commands().isEmpty());
    }

    // A drag: the timer counts from the first move and sends the latest position once.
    void dragIsThrottled()
    {
        Tool tool;
        start(tool);
        auto *bar = tool.ctl<TrackBar>("AGCBar");
        BarTimer *t = timer(tool, "AGCTimer");
        QCOMPARE(t->timer().interval(), 300);
        bar->setValue(4);
        QVERIFY(t->isArmed());
        QTest::qWait(40);
        bar->setValue(5);
        bar->setValue(8);
        // Not restarted by the later moves: a restart would leave at least 285 ms
        // (a coarse timer may be set 5 % short or long).
        QVERIFY(t->timer().remainingTime() <= 280);
        QVERIFY(tool.line->commands().isEmpty());
        t->fire();
        QCOMPARE(tool.line->commands(), frames({"21 1A 01 08"}));
        QVERIFY(!t->isArmed());
        t->fire(); // nothing moved since
        QCOMPARE(tool.line->commands().size(), 1);
    }

    // The real timer sends the final position no later than one interval after the last move.
    void dragSendsWithinOneInterval()
    {
        Tool tool;
        start(tool);
        tool.ctl<TrackBar>("SENSBar")->setValue(6);
        QTRY_COMPARE_WITH_TIMEOUT(tool.line->commands(), frames({"21 1A 02 06"}), 1000);
        QVERIFY(!timer(tool, "SENSTimer")->isArmed());
    }

    // Trans_chk refusing keeps the bar's timer armed; the next expiry sends the position then.
    void refusedBarStaysArmed()
    {
        Tool tool;
        start(tool);
        auto *bar = tool.ctl<TrackBar>("HGainBar");
        BarTimer *t = timer(tool, "HGainTimer");
        bar->setValue(9);
        tool.seq().SendSuppressed = true;
        t->fire();
        QVERIFY(t->isArmed());
        QVERIFY(tool.line->commands().isEmpty());
        bar->setValue(10); // still armed, moved meanwhile
        tool.seq().SendSuppressed = false;
        t->fire();
        QVERIFY(!t->isArmed());
        QCOMPARE(tool.line->commands(), frames({"21 47 00 0A"}));

        // A page load refuses likewise.
        bar->setValue(2);
        tool.window->ReLoadClick();
        tool.line->clearWrites();
        t->fire();
        QVERIFY(t->isArmed());
        QVERIFY(tool.line->commands().isEmpty());
    }

    // The white-balance bars send without asking Trans_chk; a busy link drops the value.
    void whiteBalanceBarsDoNotAsk()
    {
        Tool tool;
        start(tool);
        tool.ctl<TrackBar>("ATWBar")->setValue(6);
        tool.ctl<TrackBar>("Rgain")->setValue(6);
        tool.seq().SendSuppressed = true;
        timer(tool, "ATWBarTimer")->fire();
        timer(tool, "RTimer")->fire();
        QCOMPARE(tool.line->commands(), frames({"21 1B 05 06"}));
        QVERIFY(!timer(tool, "ATWBarTimer")->isArmed());
        QVERIFY(timer(tool, "RTimer")->isArmed());
        tool.seq().SendSuppressed = false;

        tool.line->clearWrites();
        tool.ctl<TrackBar>("AWBBar")->setEnabled(true);
        tool.ctl<TrackBar>("AWBBar")->setValue(7);
        tool.link().setBusy(true); // a block frame outstanding
        timer(tool, "AWBBarTimer")->fire();
        QVERIFY(!timer(tool, "AWBBarTimer")->isArmed());
        tool.link().setBusy(false);
        timer(tool, "AWBBarTimer")->fire();
        QVERIFY(tool.line->commands().isEmpty());
    }

    // The BLC area boxes share one timer, which sends all 48 boxes as six bytes.
    void blcAreaSendsAllBoxes()
    {
        Tool tool;
        start(tool);
        BarTimer *t = timer(tool, "BLCAreaTimer");
        click(tool.ctl<QCheckBox>("BLCCheck01"));
        click(tool.ctl<QCheckBox>("BLCCheck48"));
        QVERIFY(t->isArmed());
        QVERIFY(tool.line->commands().isEmpty());
        t->fire();
        QCOMPARE(tool.line->commands(), frames({"21 19 01 00 00 00 00 80"}));
        QVERIFY(!t->isArmed());
    }

    // BLC/PEAK and ALC/AES: click, echo, read-back of the partner, partner report.
    void interlockedRoundTrip_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("partner");
        QTest::addColumn<int>("item");
        QTest::addColumn<QByteArray>("write");
        QTest::addColumn<QByteArray>("readBack");
        QTest::addColumn<QString>("reportData"); // reply bytes 4.. of the read-back's answer
        QTest::addColumn<int>("partnerShows");
        // The usual load: BLC ON, PEAK OFF, ALC AUTO, AES FIX.
        QTest::newRow("BLC, PEAK unchanged") << "BLC" << "PEAK" << 0 << frame("21 18 00 00")
                                             << frame("31 48 00 00") << "00 00" << 0;
        QTest::newRow("BLC, PEAK changed") << "BLC" << "PEAK" << 0 << frame("21 18 00 00")
                                           << frame("31 48 00 00") << "00 01" << 1;
        QTest::newRow("PEAK, BLC unchanged") << "PEAK" << "BLC" << 1 << frame("21 48 00 00 01")
                                             << frame("31 18 00") << "01" << 1;
        QTest::newRow("PEAK, BLC changed") << "PEAK" << "BLC" << 1 << frame("21 48 00 00 01")
                                           << frame("31 18 00") << "00" << 0;
        QTest::newRow("ALC, AES unchanged") << "ALC" << "AES" << 1 << frame("21 48 01 00 01")
                                            << frame("31 48 02 00") << "00 01" << 1;
        QTest::newRow("ALC, AES changed") << "ALC" << "AES" << 1 << frame("21 48 01 00 01")
                                          << frame("31 48 02 00") << "00 00" << 0;
        QTest::newRow("AES, ALC unchanged") << "AES" << "ALC" << 0 << frame("21 48 02 00 00")
                                            << frame("31 48 01 00") << "00 00" << 0;
        QTest::newRow("AES, ALC changed") << "AES" << "ALC" << 0 << frame("21 48 02 00 00")
                                          << frame("31 48 01 00") << "00 01" << 1;
    }
    void interlockedRoundTrip()
    {
        QFETCH(QString, group);
        QFETCH(QString, partner);
        QFETCH(int, item);
        QFETCH(QByteArray, write);
        QFETCH(QByteArray, readBack);
        QFETCH(QString, reportData);
        QFETCH(int, partnerShows);
        Tool tool;
        start(tool);
        auto *x = tool.window->findChild<RadioGroup *>(group);
        auto *p = tool.window->findChild<RadioGroup *>(partner);
        QVERIFY(ownEnabled(x) && ownEnabled(p));

        click(x->button(item));
        QCOMPARE(tool.line->commands(), QList<QByteArray>{write});
        QVERIFY(!ownEnabled(x));

        // The echo of the write asks for the partner.
        const QByteArray echoData = write.mid(3, 2).toHex(' ');
        answer(tool, echoData.constData());
        QCOMPARE(tool.line->commands(), (QList<QByteArray>{write, readBack}));
        QVERIFY(!ownEnabled(x));

        // The partner's report releases the group, whether the partner changes or not.
        answer(tool, reportData.toLatin1().constData());
        QVERIFY(ownEnabled(x));
        QVERIFY(ownEnabled(p));
        QCOMPARE(p->itemIndex(), partnerShows);
        QCOMPARE(x->itemIndex(), item);
        QCOMPARE(tool.line->commands(), (QList<QByteArray>{write, readBack}));
    }

    // Clicking PEAK while BLC waits for its read-back sends nothing and releases BLC.
    void partnerClickWhileWaiting()
    {
        Tool tool;
        start(tool);
        clickItem(tool, "BLC", 0);
        QVERIFY(!own(tool, "BLC"));
        tool.line->clearWrites();
        clickItem(tool, "PEAK", 1);
        QVERIFY(tool.line->commands().isEmpty());
        QVERIFY(own(tool, "BLC"));
        QVERIFY(own(tool, "PEAK"));
    }

    // PresetSet while Preset shows "ON": one command, Preset turns "OFF" unsent,
    // and the next user click sends again.
    void presetSetWhilePresetOn()
    {
        Tool tool;
        start(tool); // the usual load shows Preset "ON", PresetSet enabled
        EasyPage &page = tool.window->easyPage();
        QCOMPARE(tool.ctl<RadioGroup>("Preset")->itemIndex(), 1);
        QVERIFY(own(tool, "PresetSet"));
        click(tool.ctl<QPushButton>("PresetSet"));
        QCOMPARE(tool.line->commands(), frames({"21 20 00"}));
        QCOMPARE(tool.ctl<RadioGroup>("Preset")->itemIndex(), 0);
        QVERIFY(!own(tool, "PresetSet"));
        QCOMPARE(page.PresetSendFlag, std::uint8_t(1));
        clickItem(tool, "Preset", 1);
        QCOMPARE(tool.line->commands(), frames({"21 20 00", "21 20 02 01"}));
    }

    // PresetSet while Preset already shows "OFF": the next click sends nothing, the one after sends.
    void presetSetWhilePresetOff()
    {
        Tool tool;
        start(tool);
        EasyPage &page = tool.window->easyPage();
        clickItem(tool, "Preset", 0); // PresetSet stays enabled until the echo
        click(tool.ctl<QPushButton>("PresetSet"));
        QCOMPARE(tool.line->commands(), frames({"21 20 02 00", "21 20 00"}));
        QCOMPARE(page.PresetSendFlag, std::uint8_t(0));
        clickItem(tool, "Preset", 1);
        QCOMPARE(tool.line->commands().size(), 2);
        QCOMPARE(page.PresetSendFlag, std::uint8_t(1));
        clickItem(tool, "Preset", 0);
        QCOMPARE(tool.line->commands(), frames({"21 20 02 00", "21 20 00", "21 20 02 00"}));
    }

    // A refused Preset click keeps the flag as it was.
    void refusedPresetKeepsFlag()
    {
        Tool tool;
        start(tool);
        EasyPage &page = tool.window->easyPage();
        page.PresetSendFlag = 0;
        tool.seq().SendSuppressed = true;
        tool.ctl<RadioGroup>("Preset")->setItemIndex(0);
        QCOMPARE(page.PresetSendFlag, std::uint8_t(0));
        QVERIFY(tool.line->commands().isEmpty());
    }

    // The echo of a preset write enables PresetSet for "ON" and disables it for "OFF".
    void presetEchoSetsEnter()
    {
        Tool tool;
        start(tool);
        clickItem(tool, "Preset", 0);
        answer(tool, "00");
        QVERIFY(!own(tool, "PresetSet"));
        clickItem(tool, "Preset", 1);
        answer(tool, "01");
        QVERIFY(own(tool, "PresetSet"));
    }

    // One-push white balance: Enter, echo, questions until the camera reports the end.
    void onePushWhiteBalance()
    {
        Tool tool;
        Blocks blocks = usualBlocks();
        blocks[4] = "00 00 00 00 00 00 01 03 06 03 03"; // AWB mode, AWB bar at 6
        blocks[11] = "00 00 00 00 00 00 01 01 01 00 00"; // no one-push finish report
        start(tool, blocks);
        QVERIFY(own(tool, "AWB"));
        QCOMPARE(tool.ctl<RadioGroup>("wb_select")->itemIndex(), 1);

        click(tool.ctl<QPushButton>("AWB"));
        QVERIFY(!own(tool, "AWB"));
        QVERIFY(!own(tool, "wb_select"));
        QVERIFY(!own(tool, "AWBBar"));
        QCOMPARE(tool.line->commands(), frames({"21 1B 04"}));

        answer(tool); // the echo of the write
        answer(tool, "01"); // still running
        answer(tool, "02"); // still running
        QCOMPARE(tool.line->commands(), frames({"21 1B 04", "31 1B 04", "31 1B 04", "31 1B 04"}));
        QVERIFY(!own(tool, "AWB"));

        answer(tool, "00"); // done
        QCOMPARE(tool.line->commands().size(), 4);
        QVERIFY(own(tool, "AWB"));
        QVERIFY(own(tool, "wb_select"));
        QVERIFY(own(tool, "AWBBar"));
        QCOMPARE(tool.ctl<TrackBar>("AWBBar")->value(), 4);
        // The bar's change from the report runs its handler like any change (echo rule):
        // its timer sends the shown level once.
        QVERIFY(timer(tool, "AWBBarTimer")->isArmed());
        timer(tool, "AWBBarTimer")->fire();
        QCOMPARE(tool.line->commands().last(), frame("21 1B 06 04"));
    }

    // Full-length edits: partial typing sends nothing; the last digit sends the whole value.
    void fullLengthEdits_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("typed"); // each entry typed in turn
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("error");
        QTest::newRow("ZoomStep") << "ZoomStep" << QStringList{"1A2", "F"}
                                  << QStringList{"21 45 00 1A 2F"} << QString();
        QTest::newRow("ZoomStep lower case") << "ZoomStep" << QStringList{"1a2f"}
                                             << QStringList{"21 45 00 1A 2F"} << QString();
        QTest::newRow("ZoomStep not hex") << "ZoomStep" << QStringList{"12G4"}
                                          << QStringList{"21 45 00 FF FF"} << QString();
        QTest::newRow("FocusStep") << "FocusStep" << QStringList{"00", "7F"}
                                   << QStringList{"21 45 01 00 7F"} << QString();
        QTest::newRow("PhaseLevel") << "PhaseLevel" << QStringList{"FF0", "1"}
                                    << QStringList{"21 1C 01 FF 01"} << QString();
        QTest::newRow("AlarmNo") << "AlarmNo" << QStringList{"1", "7"} << QStringList{"21 51 11"}
                                 << QString();
        QTest::newRow("AlarmNo not a number") << "AlarmNo" << QStringList{"x1"} << QStringList{}
                                              << QStringLiteral("'x1' is not a valid integer value.");
    }
    void fullLengthEdits()
    {
        QFETCH(QString, edit);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        Tool tool;
        start(tool);
        auto *e = tool.window->findChild<QLineEdit *>(edit);
        QVERIFY(e && ownEnabled(e));
        e->clear();
        for (int i = 0; i < typed.size(); ++i) {
            QTest::keyClicks(e, typed[i]);
            if (i + 1 < typed.size())
                QVERIFY2(tool.line->commands().isEmpty(), "partial typing sends nothing");
        }
        QCOMPARE(tool.line->commands(), frameList(expected));
        if (error.isEmpty()) {
            QVERIFY(tool.dialogs.messages.isEmpty());
        } else {
            QCOMPARE(tool.dialogs.messages.size(), 1);
            QCOMPARE(tool.dialogs.messages[0].text, error);
        }
    }

    // The hex edits act only while enabled (FocusStep also needs its bar enabled).
    void disabledLensEditsSendNothing()
    {
        Tool tool;
        start(tool);
        tool.ctl<QLineEdit>("ZoomStep")->setEnabled(false);
        tool.ctl<QLineEdit>("ZoomStep")->setText(QStringLiteral("1400"));
        tool.ctl<TrackBar>("FocusStepBar")->setEnabled(false);
        tool.ctl<QLineEdit>("FocusStep")->setText(QStringLiteral("0040"));
        QVERIFY(tool.line->commands().isEmpty());
    }

    // Spin buttons step their edits within bounds; the alarm and lens edits then send.
    void spinButtons_data()
    {
        QTest::addColumn<QString>("spin");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("error");
        const QString none;
        QTest::newRow("alarm up at 64") << "AlarmSpinButton" << "AlarmNo" << "64" << true << "64" << QStringList{} << none;
        QTest::newRow("alarm down at 00") << "AlarmSpinButton" << "AlarmNo" << "00" << false << "00" << QStringList{} << none;
        QTest::newRow("alarm up at 07") << "AlarmSpinButton" << "AlarmNo" << "07" << true << "08"
                                        << QStringList{"21 51 08"} << none;
        QTest::newRow("alarm down at 10") << "AlarmSpinButton" << "AlarmNo" << "10" << false << "09"
                                          << QStringList{"21 51 09"} << none;
        QTest::newRow("alarm over a non-number") << "AlarmSpinButton" << "AlarmNo" << "a" << true << "a"
                                                 << QStringList{} << QStringLiteral("'a' is not a valid integer value.");
        QTest::newRow("position down at 01") << "PositionSpinButton" << "PositionNo" << "01" << false << "01" << QStringList{} << none;
        QTest::newRow("position up at 64") << "PositionSpinButton" << "PositionNo" << "64" << true << "64" << QStringList{} << none;
        QTest::newRow("position up at 09") << "PositionSpinButton" << "PositionNo" << "09" << true << "10" << QStringList{} << none;
        QTest::newRow("position down at 70") << "PositionSpinButton" << "PositionNo" << "70" << false << "69" << QStringList{} << none;
        QTest::newRow("position over a non-number") << "PositionSpinButton" << "PositionNo" << "" << true << ""
                                                    << QStringList{} << QStringLiteral("'' is not a valid integer value.");
        QTest::newRow("zoom up at the maximum") << "ZoomSpinButton" << "ZoomStep" << "18C8" << true << "18C8" << QStringList{} << none;
        QTest::newRow("zoom down at the minimum") << "ZoomSpinButton" << "ZoomStep" << "1000" << false << "1000" << QStringList{} << none;
        QTest::newRow("zoom up") << "ZoomSpinButton" << "ZoomStep" << "1234" << true << "1235"
                                 << QStringList{"21 45 00 12 35"} << none;
        QTest::newRow("zoom down") << "ZoomSpinButton" << "ZoomStep" << "12a0" << false << "129F"
                                   << QStringList{"21 45 00 12 9F"} << none;
        QTest::newRow("focus up at the maximum") << "FocusSpinButton" << "FocusStep" << "0100" << true << "0100" << QStringList{} << none;
        QTest::newRow("focus down at the minimum") << "FocusSpinButton" << "FocusStep" << "0000" << false << "0000" << QStringList{} << none;
        QTest::newRow("focus down") << "FocusSpinButton" << "FocusStep" << "0080" << false << "007F"
                                    << QStringList{"21 45 01 00 7F"} << none;
    }
    void spinButtons()
    {
        QFETCH(QString, spin);
        QFETCH(QString, edit);
        QFETCH(QString, before);
        QFETCH(bool, up);
        QFETCH(QString, after);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        Tool tool;
        start(tool);
        auto *s = tool.window->findChild<SpinButton *>(spin);
        auto *e = tool.window->findChild<QLineEdit *>(edit);
        QVERIFY(s && e && ownEnabled(s));
        e->setText(before);
        tool.line->clearWrites();
        tool.dialogs.clear();
        QTest::mouseClick(up ? s->upButton() : s->downButton(), Qt::LeftButton);
        QCOMPARE(e->text(), after);
        QCOMPARE(tool.line->commands(), frameList(expected));
        if (error.isEmpty()) {
            QVERIFY(tool.dialogs.messages.isEmpty());
        } else {
            QCOMPARE(tool.dialogs.messages.size(), 1);
            QCOMPARE(tool.dialogs.messages[0].text, error);
        }
    }

    // PosLoad and PosSave convert the position first: a bad number sends nothing.
    void positionNotANumber()
    {
        Tool tool;
        start(tool);
        tool.ctl<QLineEdit>("PositionNo")->setText(QStringLiteral("1x"));
        click(tool.ctl<QPushButton>("PosSave"));
        tool.ctl<QCheckBox>("CurrentCheck")->setChecked(true);
        click(tool.ctl<QPushButton>("PosLoad"));
        QVERIFY(tool.line->commands().isEmpty());
        QCOMPARE(tool.dialogs.messages.size(), 2);
        QCOMPARE(tool.dialogs.messages[0].text, QStringLiteral("'1x' is not a valid integer value."));
        QVERIFY(own(tool, "PosLoad"));
        QVERIFY(own(tool, "ZoomStep"));
        // One character: nothing at all.
        tool.ctl<QLineEdit>("PositionNo")->setText(QStringLiteral("5"));
        click(tool.ctl<QPushButton>("PosSave"));
        QVERIFY(tool.line->commands().isEmpty());
        QCOMPARE(tool.dialogs.messages.size(), 2);
    }

    // The mark buttons send MarkPosition plus or minus one, 16-bit wrapping, and change nothing.
    void markButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("expected");
        // The usual load reports the mark at x = 0, y = 0x10.
        QTest::newRow("left at x = 0 wraps") << "Mark_left" << frame("21 56 01 FF FF 00 10");
        QTest::newRow("right") << "Mark_right" << frame("21 56 01 00 01 00 10");
        QTest::newRow("up") << "Mark_up" << frame("21 56 01 00 00 00 0F");
        QTest::newRow("down") << "Mark_down" << frame("21 56 01 00 00 00 11");
    }
    void markButtons()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, expected);
        Tool tool;
        start(tool);
        auto *b = tool.window->findChild<QPushButton *>(button);
        click(b);
        click(b); // before the echo: the same position again
        QCOMPARE(tool.line->commands(), (QList<QByteArray>{expected, expected}));
        QCOMPARE(tool.window->shared().MarkX, std::uint16_t(0));
        QCOMPARE(tool.window->shared().MarkY, std::uint16_t(0x10));
    }

    // The mark follows the camera's echo.
    void markFollowsEcho()
    {
        Tool tool;
        start(tool);
        click(tool.ctl<QPushButton>("Mark_left"));
        answer(tool, "FF FF 00 10");
        QCOMPARE(tool.window->shared().MarkX, std::uint16_t(0xFFFF));
        click(tool.ctl<QPushButton>("Mark_left"));
        QCOMPARE(tool.line->commands().last(), frame("21 56 01 FF FE 00 10"));
        // Mark "OFF" echoed: the arrows are disabled.
        clickItem(tool, "Mark", 0);
        answer(tool, "00");
        QVERIFY(!own(tool, "Mark_left"));
        QVERIFY(!own(tool, "Mark_up"));
    }

    // Wait mode: a zoom move holds the zoom set and polls zoom, then focus, until arrival.
    void waitModeZoomMove()
    {
        Tool tool;
        start(tool);
        click(tool.ctl<QCheckBox>("CurrentCheck"));
        QVERIFY(tool.window->easyPage().WaitForArrival());
        QVERIFY(tool.line->commands().isEmpty());

        tool.ctl<TrackBar>("ZoomStepBar")->setValue(0x1200);
        timer(tool, "ZoomStepTimer")->fire();
        QCOMPARE(tool.line->commands(), frames({"21 45 00 12 00"}));
        for (const char *name : ZOOM_SET)
            QVERIFY2(!own(tool, name), name);

        answer(tool, "12 00 10 00 01 00 00 00"); // echo: on its way
        answer(tool, "12 00 11 00 01 00 00 00"); // still moving
        answer(tool, "12 00 12 00 01 00 00 00"); // zoom arrived: now the focus
        answer(tool, "00 80 00 70");             // focus moving
        QCOMPARE(tool.line->commands(), frames({"21 45 00 12 00", "31 45 00", "31 45 00", "31 45 01",
                                                "31 45 01"}));
        for (const char *name : ZOOM_SET)
            QVERIFY2(!own(tool, name), name);

        answer(tool, "00 80 00 80"); // focus arrived: the group is released
        QCOMPARE(tool.line->commands().size(), 5);
        for (const char *name : ZOOM_SET)
            QVERIFY2(own(tool, name), name);
        QCOMPARE(tool.ctl<QLineEdit>("ZoomStep")->text(), QStringLiteral("1200"));
        QCOMPARE(tool.ctl<QLineEdit>("CurrentZoom")->text(), QStringLiteral("1200"));
        // Nothing the arrival displayed goes back to the camera.
        for (BarTimer *t : allTimers(tool))
            t->fire();
        QCOMPARE(tool.line->commands().size(), 5);
    }

    // The three disable sets of wait mode.
    void waitModeDisableSets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("OnePushAF: focus set")
            << "OnePushAF"
            << QStringList{"FocusStep", "FocusSpinButton", "FocusStepBar", "ZoomSpeedBar", "FocusSpeedBar",
                           "DigitalZoom", "PushSW", "AlarmNo", "AlarmSpinButton", "CurrentCheck", "AutoFocus",
                           "OnePushAF"}
            << QStringList{"ZoomStep", "ZoomSpinButton", "ZoomStepBar", "GetZoomCurrent", "PosLoad"};
        QTest::newRow("GetZoomCurrent: read set")
            << "GetZoomCurrent"
            << QStringList{"ZoomStep", "ZoomSpinButton", "ZoomStepBar", "FocusStep", "FocusSpinButton",
                           "FocusStepBar", "ZoomSpeedBar", "FocusSpeedBar", "DigitalZoom", "PushSW", "AlarmNo",
                           "AlarmSpinButton", "CurrentCheck", "GetZoomCurrent"}
            << QStringList{"AutoFocus", "OnePushAF", "PosLoad"};
        QStringList zoomSetAndPosLoad{QStringLiteral("PosLoad")};
        for (const char *name : ZOOM_SET)
            zoomSetAndPosLoad << QString::fromLatin1(name);
        QTest::newRow("PosLoad: zoom set and PosLoad") << "PosLoad" << zoomSetAndPosLoad
                                                       << QStringList{"PosSave"};
    }
    void waitModeDisableSets()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, kept);
        Tool tool;
        start(tool);
        click(tool.ctl<QCheckBox>("CurrentCheck"));
        click(tool.window->findChild<QPushButton *>(button));
        QCOMPARE(tool.line->commands().size(), 1);
        for (const QString &name : disabled)
            QVERIFY2(!ownEnabled(tool.window->findChild<QWidget *>(name)), qPrintable(name));
        for (const QString &name : kept)
            QVERIFY2(ownEnabled(tool.window->findChild<QWidget *>(name)), qPrintable(name));
    }

    // Outside wait mode a move disables nothing but the control that says so.
    void noWaitModeKeepsLensGroup()
    {
        Tool tool;
        start(tool);
        tool.ctl<QLineEdit>("ZoomStep")->setText(QStringLiteral("1300"));
        click(tool.ctl<QPushButton>("OnePushAF"));
        QCOMPARE(tool.line->commands(), frames({"21 45 00 13 00", "21 45 03"}));
        for (const char *name : ZOOM_SET)
            QVERIFY2(own(tool, name), name);
        // The zoom echo updates the displays once: zoom status, then one focus status.
        tool.line->clearWrites();
        tool.ctl<QLineEdit>("ZoomStep")->setText(QStringLiteral("1400"));
        answer(tool, "14 00 13 80 01 00 00 00");
        QCOMPARE(tool.line->commands(), frames({"21 45 00 14 00", "31 45 01"}));
        QCOMPARE(tool.ctl<QLineEdit>("CurrentZoom")->text(), QStringLiteral("1380"));
    }

    // Digital zoom: disabled by its click, zoom range read again, released by the focus status.
    void digitalZoomChain()
    {
        Tool tool;
        start(tool);
        clickItem(tool, "DigitalZoom", 1);
        QVERIFY(!own(tool, "DigitalZoom"));
        answer(tool, "01"); // echo of the write: read the zoom status
        QCOMPARE(tool.line->commands(), frames({"21 45 06 01", "31 45 00"}));
        answer(tool, "10 00 10 00 01 00 00 00");
        QCOMPARE(tool.ctl<TrackBar>("ZoomStepBar")->maximum(), 0x18C8 + 2048);
        QCOMPARE(tool.line->commands().last(), frame("31 45 01"));
        QVERIFY(!own(tool, "DigitalZoom"));
        answer(tool, "00 80 00 80");
        QVERIFY(own(tool, "DigitalZoom"));
        QCOMPARE(tool.line->commands().size(), 3);
    }

    // Self-disabling groups come back through their reply chains.
    void replyChainsReleaseTheirGroups()
    {
        Tool tool;
        start(tool);
        clickItem(tool, "Sync", 0);
        QVERIFY(!own(tool, "Sync"));
        answer(tool, "00");
        QCOMPARE(tool.line->commands(), frames({"21 1C 00 00", "31 1C 00"}));
        answer(tool, "00 01 00 FF 00");
        QVERIFY(own(tool, "Sync"));
        QCOMPARE(tool.line->commands().size(), 2);

        tool.line->clearWrites();
        click(tool.ctl<QPushButton>("GetZoomCurrent"));
        answer(tool, "10 00 10 00 01 00 00 00");
        QVERIFY(!own(tool, "GetZoomCurrent"));
        answer(tool, "00 80 00 80");
        QVERIFY(own(tool, "GetZoomCurrent"));
        QCOMPARE(tool.line->commands(), frames({"31 45 00", "31 45 01"}));
        tool.line->clearWrites();
        clickItem(tool, "Initial", 0);
        QVERIFY(!own(tool, "Initial"));
        answer(tool);
        QVERIFY(own(tool, "Initial"));
        QCOMPARE(tool.line->commands(), frames({"21 49 00"}));
    }

    // The page decoder's enabling rows, after writes and reads alike.
    void decoderEnablingRows_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("Freeze ON echo disables Rev") << frame("21 1A 03 01") << "01"
                                                     << QStringList{"HRev:off", "VRev:off"};
        QTest::newRow("Freeze OFF echo enables Rev") << frame("21 1A 03 00") << "00"
                                                     << QStringList{"HRev:on", "VRev:on"};
        QTest::newRow("white balance ATW") << frame("21 1B 00 00") << "00"
                                           << QStringList{"AWB:off", "ATWBar:on", "AWBBar:off"};
        QTest::newRow("white balance AWB") << frame("21 1B 00 01") << "01"
                                           << QStringList{"AWB:on", "ATWBar:off", "AWBBar:on"};
        QTest::newRow("push switch Freeze") << frame("21 52 02 01") << "01"
                                            << QStringList{"AlarmNo:off", "AlarmSpinButton:off"};
        QTest::newRow("push switch Alarm") << frame("21 52 02 00") << "00"
                                           << QStringList{"AlarmNo:on", "AlarmSpinButton:on"};
        QTest::newRow("mark OFF") << frame("21 56 00 00") << "00"
                                  << QStringList{"Mark_up:off", "Mark_down:off", "Mark_left:off", "Mark_right:off"};
        QTest::newRow("PEAK ON enables its bar") << frame("31 48 00 00") << "00 01" << QStringList{"PeakOnBar:on"};
        QTest::newRow("ALC FIX") << frame("31 48 01 00") << "00 01"
                                 << QStringList{"ALCAutoBar:off", "ALCFixBar:on"};
        QTest::newRow("AES AUTO") << frame("31 48 02 00") << "00 00"
                                  << QStringList{"AESAutoBar:on", "AESFixBox:off"};
        QTest::newRow("BLC OFF") << frame("31 18 00") << "00"
                                 << QStringList{"BLCSensBar:off", "BLCCheck01:off", "BLCCheck48:off"};
        QTest::newRow("phase level") << frame("21 1C 01 FF F0") << "FF F0"
                                     << QStringList{"PhaseLevel=FFF0", "PhaseBar=-16"};
        QTest::newRow("preset OFF") << frame("31 20 00") << "00" << QStringList{"PresetSet:off"};
    }
    void decoderEnablingRows()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, data);
        QFETCH(QStringList, expect);
        Tool tool;
        start(tool);
        // As if the user's command had just gone out.
        for (int i = 0; i < 14; ++i)
            tool.link().setCmd(i + 1, std::uint8_t(command[i]));
        tool.link().StxCommand(int(command.size()));
        answer(tool, data.toLatin1().constData());
        for (const QString &e : expect) {
            const int colon = e.indexOf(QLatin1Char(':'));
            const int eq = e.indexOf(QLatin1Char('='));
            const QString name = e.left(colon >= 0 ? colon : eq);
            QWidget *w = tool.window->findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            if (colon >= 0) {
                QVERIFY2(ownEnabled(w) == e.endsWith(QLatin1String(":on")), qPrintable(e));
            } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
                QCOMPARE(name + QLatin1Char('=') + edit->text(), e);
            } else if (auto *bar = qobject_cast<QSlider *>(w)) {
                QCOMPARE(name + QLatin1Char('=') + QString::number(bar->value()), e);
            }
        }
    }

    // Freeze ON: its echo disables Rev and, with it, the lens group.
    void freezeEchoDisablesLensGroup()
    {
        Tool tool;
        start(tool);
        clickItem(tool, "Freeze", 1);
        answer(tool, "01");
        for (const char *name : {"HRev", "VRev", "ZoomStep", "FocusStep", "PosLoad", "PosSave", "GetZoomCurrent"})
            QVERIFY2(!own(tool, name), name);
        clickItem(tool, "Freeze", 0);
        answer(tool, "00");
        for (const char *name : {"HRev", "VRev", "ZoomStep", "FocusStep", "PosLoad", "PosSave", "GetZoomCurrent"})
            QVERIFY2(own(tool, name), name);
        QCOMPARE(tool.line->commands(), frames({"21 1A 03 01", "21 1A 03 00"}));
    }

    // A reply the camera did not accept: " Error " once, nothing changed, nothing sent.
    void errorReplyShowsErrorOnce()
    {
        Tool tool;
        start(tool);
        clickItem(tool, "Sync", 0);
        tool.line->clearWrites();
        tool.line->reply({0x15, 0x1C, 0x00, 0x00});
        QCOMPARE(tool.dialogs.messages.size(), 1);
        QCOMPARE(tool.dialogs.messages[0].text, QStringLiteral(" Error "));
        QCOMPARE(tool.dialogs.messages[0].caption, QStringLiteral("ERR"));
        QCOMPARE(tool.dialogs.messages[0].buttons, MessageButtons::AbortRetryIgnore);
        QVERIFY(tool.line->commands().isEmpty());
        QVERIFY(!own(tool, "Sync")); // no follow-up read: stays as the click left it
        QCOMPARE(tool.ctl<RadioGroup>("Sync")->itemIndex(), 0);
    }

    // The Easy page decoder runs only while the Easy page is on show.
    void otherPageGetsNoEasyDecoding()
    {
        Tool tool;
        start(tool);
        clickItem(tool, "Sync", 0);
        tool.showPage(PageEasy2);
        tool.line->clearWrites();
        tool.line->reply({0x15, 0x1C, 0x00, 0x00});
        QVERIFY(tool.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(TestEasyPage)
#include "tst_easypage.moc"
