// The common decoder: what each accepted reply sets, the twelve status blocks
// of the Easy load, the tolerance for odd values, the echo rule, and the
// shared lens / interlock / white-balance / BLC-area routines.

#include "pages/statusdecoder.h"
#include "support/fixture.h"
#include "ui/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <array>
#include <vector>

using namespace h7q8;
using namespace h7q8::test;

namespace {

// Makes `command` (bytes 1..n) the last command, so that the next reply counts
// as its answer, then forgets the line's record.
void lastCommand(Tool &tool, const QByteArray &command)
{
    for (int i = 0; i < command.size(); ++i)
        tool.link().setCmd(i + 1, std::uint8_t(command[i]));
    tool.link().StxCommand(int(command.size()));
    tool.line->clearWrites();
}

// Feeds a good reply frame around reply bytes 1.. .
void feedReply(Tool &tool, const QByteArray &replyBytes)
{
    tool.line->feed(BuildReplyFrame(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t *>(replyBytes.constData()), std::size_t(replyBytes.size()))));
}

QString valueOf(QObject *o)
{
    if (auto *g = qobject_cast<RadioGroup *>(o))
        return QString::number(g->itemIndex());
    if (auto *s = qobject_cast<QSlider *>(o))
        return QString::number(s->value());
    if (auto *e = qobject_cast<QLineEdit *>(o))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(o))
        return QString::number(c->currentIndex());
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        return b->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto *l = qobject_cast<QLabel *>(o))
        return l->text();
    return QStringLiteral("?");
}

// Checks expectations "Name=value" (the control's value as valueOf shows it),
// "Name:on" / "Name:off" (its own enabled flag) and "Name[min,max]" (a bar's
// range); returns the ones that do not hold.
QStringList mismatches(Tool &tool, const QStringList &expected)
{
    QStringList out;
    for (const QString &e : expected) {
        const int eq = e.indexOf(QLatin1Char('='));
        const int colon = e.indexOf(QLatin1Char(':'));
        const int bracket = e.indexOf(QLatin1Char('['));
        const int cut = eq >= 0 ? eq : colon >= 0 ? colon : bracket;
        const QString name = e.left(cut);
        QObject *o = tool.window->findChild<QObject *>(name);
        if (!o) {
            out << e + QStringLiteral(" (no such control)");
            continue;
        }
        QString actual;
        if (eq >= 0) {
            actual = name + QLatin1Char('=') + valueOf(o);
        } else if (colon >= 0) {
            auto *w = qobject_cast<QWidget *>(o);
            actual = name + (ownEnabled(w) ? QStringLiteral(":on") : QStringLiteral(":off"));
        } else {
            auto *s = qobject_cast<QSlider *>(o);
            actual = s ? QStringLiteral("%1[%2,%3]").arg(name).arg(s->minimum()).arg(s->maximum())
                       : name + QStringLiteral("[?]");
        }
        if (actual != e)
            out << e + QStringLiteral(" but ") + actual;
    }
    return out;
}

// Everything a decoder could change: each named control's value and own
// enabled flag, bar ranges, combo items, labels, the OnePush1 caption and the
// shared state. The status bar panels (which show every frame) are left out.
QStringList snapshot(Tool &tool)
{
    QStringList out;
    for (QWidget *w : tool.window->findChildren<QWidget *>()) {
        const QString name = w->objectName();
        // A radio group's buttons are covered by the group's item.
        if (name.isEmpty() || name.startsWith(QLatin1String("StatusPanel")) || qobject_cast<QRadioButton *>(w))
            continue;
        QString s = name + (ownEnabled(w) ? QStringLiteral(" on ") : QStringLiteral(" off "));
        s += valueOf(w);
        if (auto *bar = qobject_cast<QSlider *>(w))
            s += QStringLiteral(" [%1,%2] t%3 p%4")
                     .arg(bar->minimum())
                     .arg(bar->maximum())
                     .arg(bar->tickInterval())
                     .arg(bar->pageStep());
        if (auto *box = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < box->count(); ++i)
                s += QLatin1Char(' ') + box->itemText(i);
        out << s;
    }
    if (auto *a = tool.window->findChild<QAction *>(QStringLiteral("OnePush1")))
        out << QStringLiteral("OnePush1 ") + a->text();
    const SharedState &sh = tool.window->shared();
    out << QStringLiteral("extent %1 %2 mark %3 %4").arg(sh.SensorExtentH).arg(sh.SensorExtentV).arg(sh.MarkX).arg(sh.MarkY);
    for (std::size_t i = 0; i < 256; ++i)
        if (sh.RegisterImage[i])
            out << QStringLiteral("reg %1 %2").arg(i).arg(sh.RegisterImage[i]);
    return out;
}

// Sends nothing while the test arranges controls: every handler's Trans_chk refuses.
struct Quiet {
    explicit Quiet(Tool &tool) : seq(tool.seq()) { seq.SendSuppressed = true; }
    ~Quiet() { seq.SendSuppressed = false; }
    LoadSequencer &seq;
};

QList<QByteArray> cmds(std::initializer_list<const char *> hex)
{
    QList<QByteArray> out;
    for (const char *h : hex)
        out << Bytes(h);
    return out;
}

// The commands written since the last clear, each cut to `n` bytes.
QList<QByteArray> sent(Tool &tool, int n)
{
    return tool.line->commands(n);
}

// Where a page that is not built yet owns a control, the test puts a plain
// stand-in of the right kind on that page, unless the real one exists.
template <class W, class... A> W *standIn(Tool &tool, const char *page, const char *name, A &&...args)
{
    if (auto *real = tool.window->findChild<W *>(QString::fromLatin1(name)))
        return real;
    auto *host = tool.window->findChild<QWidget *>(QString::fromLatin1(page));
    auto *w = new W(std::forward<A>(args)..., host);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

RadioGroup *standInRadio(Tool &tool, const char *page, const char *name, const QStringList &items)
{
    if (auto *real = tool.window->findChild<RadioGroup *>(QString::fromLatin1(name)))
        return real;
    return new RadioGroup(QString::fromLatin1(name), QString(), items,
                          tool.window->findChild<QWidget *>(QString::fromLatin1(page)));
}

TrackBar *standInBar(Tool &tool, const char *page, const char *name, int lo, int hi)
{
    if (auto *real = tool.window->findChild<TrackBar *>(QString::fromLatin1(name)))
        return real;
    return new TrackBar(QString::fromLatin1(name), lo, hi,
                        tool.window->findChild<QWidget *>(QString::fromLatin1(page)));
}

// Status block replies of a full Easy load (bytes 4..14 of each).
const char *const CHOSEN_BLOCKS[12] = {
    "41 00 42 00 43 00 44 00 45 00 00", // 0: title part 0
    "01 02 03 04 05 06 07 08 09 0A 00", // 1: title part 1
    "00 00 00 00 00 00 00 00 00 00 00", // 2
    "00 00 00 00 00 00 00 00 00 00 01", // 3: title position "Down"
    "81 00 00 00 00 01 01 03 05 06 07", // 4: BLC area, WB mode AWB, ATW, AWB, R, B
    "01 02 00 FE 00 01 23 04 02 08 00", // 5: phase ON, range, level, BLC sens, AGC, SENS, freeze
    "01 06 01 02 07 00 05 03 0B 09 0C", // 6: PEAK, ALC, AES, gains, alarm
    "15 00 14 00 03 00 01 00 00 00 00", // 7: zoom status
    "00 03 02 07 01 00 01 01 01 01 00", // 8: AF, speeds, position, preset, push, modes, ZOOM+AF
    "01 01 02 03 04 EE EE 01 02 00 00", // 9: mark, position, gamma, language
    "02 01 01 03 02 00 01 F0 01 00 00", // 10: colour, OSD, MAG, digital zoom, focus status, AF sleep
    "40 00 00 01 01 00 00 00 01 00 00", // 11: registers 1 and 0x40, rev, BLC, one-push, initial
};

QByteArray blockReply(int block, const char *data)
{
    return Bytes("A0 60") + QByteArray(1, char(block)) + Bytes(data);
}

} // namespace

class TestStatusDecoder : public QObject
{
    Q_OBJECT

    std::unique_ptr<Tool> tool;

    StatusDecoder &decoder() { return tool->window->statusDecoder(); }

    // A tool whose Easy load has been answered with empty echoes; nothing on record.
    void startLoaded()
    {
        tool = std::make_unique<Tool>();
        tool->finishLoad();
        tool->line->clearWrites();
    }

    // Answers the running Easy load step by step with the given blocks and EEPROM word.
    bool answerEasyLoad(const char *const blocks[12], const char *eepromWord)
    {
        for (int k = 0; k < 12; ++k) {
            if (tool->link().store().cmd(2) != 0x60 || tool->link().store().cmd(3) != k)
                return false;
            feedReply(*tool, blockReply(k, blocks[k]));
        }
        if (tool->link().store().cmd(2) != 0x0C)
            return false;
        feedReply(*tool, Bytes("A0 0C 01 51") + Bytes(eepromWord));
        return tool->seq().TransferStep == 0;
    }

    void read(const char *command, const char *reply)
    {
        lastCommand(*tool, Bytes(command));
        feedReply(*tool, Bytes(reply));
    }

private slots:
    void cleanup() { tool.reset(); }

    // ---- acceptance ---------------------------------------------------------

    void notAcceptedChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("freeze") << Bytes("31 1A 03") << Bytes("15 1A 03 01");
        QTest::newRow("register 1") << Bytes("31 0A 01") << Bytes("15 0A 01 40 00");
        QTest::newRow("register 0x40") << Bytes("31 0A 40") << Bytes("15 0A 40 00 01");
        QTest::newRow("block 5") << Bytes("31 60 05") << Bytes("15 60 05 01 01 00 FF 00 00 10 04 04 04 01");
        QTest::newRow("zoom status") << Bytes("31 45 00") << Bytes("15 45 00 18 00 17 F0 00 90 00 10");
        QTest::newRow("EEPROM 0x0151") << Bytes("31 0C 01 51") << Bytes("15 0C 01 51 01 00");
        QTest::newRow("mask echo") << Bytes("21 57 00") << Bytes("15 57 00 00 00 01 01 10 20 30 40");
    }
    void notAcceptedChangesNothing()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        startLoaded();
        lastCommand(*tool, command);
        const QStringList before = snapshot(*tool);
        feedReply(*tool, reply);
        QCOMPARE(snapshot(*tool), before);
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    void ignoredRepliesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("block 12") << Bytes("31 60 0C") << Bytes("A0 60 0C 01 01 01 01 01 01 01 01 01 01 01");
        QTest::newRow("block 255") << Bytes("31 60 FF") << Bytes("A0 60 FF 01 01 01 01 01 01 01 01 01 01 01");
        QTest::newRow("unknown code") << Bytes("31 99 00") << Bytes("A0 99 00 01 02 03");
        QTest::newRow("unknown sub of 0x1A") << Bytes("31 1A 09") << Bytes("A0 1A 09 05");
        QTest::newRow("unknown sub of 0x48") << Bytes("31 48 05 00") << Bytes("A0 48 05 00 01");
        QTest::newRow("EEPROM other word") << Bytes("31 0C 01 50") << Bytes("A0 0C 01 50 FF FF");
        QTest::newRow("read mask 4") << Bytes("31 57 04 01") << Bytes("A0 57 04 01 00 01 01 10 20 30 40");
        // After a write only the mask echo counts.
        QTest::newRow("write echo AGC") << Bytes("21 1A 01 05") << Bytes("A0 1A 01 05");
        QTest::newRow("write echo Select") << Bytes("21 1A 04 01") << Bytes("A0 1A 04 01");
        QTest::newRow("write echo VRev") << Bytes("21 1D 04 01") << Bytes("A0 1D 04 01");
        QTest::newRow("write echo H-GAIN") << Bytes("21 47 00 0A") << Bytes("A0 47 00 0A");
        QTest::newRow("write echo alarm") << Bytes("21 51 33") << Bytes("A0 51 33");
        QTest::newRow("write echo language") << Bytes("21 5B 00 02") << Bytes("A0 5B 00 02");
        QTest::newRow("write-class block 5") << Bytes("21 60 05") << Bytes("A0 60 05 01 01 00 FF 00 00 10 04 04 04 01");
        QTest::newRow("write-class register 1") << Bytes("21 0A 01 40 00") << Bytes("A0 0A 01 40 00");
        QTest::newRow("reset class") << Bytes("F1") << Bytes("A0 1A 01 05");
    }
    void ignoredRepliesChangeNothing()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        startLoaded();
        lastCommand(*tool, command);
        const QStringList before = snapshot(*tool);
        feedReply(*tool, reply);
        QCOMPARE(snapshot(*tool), before);
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    // ---- read replies, one control each ---------------------------------------

    void readReplies_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, const char *c, const char *r, QStringList e) {
            QTest::newRow(name) << Bytes(c) << Bytes(r) << e;
        };
        row("AGC", "31 1A 01", "A0 1A 01 05", {"AGCBar=5"});
        row("SENS", "31 1A 02", "A0 1A 02 03", {"SENSBar=3"});
        row("Select", "31 1A 04", "A0 1A 04 01", {"Select=1"});
        row("R gain", "31 1B 02", "A0 1B 02 06", {"Rgain=6"});
        row("B gain", "31 1B 03", "A0 1B 03 02", {"BGain=2"});
        row("ATW bar", "31 1B 05", "A0 1B 05 07", {"ATWBar=7"});
        row("AWB bar", "31 1B 06", "A0 1B 06 01", {"AWBBar=1"});
        row("VRev on", "31 1D 04", "A0 1D 04 02", {"VRev=checked", "HRev=unchecked"});
        row("HRev on", "31 1D 05", "A0 1D 05 01", {"HRev=checked", "VRev=unchecked"});
        row("Posi/Nega", "31 1D 07", "A0 1D 07 01", {"PosiNega=1"});
        row("preset ON", "31 20 02", "A0 20 02 01", {"Preset=1", "PresetSet:on"});
        row("H gain", "31 47 00", "A0 47 00 0C", {"HGainBar=12", "VGainBar=0"});
        row("V gain", "31 47 01", "A0 47 01 0B", {"VGainBar=11", "HGainBar=0"});
        row("PEAK level", "31 48 00 01", "A0 48 00 01 07", {"PeakOnBar=7", "PEAK=0"});
        row("ALC auto level", "31 48 01 01 00", "A0 48 01 01 00 06", {"ALCAutoBar=6", "ALCFixBar=0"});
        row("ALC fix level", "31 48 01 01 01", "A0 48 01 01 01 04", {"ALCFixBar=4", "ALCAutoBar=0"});
        row("AES auto level", "31 48 02 01 00", "A0 48 02 01 00 03", {"AESAutoBar=3"});
        row("AES fix item", "31 48 02 01 01", "A0 48 02 01 01 05", {"AESFixBox=5", "AESAutoBar=0"});
        row("BLC sens", "31 50", "A0 50 06", {"BLCSensBar=6"});
        row("alarm number", "31 51", "A0 51 07", {"AlarmNo=07"});
        row("alarm number 42", "31 51", "A0 51 2A", {"AlarmNo=42"});
        row("position number", "31 52 00", "A0 52 00 09", {"PositionNo=09", "MASK_POS=09"});
        row("push switch Freeze", "31 52 02", "A0 52 02 01",
            {"PushSW=1", "AlarmNo:off", "AlarmSpinButton:off"});
        row("language", "31 5B", "A0 5B 00 02", {"langu_sel=2"});
        row("title position", "31 10 03", "A0 10 03 01", {"Ctitlepos=1"});
    }
    void readReplies()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, expected);
        startLoaded();
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    // ---- tolerance of odd values ----------------------------------------------

    void oddValuesAreHeld_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, const char *c, const char *r, QStringList e) {
            QTest::newRow(name) << Bytes(c) << Bytes(r) << e;
        };
        row("radio past the last item", "31 1A 04", "A0 1A 04 09", {"Select=1"});
        row("radio of three past the end", "31 5B", "A0 5B 00 FF", {"langu_sel=2"});
        row("combo past the list", "31 48 02 01 01", "A0 48 02 01 01 08", {"AESFixBox=-1"});
        row("title position past the list", "31 10 03", "A0 10 03 C8", {"Ctitlepos=-1"});
        row("bar above its range", "31 1A 01", "A0 1A 01 C8", {"AGCBar=8"});
        row("bar of 0..12 above", "31 47 00", "A0 47 00 0D", {"HGainBar=12"});
        row("BLC sens above 7", "31 50", "A0 50 FF", {"BLCSensBar=7"});
    }
    void oddValuesAreHeld()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, expected);
        startLoaded();
        {
            // Start from values that differ from the expected ones.
            Quiet quiet(*tool);
            tool->ctl<QComboBox>("AESFixBox")->setCurrentIndex(2);
            tool->ctl<QComboBox>("Ctitlepos")->setCurrentIndex(0);
            tool->ctl<QSlider>("AGCBar")->setValue(3);
        }
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    void freezeRule_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("expected");
        // Before: Freeze "OFF", HRev disabled, VRev enabled.
        QTest::newRow("OFF") << 0 << QStringList{"Freeze=0", "HRev:on", "VRev:on"};
        QTest::newRow("ON") << 1 << QStringList{"Freeze=1", "HRev:off", "VRev:off"};
        QTest::newRow("5 selects ON, Rev untouched") << 5 << QStringList{"Freeze=1", "HRev:off", "VRev:on"};
    }
    void freezeRule()
    {
        QFETCH(int, value);
        QFETCH(QStringList, expected);
        startLoaded();
        tool->ctl<QWidget>("HRev")->setEnabled(false);
        tool->ctl<QWidget>("VRev")->setEnabled(true);
        QCOMPARE(tool->ctl<RadioGroup>("Freeze")->itemIndex(), 0);
        lastCommand(*tool, Bytes("31 1A 03"));
        feedReply(*tool, Bytes("A0 1A 03") + QByteArray(1, char(value)));
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    // ---- resolution and video standard ------------------------------------------

    void resolution_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("extentH");
        QTest::addColumn<int>("register1");
        QTest::newRow("register 1 Hi") << Bytes("31 0A 01") << Bytes("A0 0A 01 40 00") << "Hi-Resolution" << 767 << 0x4000;
        QTest::newRow("register 1 Lo") << Bytes("31 0A 01") << Bytes("A0 0A 01 BF FF") << "Lo-Resolution" << 511 << 0xBFFF;
        QTest::newRow("register 1 by 0x0B") << Bytes("31 0B 01") << Bytes("A0 0B 01 C0 00") << "Hi-Resolution" << 767 << 0xC000;
        QTest::newRow("block 11 Hi") << Bytes("31 60 0B") << Bytes("A0 60 0B 40 00") << "Hi-Resolution" << 800 << 0x4000;
        QTest::newRow("block 11 Lo") << Bytes("31 60 0B") << Bytes("A0 60 0B 00 00") << "Lo-Resolution" << 544 << 0;
    }
    void resolution()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QString, label);
        QFETCH(int, extentH);
        QFETCH(int, register1);
        startLoaded();
        tool->window->shared().SensorExtentH = 1;
        tool->window->shared().RegisterImage[1] = 0x1234;
        read(command.toHex(' ').constData(), reply.toHex(' ').constData());
        QCOMPARE(tool->ctl<QLabel>("Resolution")->text(), label);
        QCOMPARE(tool->window->shared().SensorExtentH, extentH);
        QCOMPARE(tool->window->shared().RegisterImage[1], register1);
    }

    void extentsStartAtOne()
    {
        tool = std::make_unique<Tool>();
        QCOMPARE(tool->window->shared().SensorExtentH, 1);
        QCOMPARE(tool->window->shared().SensorExtentV, 1);
        tool->finishLoad();
        QCOMPARE(tool->window->shared().SensorExtentH, 544);
        QCOMPARE(tool->window->shared().SensorExtentV, 256);
    }

    void videoStandard()
    {
        startLoaded();
        auto *box = tool->ctl<QComboBox>("AESFixBox");
        auto *tv = tool->ctl<QLabel>("TV");
        const QStringList pal{"OFF", "1/120", "1/250", "1/500", "1/1000", "1/2000", "1/4000", "1/10000"};
        const QStringList ntsc{"OFF", "1/100", "1/250", "1/500", "1/1000", "1/2000", "1/4000", "1/10000"};
        auto items = [box] {
            QStringList out;
            for (int i = 0; i < box->count(); ++i)
                out << box->itemText(i);
            return out;
        };
        // The empty load's block 11 reported NTSC.
        QCOMPARE(tv->text(), QStringLiteral("NTSC"));
        QCOMPARE(items(), ntsc);

        read("31 0A 40", "A0 0A 40 00 01");
        QCOMPARE(tv->text(), QStringLiteral("PAL"));
        QCOMPARE(tool->window->shared().SensorExtentV, 312);
        QCOMPARE(tool->window->shared().RegisterImage[0x40], 1);
        QCOMPARE(items(), pal);

        read("31 0A 40", "A0 0A 40 00 01");
        QCOMPARE(box->count(), 8);
        QCOMPARE(items(), pal);

        read("31 0A 40", "A0 0A 40 FF FE");
        QCOMPARE(tv->text(), QStringLiteral("NTSC"));
        QCOMPARE(tool->window->shared().SensorExtentV, 256);
        QCOMPARE(items(), ntsc);

        read("31 60 0B", "A0 60 0B 00 00 00 03");
        QCOMPARE(tv->text(), QStringLiteral("PAL"));
        QCOMPARE(tool->window->shared().RegisterImage[0x40], 3);
        QCOMPARE(items(), pal);
    }

    void videoStandardKeepsTheShownShutter_data()
    {
        QTest::addColumn<int>("shown");
        QTest::newRow("item 1") << 1;
        QTest::newRow("item 3") << 3;
        QTest::newRow("none") << -1;
    }
    void videoStandardKeepsTheShownShutter()
    {
        // Renaming item 1 is no change of the camera's shutter: nothing is sent.
        QFETCH(int, shown);
        startLoaded();
        auto *box = tool->ctl<QComboBox>("AESFixBox");
        {
            Quiet quiet(*tool);
            box->setCurrentIndex(shown);
        }
        read("31 0A 40", "A0 0A 40 00 01");
        QCOMPARE(box->currentIndex(), shown);
        QCOMPARE(box->itemText(1), QStringLiteral("1/120"));
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    void chromaRegister()
    {
        startLoaded();
        auto *by = standInBar(*tool, "Panel3", "CromaBY", 0, 255);
        auto *ry = standInBar(*tool, "Panel3", "CromaRY", 0, 255);
        read("31 0A 2B", "A0 0A 2B 34 12");
        QCOMPARE(by->value(), 0x34);
        QCOMPARE(ry->value(), 0x12);
        QCOMPARE(tool->window->shared().RegisterImage[0x2B], 0x3412);
        // Other registers are only remembered.
        read("31 0A 2C", "A0 0A 2C 01 05");
        QCOMPARE(tool->window->shared().RegisterImage[0x2C], 0x0105);
        QCOMPARE(by->value(), 0x34);
    }

    // ---- EEPROM word 0x0151 ---------------------------------------------------------

    void eepromWhiteBalanceWord_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("0x00FF") << Bytes("A0 0C 01 51 00 FF") << true;
        QTest::newRow("0x0100") << Bytes("A0 0C 01 51 01 00") << false;
        QTest::newRow("0xFFFF") << Bytes("A0 0C 01 51 FF FF") << false;
        QTest::newRow("0x0000") << Bytes("A0 0C 01 51 00 00") << true;
        QTest::newRow("other word 0x0150") << Bytes("A0 0C 01 50 01 00") << true;
        QTest::newRow("other word 0x0251") << Bytes("A0 0C 02 51 01 00") << true;
    }
    void eepromWhiteBalanceWord()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, enabled);
        startLoaded();
        const char *names[] = {"wb_select", "AWB", "ATWBar", "AWBBar", "WB"};
        for (const char *name : names)
            tool->ctl<QWidget>(name)->setEnabled(true);
        lastCommand(*tool, reply.mid(1, 3).prepend(char(0x31)));
        feedReply(*tool, reply);
        for (const char *name : names)
            QVERIFY2(ownEnabled(tool->ctl<QWidget>(name)) == enabled, name);
    }

    void eepromWordAtTheEndOfTheLoad()
    {
        tool = std::make_unique<Tool>();
        const char *const empty[12] = {"00", "00", "00", "00", "00", "00", "00", "00", "00", "00", "00", "00"};
        QVERIFY(answerEasyLoad(empty, "01 00"));
        QVERIFY(!ownEnabled(tool->ctl<QWidget>("WB")));
        QVERIFY(!ownEnabled(tool->ctl<QWidget>("wb_select")));
        // The next load's first step enables them again; a small word leaves them so.
        tool->window->ReLoadClick();
        QVERIFY(ownEnabled(tool->ctl<QWidget>("WB")));
        QVERIFY(answerEasyLoad(empty, "00 FF"));
        QVERIFY(ownEnabled(tool->ctl<QWidget>("WB")));
        QVERIFY(ownEnabled(tool->ctl<QWidget>("wb_select")));
    }

    // ---- phase ----------------------------------------------------------------------

    void phaseRange_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("levelOn");
        QTest::newRow("reply, ON, -256..256") << Bytes("31 1C 00") << Bytes("A0 1C 00 01 01 00 FF 00")
                                               << -256 << 256 << 51 << 10 << true;
        QTest::newRow("reply, OFF, 0..100") << Bytes("31 1C 00") << Bytes("A0 1C 00 00 00 64 00 00")
                                             << 0 << 100 << 10 << 2 << false;
        QTest::newRow("reply, ON, -1000..-10") << Bytes("31 1C 00") << Bytes("A0 1C 00 01 FF F6 FC 18")
                                                << -1000 << -10 << 99 << 19 << true;
        QTest::newRow("block 5, ON, -256..256")
            << Bytes("31 60 05") << Bytes("A0 60 05 01 01 00 FF 00 00 00 00 00 00 00") << -256 << 256 << 51 << 10 << true;
        QTest::newRow("block 5, OFF, -512..512")
            << Bytes("31 60 05") << Bytes("A0 60 05 00 02 00 FE 00 00 00 00 00 00 00") << -512 << 512 << 102 << 20 << false;
    }
    void phaseRange()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, tick);
        QFETCH(int, page);
        QFETCH(bool, levelOn);
        startLoaded();
        tool->ctl<QWidget>("Sync")->setEnabled(false);
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        auto *bar = tool->ctl<QSlider>("PhaseBar");
        QCOMPARE(bar->minimum(), minimum);
        QCOMPARE(bar->maximum(), maximum);
        QCOMPARE(bar->tickInterval(), tick);
        QCOMPARE(bar->pageStep(), page);
        const QString on = levelOn ? QStringLiteral(":on") : QStringLiteral(":off");
        QCOMPARE(mismatches(*tool, {"Sync:on", "Sync=" + QString::number(levelOn ? 1 : 0),
                                    "PhaseLevel" + on, "PhaseBar" + on}),
                 QStringList{});
    }

    void phaseLevel_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::newRow("16") << Bytes("A0 1C 01 00 10") << "0010" << 16;
        QTest::newRow("-256") << Bytes("A0 1C 01 FF 00") << "FF00" << -256;
        QTest::newRow("-1") << Bytes("A0 1C 01 FF FF") << "FFFF" << -1;
        // Past the range the bar stays at the nearer end; the text shows the value.
        QTest::newRow("0x7FFF held at 256") << Bytes("A0 1C 01 7F FF") << "7FFF" << 256;
        QTest::newRow("0x8000 held at -256") << Bytes("A0 1C 01 80 00") << "8000" << -256;
    }
    void phaseLevel()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, text);
        QFETCH(int, position);
        startLoaded();
        {
            Quiet quiet(*tool);
            read("31 1C 00", "A0 1C 00 00 01 00 FF 00");
        }
        read("31 1C 01", reply.toHex(' ').constData());
        QCOMPARE(tool->ctl<QLineEdit>("PhaseLevel")->text(), text);
        QCOMPARE(tool->ctl<QSlider>("PhaseBar")->value(), position);
    }

    // ---- BLC area ----------------------------------------------------------------------

    void blcAreaBits_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QList<int>>("checked");
        QTest::newRow("block 4, first and last")
            << Bytes("31 60 04") << Bytes("A0 60 04 01 00 00 00 00 80") << QList<int>{1, 48};
        QTest::newRow("block 4, one bit a byte")
            << Bytes("31 60 04") << Bytes("A0 60 04 01 02 04 08 10 20") << QList<int>{1, 10, 19, 28, 37, 46};
        QTest::newRow("reply 0x19, one bit a byte")
            << Bytes("31 19") << Bytes("A0 19 80 40 20 10 08 04") << QList<int>{8, 15, 22, 29, 36, 43};
        QTest::newRow("reply 0x19, whole second byte")
            << Bytes("31 19") << Bytes("A0 19 00 FF 00 00 00 00") << QList<int>{9, 10, 11, 12, 13, 14, 15, 16};
        QTest::newRow("reply 0x19, none") << Bytes("31 19") << Bytes("A0 19 00 00 00 00 00 00") << QList<int>{};
    }
    void blcAreaBits()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QList<int>, checked);
        startLoaded();
        {
            Quiet quiet(*tool);
            for (int i = 1; i <= 48; ++i)
                tool->window->findChild<QCheckBox *>(QStringLiteral("BLCCheck%1").arg(i, 2, 10, QLatin1Char('0')))->setChecked(true);
        }
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QList<int> actual;
        for (int i = 1; i <= 48; ++i)
            if (tool->window->findChild<QCheckBox *>(QStringLiteral("BLCCheck%1").arg(i, 2, 10, QLatin1Char('0')))->isChecked())
                actual << i;
        QCOMPARE(actual, checked);
        // Encoding the boxes gives back the six bytes.
        const int first = command.at(1) == 0x60 ? 3 : 2;
        const auto bytes = decoder().BlcAreaEncode();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes.data()), 6), reply.mid(first, 6));
    }

    void blcAreaEnable()
    {
        startLoaded();
        decoder().BlcAreaEnable(true);
        for (int i = 1; i <= 48; ++i)
            QVERIFY(ownEnabled(tool->window->findChild<QWidget *>(QStringLiteral("BLCCheck%1").arg(i, 2, 10, QLatin1Char('0')))));
        decoder().BlcAreaEnable(false);
        for (int i = 1; i <= 48; ++i)
            QVERIFY(!ownEnabled(tool->window->findChild<QWidget *>(QStringLiteral("BLCCheck%1").arg(i, 2, 10, QLatin1Char('0')))));
    }

    // ---- interlocked pairs -------------------------------------------------------------

    void interlockedEqualEnablesPartner_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("partner");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("shown");
        QTest::newRow("BLC 0") << "BLC" << "PEAK" << Bytes("31 18 00") << Bytes("A0 18 00 00") << 0;
        QTest::newRow("BLC 1") << "BLC" << "PEAK" << Bytes("31 18 00") << Bytes("A0 18 00 01") << 1;
        QTest::newRow("PEAK 0") << "PEAK" << "BLC" << Bytes("31 48 00 00") << Bytes("A0 48 00 00 00") << 0;
        QTest::newRow("ALC 1") << "ALC" << "AES" << Bytes("31 48 01 00") << Bytes("A0 48 01 00 01") << 1;
        QTest::newRow("AES 0") << "AES" << "ALC" << Bytes("31 48 02 00") << Bytes("A0 48 02 00 00") << 0;
        // A value past the last item means the last item: it is what the group shows.
        QTest::newRow("BLC 7 while ON") << "BLC" << "PEAK" << Bytes("31 18 00") << Bytes("A0 18 00 07") << 1;
        QTest::newRow("AES 9 while FIX") << "AES" << "ALC" << Bytes("31 48 02 00") << Bytes("A0 48 02 00 09") << 1;
    }
    void interlockedEqualEnablesPartner()
    {
        QFETCH(QString, group);
        QFETCH(QString, partner);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, shown);
        startLoaded();
        auto *x = tool->window->findChild<RadioGroup *>(group);
        auto *p = tool->window->findChild<QWidget *>(partner);
        {
            Quiet quiet(*tool);
            x->setItemIndex(shown);
        }
        QCOMPARE(x->itemIndex(), shown);
        p->setEnabled(false);
        int changes = 0;
        connect(x, &RadioGroup::itemIndexChanged, this, [&] { ++changes; });
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QVERIFY(ownEnabled(p));
        QCOMPARE(x->itemIndex(), shown);
        QCOMPARE(changes, 0);
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    void interlockedChangeRunsTheClick_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("partner");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("value");
        QTest::newRow("BLC to ON") << "BLC" << "PEAK" << Bytes("31 18 00") << Bytes("A0 18 00 01") << 1;
        QTest::newRow("PEAK to ON") << "PEAK" << "BLC" << Bytes("31 48 00 00") << Bytes("A0 48 00 00 01") << 1;
        QTest::newRow("ALC to FIX") << "ALC" << "AES" << Bytes("31 48 01 00") << Bytes("A0 48 01 00 01") << 1;
        QTest::newRow("AES to FIX") << "AES" << "ALC" << Bytes("31 48 02 00") << Bytes("A0 48 02 00 01") << 1;
    }
    void interlockedChangeRunsTheClick()
    {
        // The group's own click handler, finding the partner disabled, enables it and sends nothing.
        QFETCH(QString, group);
        QFETCH(QString, partner);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, value);
        startLoaded();
        auto *x = tool->window->findChild<RadioGroup *>(group);
        auto *p = tool->window->findChild<QWidget *>(partner);
        QCOMPARE(x->itemIndex(), 0);
        p->setEnabled(false);
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(x->itemIndex(), value);
        QVERIFY(ownEnabled(p));
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    void pairEnabling_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, const char *c, const char *r, QStringList e) {
            QTest::newRow(name) << Bytes(c) << Bytes(r) << e;
        };
        row("BLC ON", "31 18 00", "A0 18 00 01", {"BLCCheck01:on", "BLCCheck48:on", "BLCSensBar:on"});
        row("BLC OFF", "31 18 00", "A0 18 00 00", {"BLCCheck01:off", "BLCCheck48:off", "BLCSensBar:off"});
        row("block 11 BLC ON", "31 60 0B", "A0 60 0B 00 00 00 00 00 00 01", {"BLCCheck24:on", "BLCSensBar:on"});
        row("PEAK ON", "31 48 00 00", "A0 48 00 00 01", {"PeakOnBar:on"});
        row("PEAK OFF", "31 48 00 00", "A0 48 00 00 00", {"PeakOnBar:off"});
        row("ALC AUTO", "31 48 01 00", "A0 48 01 00 00", {"ALCAutoBar:on", "ALCFixBar:off"});
        row("ALC FIX", "31 48 01 00", "A0 48 01 00 01", {"ALCAutoBar:off", "ALCFixBar:on"});
        row("AES AUTO", "31 48 02 00", "A0 48 02 00 00", {"AESAutoBar:on", "AESFixBox:off"});
        row("AES FIX", "31 48 02 00", "A0 48 02 00 01", {"AESAutoBar:off", "AESFixBox:on"});
        row("block 6 all ON/FIX", "31 60 06", "A0 60 06 01 00 01 00 00 01",
            {"PEAK=1", "PeakOnBar:on", "ALC=1", "ALCAutoBar:off", "ALCFixBar:on", "AES=1", "AESAutoBar:off", "AESFixBox:on"});
        row("block 6 all OFF/AUTO", "31 60 06", "A0 60 06 00 00 00 00 00 00",
            {"PEAK=0", "PeakOnBar:off", "ALC=0", "ALCAutoBar:on", "ALCFixBar:off", "AES=0", "AESAutoBar:on", "AESFixBox:off"});
    }
    void pairEnabling()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, expected);
        startLoaded();
        // Flip every flag the row names so that each must be set by the reply.
        for (const QString &e : expected)
            if (e.contains(QLatin1Char(':')))
                tool->window->findChild<QWidget *>(e.section(QLatin1Char(':'), 0, 0))->setEnabled(e.endsWith(QLatin1String("off")));
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    // ---- white balance ------------------------------------------------------------------

    void whiteBalanceMode_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("awbBarBefore");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("ATW") << Bytes("31 1B 00") << Bytes("A0 1B 00 00") << true
                             << QStringList{"wb_select=0", "wb_sel=checked", "AWB:off", "ATWBar:on", "AWBBar:off",
                                            "pre_32:on", "pre_56:on"};
        QTest::newRow("AWB") << Bytes("31 1B 00") << Bytes("A0 1B 00 01") << true
                             << QStringList{"wb_select=1", "wb_sel=unchecked", "AWB:on", "ATWBar:off", "pre_32:off",
                                            "pre_56:off"};
        QTest::newRow("block 4 ATW") << Bytes("31 60 04") << Bytes("A0 60 04 00 00 00 00 00 00 00") << true
                                     << QStringList{"wb_select=0", "wb_sel=checked", "AWB:off", "ATWBar:on",
                                                    "AWBBar:off", "pre_32:on"};
        QTest::newRow("block 4 AWB keeps AWBBar on") << Bytes("31 60 04") << Bytes("A0 60 04 00 00 00 00 00 00 01") << true
                                                     << QStringList{"wb_select=1", "AWB:on", "ATWBar:off", "AWBBar:on"};
        QTest::newRow("block 4 AWB keeps AWBBar off") << Bytes("31 60 04") << Bytes("A0 60 04 00 00 00 00 00 00 01") << false
                                     << QStringList{"wb_select=1", "wb_sel=unchecked", "AWB:on", "ATWBar:off",
                                                    "AWBBar:off", "pre_56:off"};
    }
    void whiteBalanceMode()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(bool, awbBarBefore);
        QFETCH(QStringList, expected);
        startLoaded();
        auto *wbSel = standIn<QCheckBox>(*tool, "Panel3", "wb_sel", QStringLiteral("ATW"));
        standIn<QPushButton>(*tool, "Panel3", "pre_32", QStringLiteral("ATW->3200K"));
        standIn<QPushButton>(*tool, "Panel3", "pre_56", QStringLiteral("ATW->5600K"));
        {
            Quiet quiet(*tool);
            // Start from the other mode everywhere.
            const bool atw = reply.at(reply.size() - 1) == 0;
            tool->ctl<RadioGroup>("wb_select")->setItemIndex(atw ? 1 : 0);
            wbSel->setChecked(!atw);
            tool->ctl<QWidget>("AWB")->setEnabled(atw);
            tool->ctl<QWidget>("ATWBar")->setEnabled(!atw);
        }
        tool->ctl<QWidget>("AWBBar")->setEnabled(awbBarBefore);
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    void hiddenPresetsFollowAtw()
    {
        startLoaded();
        auto *wbSel = standIn<QCheckBox>(*tool, "Panel3", "wb_sel", QStringLiteral("ATW"));
        auto *pre32 = standIn<QPushButton>(*tool, "Panel3", "pre_32", QStringLiteral("ATW->3200K"));
        auto *pre56 = standIn<QPushButton>(*tool, "Panel3", "pre_56", QStringLiteral("ATW->5600K"));
        {
            Quiet quiet(*tool);
            wbSel->setChecked(false);
        }
        // Any reply refreshes them, even one that the decoders ignore.
        read("31 99", "A0 99");
        QVERIFY(!ownEnabled(pre32) && !ownEnabled(pre56));
        {
            Quiet quiet(*tool);
            wbSel->setChecked(true);
        }
        read("31 99", "A0 99");
        QVERIFY(ownEnabled(pre32) && ownEnabled(pre56));
        read("31 99", "15 99");
        QVERIFY(ownEnabled(pre32) && ownEnabled(pre56));
    }

    void oneShotWhiteBalance_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("released");
        QTest::newRow("finished in AWB") << Bytes("31 1B 04") << Bytes("A0 1B 04 00") << 1 << true;
        QTest::newRow("still running") << Bytes("31 1B 04") << Bytes("A0 1B 04 01") << 1 << false;
        QTest::newRow("finished in ATW") << Bytes("31 1B 04") << Bytes("A0 1B 04 00") << 0 << false;
        QTest::newRow("block 11 finished in AWB") << Bytes("31 60 0B") << Bytes("A0 60 0B 00 00 00 00 00 00 00 00") << 1 << true;
        QTest::newRow("block 11 running") << Bytes("31 60 0B") << Bytes("A0 60 0B 00 00 00 00 00 00 00 02") << 1 << false;
    }
    void oneShotWhiteBalance()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, mode);
        QFETCH(bool, released);
        startLoaded();
        {
            Quiet quiet(*tool);
            tool->ctl<RadioGroup>("wb_select")->setItemIndex(mode);
            tool->ctl<QSlider>("AWBBar")->setValue(7);
        }
        for (const char *name : {"wb_select", "AWB", "AWBBar"})
            tool->ctl<QWidget>(name)->setEnabled(false);
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(ownEnabled(tool->ctl<QWidget>("wb_select")), released);
        QCOMPARE(ownEnabled(tool->ctl<QWidget>("AWB")), released);
        QCOMPARE(ownEnabled(tool->ctl<QWidget>("AWBBar")), released);
        QCOMPARE(tool->ctl<QSlider>("AWBBar")->value(), released ? 4 : 7);
    }

    // ---- enabling rules of single replies ----------------------------------------------

    void enablingRules_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("flipped"); // set to the opposite first
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, const char *c, const char *r, QStringList flip, QStringList e) {
            QTest::newRow(name) << Bytes(c) << Bytes(r) << flip << e;
        };
        row("preset OFF", "31 20 02", "A0 20 02 00", {"PresetSet:on"}, {"Preset=0", "PresetSet:off"});
        row("preset ON", "31 20 02", "A0 20 02 01", {"PresetSet:off"}, {"Preset=1", "PresetSet:on"});
        row("preset 3 selects ON, PresetSet untouched", "31 20 02", "A0 20 02 03", {"PresetSet:off"},
            {"Preset=1", "PresetSet:off"});
        row("push switch Alarm", "31 52 02", "A0 52 02 00", {"AlarmNo:off", "AlarmSpinButton:off"},
            {"PushSW=0", "AlarmNo:on", "AlarmSpinButton:on"});
        row("push switch 4", "31 52 02", "A0 52 02 04", {"AlarmNo:off", "AlarmSpinButton:off"},
            {"PushSW=1", "AlarmNo:on", "AlarmSpinButton:on"});
        row("mark ON", "31 56 00", "A0 56 00 01", {"Mark_up:off", "Mark_down:off", "Mark_left:off", "Mark_right:off"},
            {"Mark=1", "Mark_up:on", "Mark_down:on", "Mark_left:on", "Mark_right:on"});
        row("mark OFF", "31 56 00", "A0 56 00 00", {"Mark_up:on", "Mark_right:on"},
            {"Mark=0", "Mark_up:off", "Mark_right:off"});
        row("mark 2 selects ON, buttons untouched", "31 56 00", "A0 56 00 02", {"Mark_up:off", "Mark_left:off"},
            {"Mark=1", "Mark_up:off", "Mark_left:off"});
        row("block 8 push switch Freeze", "31 60 08", "A0 60 08 00 00 00 00 00 01", {"AlarmNo:on"},
            {"PushSW=1", "AlarmNo:off", "AlarmSpinButton:off"});
        row("block 8 preset ON", "31 60 08", "A0 60 08 00 00 00 00 01", {"PresetSet:off"}, {"Preset=1", "PresetSet:on"});
        row("block 9 mark ON", "31 60 09", "A0 60 09 01", {"Mark_down:off"}, {"Mark=1", "Mark_down:on"});
        row("block 5 freeze ON", "31 60 05", "A0 60 05 00 00 00 00 00 00 00 00 00 00 01", {"HRev:on", "VRev:on"},
            {"Freeze=1", "HRev:off", "VRev:off"});
    }
    void enablingRules()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, flipped);
        QFETCH(QStringList, expected);
        startLoaded();
        for (const QString &f : flipped)
            tool->window->findChild<QWidget *>(f.section(QLatin1Char(':'), 0, 0))->setEnabled(f.endsWith(QLatin1String("on")));
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    void markPosition_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("reply 0x56 sub 1") << Bytes("31 56 01") << Bytes("A0 56 01 01 02 03 04") << 0x0102 << 0x0304;
        QTest::newRow("reply, wrap values") << Bytes("31 56 01") << Bytes("A0 56 01 FF FF 00 00") << 0xFFFF << 0;
        QTest::newRow("block 9") << Bytes("31 60 09") << Bytes("A0 60 09 00 12 34 56 78") << 0x1234 << 0x5678;
    }
    void markPosition()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, x);
        QFETCH(int, y);
        startLoaded();
        lastCommand(*tool, command);
        feedReply(*tool, reply);
        QCOMPARE(int(tool->window->shared().MarkX), x);
        QCOMPARE(int(tool->window->shared().MarkY), y);
    }

    void onePushCaption_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("item");
        QTest::newRow("0") << 0 << "OnePushAF-On" << 0;
        QTest::newRow("1") << 1 << "OnePushAF-Off" << 1;
        QTest::newRow("7") << 7 << "OnePushAF-Off" << 1;
    }
    void onePushCaption()
    {
        QFETCH(int, value);
        QFETCH(QString, caption);
        QFETCH(int, item);
        startLoaded();
        auto *action = tool->window->findChild<QAction *>(QStringLiteral("OnePush1"));
        action->setText(QStringLiteral("OnePush"));
        lastCommand(*tool, Bytes("31 60 08"));
        feedReply(*tool, Bytes("A0 60 08 00 00 00 00 00 00 00 00 00") + QByteArray(1, char(value)));
        QCOMPARE(action->text(), caption);
        QCOMPARE(tool->ctl<RadioGroup>("ZOOMTR")->itemIndex(), item);
    }

    void titlePartsGoToTheMerge()
    {
        startLoaded();
        QList<QByteArray> calls;
        decoder().TitlePartMerge = [&calls](int part, const std::uint8_t *codes) {
            calls << QByteArray(1, char(part)) + QByteArray(reinterpret_cast<const char *>(codes), 10);
        };
        read("31 60 02", "A0 60 02 01 02 03 04 05 06 07 08 09 0A 0B");
        read("31 10 01", "A0 10 01 03 11 12 13 14 15 16 17 18 19 1A");
        read("31 60 03", "A0 60 03 21 22 23 24 25 26 27 28 29 2A 01");
        read("31 60 04", "A0 60 04 00 00 00 00 00 00 00");
        QCOMPARE(calls, cmds({"02 01 02 03 04 05 06 07 08 09 0A", "03 11 12 13 14 15 16 17 18 19 1A",
                              "03 21 22 23 24 25 26 27 28 29 2A"}));
        QCOMPARE(tool->ctl<QComboBox>("Ctitlepos")->currentIndex(), 1);
        // Without a merge routine the part changes nothing.
        decoder().TitlePartMerge = nullptr;
        read("31 60 00", "A0 60 00 01 02 03 04 05 06 07 08 09 0A");
    }

    void otherPagesRoutines()
    {
        startLoaded();
        QStringList calls;
        decoder().MotionSet = [&] { calls << "motion"; };
        decoder().PowerOnSet = [&] { calls << "power"; };
        decoder().CommIDSet = [&] { calls << "id"; };
        read("31 5C 00 00", "A0 5C 00 01");
        read("31 5D 00 00", "A0 5D 00 01");
        read("31 5F 00", "A0 5F 00 01");
        read("21 57 04", "A0 57 04 01");
        read("31 57 04", "A0 57 04 01");
        read("21 5C 00 01", "A0 5C 00 01");
        QCOMPARE(calls, (QStringList{"motion", "power", "id", "motion"}));
        decoder().MotionSet = nullptr;
        decoder().PowerOnSet = nullptr;
        decoder().CommIDSet = nullptr;
        read("31 5C 00 00", "A0 5C 00 01");
        read("31 5D 00 00", "A0 5D 00 01");
        read("31 5F 00", "A0 5F 00 01");
    }

    // ---- privacy masks -----------------------------------------------------------------

    void maskEcho_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("mask");
        QTest::newRow("write mask 1") << Bytes("21 57 00 01") << 1;
        QTest::newRow("write mask 4") << Bytes("21 57 03 01") << 4;
        QTest::newRow("read mask 2") << Bytes("31 57 01 01") << 2;
        QTest::newRow("read mask 3") << Bytes("31 57 02 40") << 3;
    }
    void maskEcho()
    {
        QFETCH(QByteArray, command);
        QFETCH(int, mask);
        startLoaded();
        const QStringList modes{"OFF", "ON", "MOSAIC"};
        for (int m = 1; m <= 4; ++m) {
            const QByteArray n = QByteArray::number(m);
            standInRadio(*tool, "TabSheet6", ("MASK_Mode" + n).constData(), modes);
            standInRadio(*tool, "TabSheet6", ("MASK" + n + "_Con").constData(), {"A", "B", "C", "D"});
            for (const char *e : {"MASK_HS", "MASK_HE", "MASK_VS", "MASK_VE"})
                standIn<QLineEdit>(*tool, "TabSheet6", (e + n).constData());
        }
        const QStringList before = snapshot(*tool);
        lastCommand(*tool, command);
        QByteArray reply = Bytes("A0 57");
        reply.append(char(mask - 1));
        reply += Bytes("01 00 02 03 07 C8 FF 00");
        feedReply(*tool, reply);
        const QString n = QString::number(mask);
        QCOMPARE(mismatches(*tool, {"MASK_Mode" + n + "=2", "MASK" + n + "_Con=3", "MASK_HS" + n + "=7",
                                    "MASK_HE" + n + "=200", "MASK_VS" + n + "=255", "MASK_VE" + n + "=0"}),
                 QStringList{});
        // Nothing of the other masks changed.
        QStringList changed;
        const QStringList after = snapshot(*tool);
        for (const QString &s : after)
            if (!before.contains(s))
                changed << s.section(QLatin1Char(' '), 0, 0);
        changed.sort();
        QStringList mine{"MASK_Mode" + n, "MASK" + n + "_Con", "MASK_HS" + n, "MASK_HE" + n, "MASK_VS" + n,
                         "MASK_VE" + n};
        mine.sort();
        QCOMPARE(changed, mine);
    }

    // ---- lens status -------------------------------------------------------------------

    void zoomRangeOfTheFirstLoad()
    {
        tool = std::make_unique<Tool>();
        const char *blocks[12] = {"00", "00", "00", "00", "00", "00", "00", "15 00 14 00 00 90 00 10", "00", "00", "00", "00"};
        QVERIFY(answerEasyLoad(blocks, "00 00"));
        QCOMPARE(mismatches(*tool, {"ZoomStepBar[4096,6344]", "ZoomStepBar=5376", "ZoomStep=1500", "CurrentZoom=1400",
                                    "FocusStepMax=0090", "FocusStepMin=0010", "FocusStepBar[16,144]"}),
                 QStringList{});
        QCOMPARE(tool->ctl<QSlider>("ZoomStepBar")->tickInterval(), 224);
        QCOMPARE(tool->ctl<QSlider>("ZoomStepBar")->pageStep(), 44);
        QCOMPARE(tool->ctl<QSlider>("FocusStepBar")->tickInterval(), 16);
        QCOMPARE(tool->ctl<QSlider>("FocusStepBar")->pageStep(), 16);
    }

    void zoomRangeUsesTheSelectionBeforeTheLoad_data()
    {
        QTest::addColumn<int>("selection");
        QTest::addColumn<int>("maximum");
        QTest::newRow("OFF") << 0 << 6344;
        QTest::newRow("x2") << 1 << 6344 + 2048;
        QTest::newRow("x4") << 2 << 6344 + 3072;
        QTest::newRow("x6") << 3 << 6344 + 3456;
        QTest::newRow("x8") << 4 << 6344 + 3584;
        QTest::newRow("x10") << 5 << 6344 + 3648;
    }
    void zoomRangeUsesTheSelectionBeforeTheLoad()
    {
        QFETCH(int, selection);
        QFETCH(int, maximum);
        tool = std::make_unique<Tool>();
        QByteArray block10 = Bytes("00 00 00");
        block10.append(char(selection));
        const QByteArray hex = block10.toHex(' ');
        const char *first[12] = {"00", "00", "00", "00", "00", "00", "00", "10 00 10 00", "00", "00", hex.constData(), "00"};
        QVERIFY(answerEasyLoad(first, "00 00"));
        QCOMPARE(tool->ctl<RadioGroup>("DigitalZoom")->itemIndex(), selection);
        // The second load reports OFF only after its zoom status.
        tool->window->ReLoadClick();
        const char *second[12] = {"00", "00", "00", "00", "00", "00", "00", "10 00 10 00", "00", "00", "00", "00"};
        QVERIFY(answerEasyLoad(second, "00 00"));
        auto *bar = tool->ctl<QSlider>("ZoomStepBar");
        QCOMPARE(bar->minimum(), 4096);
        QCOMPARE(bar->maximum(), maximum);
        QCOMPARE(bar->tickInterval(), (maximum - 4096) / 10);
        QCOMPARE(bar->pageStep(), (maximum - 4096) / 50);
        QCOMPARE(tool->ctl<RadioGroup>("DigitalZoom")->itemIndex(), 0);
    }

    void focusRangeSteps_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("step");
        QTest::newRow("d 0") << 0x100 << 0x100 << 1;
        QTest::newRow("d 9") << 0x100 << 0x109 << 1;
        QTest::newRow("d 10") << 0x100 << 0x10A << 2;
        QTest::newRow("d 19") << 0x100 << 0x113 << 2;
        QTest::newRow("d 20") << 0x100 << 0x114 << 4;
        QTest::newRow("d 39") << 0x100 << 0x127 << 4;
        QTest::newRow("d 40") << 0x100 << 0x128 << 8;
        QTest::newRow("d 79") << 0x100 << 0x14F << 8;
        QTest::newRow("d 80") << 0x100 << 0x150 << 16;
        QTest::newRow("0x0010..0x0090") << 0x10 << 0x90 << 16;
        QTest::newRow("d 159") << 0x100 << 0x19F << 16;
        QTest::newRow("d 160") << 0x100 << 0x1A0 << 32;
        QTest::newRow("d 0xF000") << 0x0100 << 0xF100 << 32;
    }
    void focusRangeSteps()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, step);
        startLoaded();
        QByteArray reply = Bytes("A0 45 00 10 00 10 00");
        reply.append(char(maximum >> 8)).append(char(maximum & 0xFF));
        reply.append(char(minimum >> 8)).append(char(minimum & 0xFF));
        lastCommand(*tool, Bytes("31 45 00"));
        feedReply(*tool, reply);
        auto *bar = tool->ctl<QSlider>("FocusStepBar");
        QCOMPARE(bar->minimum(), minimum);
        QCOMPARE(bar->maximum(), maximum);
        QCOMPARE(bar->tickInterval(), step);
        QCOMPARE(bar->pageStep(), step);
        QCOMPARE(tool->ctl<QLineEdit>("FocusStepMax")->text(), HexWordText(unsigned(maximum)));
        QCOMPARE(tool->ctl<QLineEdit>("FocusStepMin")->text(), HexWordText(unsigned(minimum)));
        // Outside wait mode the zoom status asks for the focus status once.
        QCOMPARE(sent(*tool, 3), cmds({"31 45 01"}));
    }

    void zoomStatusOutsideWaitMode_data()
    {
        QTest::addColumn<bool>("autoFocus");
        QTest::newRow("AutoFocus off") << false;
        QTest::newRow("AutoFocus on") << true;
    }
    void zoomStatusOutsideWaitMode()
    {
        QFETCH(bool, autoFocus);
        startLoaded();
        {
            Quiet quiet(*tool);
            tool->ctl<QCheckBox>("AutoFocus")->setChecked(autoFocus);
        }
        tool->ctl<QWidget>("FocusStepBar")->setEnabled(!autoFocus);
        read("31 45 00", "A0 45 00 12 34 12 00 00 90 00 10");
        QCOMPARE(mismatches(*tool, {"ZoomStep=1234", "ZoomStepBar=4660", "CurrentZoom=1200",
                                    QStringLiteral("FocusStepBar:") + (autoFocus ? "off" : "on")}),
                 QStringList{});
        QCOMPARE(sent(*tool, 3), cmds({"31 45 01"}));
    }

    void waitModeZoomNotArrived()
    {
        startLoaded();
        tool->ctl<QCheckBox>("CurrentCheck")->setChecked(true);
        tool->line->clearWrites();
        lastCommand(*tool, Bytes("31 45 00"));
        const QStringList before = snapshot(*tool);
        feedReply(*tool, Bytes("A0 45 00 18 00 17 F0 00 90 00 10"));
        QCOMPARE(sent(*tool, 14), cmds({"31 45 00 00 00 00 00 00 00 00 00 00 00 00"}));
        QCOMPARE(snapshot(*tool), before);
    }

    void waitModeZoomArrived()
    {
        startLoaded();
        tool->ctl<QCheckBox>("CurrentCheck")->setChecked(true);
        tool->ctl<QWidget>("FocusStepBar")->setEnabled(false);
        read("31 45 00", "A0 45 00 18 00 18 00 00 90 00 10");
        // In wait mode the focus bar keeps its state; the zoom values show; focus is asked.
        QCOMPARE(mismatches(*tool, {"ZoomStep=1800", "ZoomStepBar=6144", "CurrentZoom=1800", "FocusStepMax=0090",
                                    "FocusStepMin=0010", "FocusStepBar:off", "FocusStepBar[16,144]"}),
                 QStringList{});
        QCOMPARE(sent(*tool, 3), cmds({"31 45 01"}));
    }

    void waitModeFocusNotArrived()
    {
        startLoaded();
        tool->ctl<QCheckBox>("CurrentCheck")->setChecked(true);
        lastCommand(*tool, Bytes("31 45 01"));
        const QStringList before = snapshot(*tool);
        feedReply(*tool, Bytes("A0 45 01 00 50 00 48"));
        QCOMPARE(sent(*tool, 3), cmds({"31 45 01"}));
        QCOMPARE(snapshot(*tool), before);
    }

    void waitModeFocusArrivalReleasesTheGroup_data()
    {
        QTest::addColumn<int>("initial");
        QTest::addColumn<int>("pushSw");
        QTest::addColumn<bool>("autoFocus");
        QTest::addColumn<QStringList>("on");
        QTest::addColumn<QStringList>("off");
        const QStringList always{"PosLoad", "ZoomStep", "ZoomSpinButton", "ZoomStepBar", "GetZoomCurrent",
                                 "ZoomSpeedBar", "FocusSpeedBar", "DigitalZoom", "CurrentCheck", "AutoFocus"};
        const QStringList focus{"FocusStep", "FocusSpinButton", "FocusStepBar", "OnePushAF"};
        const QStringList alarm{"AlarmNo", "AlarmSpinButton"};
        QTest::newRow("all") << 1 << 0 << false << always + focus + alarm + QStringList{"PushSW"} << QStringList{};
        QTest::newRow("AutoFocus") << 1 << 0 << true << always + alarm + QStringList{"PushSW"} << focus;
        QTest::newRow("push switch Freeze") << 1 << 1 << false << always + focus + QStringList{"PushSW"} << alarm;
        QTest::newRow("Initial OFF") << 0 << 0 << false << always + focus + alarm << QStringList{"PushSW"};
    }
    void waitModeFocusArrivalReleasesTheGroup()
    {
        QFETCH(int, initial);
        QFETCH(int, pushSw);
        QFETCH(bool, autoFocus);
        QFETCH(QStringList, on);
        QFETCH(QStringList, off);
        startLoaded();
        {
            Quiet quiet(*tool);
            tool->ctl<RadioGroup>("Initial")->setItemIndex(initial);
            tool->ctl<RadioGroup>("PushSW")->setItemIndex(pushSw);
            tool->ctl<QCheckBox>("AutoFocus")->setChecked(autoFocus);
            tool->ctl<QCheckBox>("CurrentCheck")->setChecked(true);
            read("31 45 00", "A0 45 00 10 00 10 00 01 00 00 00");
        }
        for (const QString &name : on + off)
            tool->window->findChild<QWidget *>(name)->setEnabled(false);
        read("31 45 01", "A0 45 01 00 50 00 50");
        QCOMPARE(mismatches(*tool, {"FocusStep=0050", "FocusStepBar=80", "CurrentFocus=0050"}), QStringList{});
        QStringList expected;
        for (const QString &name : on)
            expected << name + ":on";
        for (const QString &name : off)
            expected << name + ":off";
        QCOMPARE(mismatches(*tool, expected), QStringList{});
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    void focusStatusOutsideWaitMode_data()
    {
        QTest::addColumn<bool>("autoFocus");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("AutoFocus off") << false
                                       << QStringList{"FocusStepBar:on", "DigitalZoom:on", "GetZoomCurrent:on",
                                                      "PushSW:on", "AlarmNo:on", "AlarmSpinButton:on", "PosLoad:off"};
        QTest::newRow("AutoFocus on") << true
                                      << QStringList{"FocusStepBar:off", "DigitalZoom:on", "GetZoomCurrent:on",
                                                     "PushSW:on", "AlarmNo:on", "AlarmSpinButton:on", "PosLoad:off"};
    }
    void focusStatusOutsideWaitMode()
    {
        QFETCH(bool, autoFocus);
        QFETCH(QStringList, expected);
        startLoaded();
        {
            Quiet quiet(*tool);
            tool->ctl<RadioGroup>("Initial")->setItemIndex(1);
            tool->ctl<QCheckBox>("AutoFocus")->setChecked(autoFocus);
            read("31 45 00", "A0 45 00 10 00 10 00 01 00 00 00");
        }
        for (const char *name : {"FocusStepBar", "DigitalZoom", "GetZoomCurrent", "PushSW", "AlarmNo",
                                 "AlarmSpinButton", "PosLoad"})
            tool->ctl<QWidget>(name)->setEnabled(false);
        read("31 45 01", "A0 45 01 00 60 00 58");
        QCOMPARE(mismatches(*tool, QStringList{"FocusStep=0060", "FocusStepBar=96", "CurrentFocus=0058"} + expected),
                 QStringList{});
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    void lensKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("afterWrite");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("2 auto focus on") << 2 << 1 << false
                                         << QStringList{"AutoFocus=checked", "OnePushAF:off", "FocusStep:off",
                                                        "FocusSpinButton:off", "FocusStepBar:off"};
        QTest::newRow("2 auto focus off, after write") << 2 << 0 << true
                                                       << QStringList{"AutoFocus=unchecked", "OnePushAF:on", "FocusStep:on",
                                                                      "FocusSpinButton:on", "FocusStepBar:on"};
        QTest::newRow("5 read") << 5 << 3 << false << QStringList{"ZoomSpeedBar=3"};
        QTest::newRow("5 write") << 5 << 3 << true << QStringList{"ZoomSpeedBar=1"};
        QTest::newRow("5 read past range") << 5 << 9 << false << QStringList{"ZoomSpeedBar=4"};
        QTest::newRow("6 read") << 6 << 4 << false << QStringList{"DigitalZoom=4"};
        QTest::newRow("7 read") << 7 << 2 << false << QStringList{"FocusSpeedBar=2"};
        QTest::newRow("7 write") << 7 << 2 << true << QStringList{"FocusSpeedBar=1"};
        QTest::newRow("8 read") << 8 << 1 << false << QStringList{"AFSleep=1"};
        QTest::newRow("8 write") << 8 << 1 << true << QStringList{"AFSleep=0"};
        QTest::newRow("9 read") << 9 << 1 << false << QStringList{"ZoomMag=1"};
        QTest::newRow("9 write") << 9 << 1 << true << QStringList{"ZoomMag=0"};
    }
    void lensKinds()
    {
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(bool, afterWrite);
        QFETCH(QStringList, expected);
        startLoaded();
        {
            Quiet quiet(*tool);
            tool->ctl<QSlider>("ZoomSpeedBar")->setValue(1);
            tool->ctl<QSlider>("FocusSpeedBar")->setValue(1);
            tool->ctl<RadioGroup>("AFSleep")->setItemIndex(0);
            tool->ctl<RadioGroup>("ZoomMag")->setItemIndex(0);
            tool->ctl<QCheckBox>("AutoFocus")->setChecked(value == 0);
            for (const char *name : {"OnePushAF", "FocusStep", "FocusSpinButton", "FocusStepBar"})
                tool->ctl<QWidget>(name)->setEnabled(value != 0);
            LensValues v;
            v.value = value;
            decoder().LensStatusApply(kind, v, afterWrite);
        }
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    void lensReadRepliesByKind_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("kind 2") << Bytes("A0 45 02 01") << QStringList{"AutoFocus=checked", "OnePushAF:off"};
        QTest::newRow("kind 5") << Bytes("A0 45 05 02") << QStringList{"ZoomSpeedBar=2"};
        QTest::newRow("kind 6") << Bytes("A0 45 06 05") << QStringList{"DigitalZoom=5"};
        QTest::newRow("kind 7") << Bytes("A0 45 07 04") << QStringList{"FocusSpeedBar=4"};
        QTest::newRow("kind 8") << Bytes("A0 45 08 01") << QStringList{"AFSleep=1"};
        QTest::newRow("kind 9") << Bytes("A0 45 09 01") << QStringList{"ZoomMag=1"};
        QTest::newRow("block 8") << Bytes("A0 60 08 01 04 03") << QStringList{"AutoFocus=checked", "ZoomSpeedBar=4",
                                                                              "FocusSpeedBar=3"};
        QTest::newRow("block 10") << Bytes("A0 60 0A 02 01 01 02 00 00 00 00 01")
                                  << QStringList{"Color=2", "PoOSD=1", "ZoomMag=1", "DigitalZoom=2", "AFSleep=1"};
    }
    void lensReadRepliesByKind()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, expected);
        startLoaded();
        lastCommand(*tool, reply.mid(1, 2).prepend(char(0x31)));
        feedReply(*tool, reply);
        QCOMPARE(mismatches(*tool, expected), QStringList{});
    }

    void lensFollowUps_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("waitMode");
        QTest::addColumn<bool>("suppressed");
        QTest::addColumn<QList<QByteArray>>("commands");
        QTest::newRow("3 in wait mode") << 3 << 0 << true << false << cmds({"31 45 01"});
        QTest::newRow("3 outside") << 3 << 0 << false << false << cmds({});
        QTest::newRow("3 refused") << 3 << 0 << true << true << cmds({});
        QTest::newRow("4 step 0") << 4 << 0 << false << false << cmds({"21 46 00"});
        QTest::newRow("4 step 0 refused") << 4 << 0 << false << true << cmds({});
        QTest::newRow("4 step 1") << 4 << 1 << false << false << cmds({});
        QTest::newRow("0 wait, refused") << 0 << 0 << true << true << cmds({});
    }
    void lensFollowUps()
    {
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(bool, waitMode);
        QFETCH(bool, suppressed);
        QFETCH(QList<QByteArray>, commands);
        startLoaded();
        tool->ctl<QCheckBox>("CurrentCheck")->setChecked(waitMode);
        tool->line->clearWrites();
        tool->seq().SendSuppressed = suppressed;
        LensValues v;
        v.value = value;
        v.target = 0x1200; // kind 0: not arrived
        v.current = 0x1100;
        decoder().LensStatusApply(kind, v, true);
        tool->seq().SendSuppressed = false;
        QCOMPARE(sent(*tool, 3), commands);
    }

    void lensAdjustmentFinished()
    {
        startLoaded();
        auto *go = standIn<QPushButton>(*tool, "TabSheet4", "AdjustGo", QStringLiteral("Adjust Go"));
        auto *set = standIn<QPushButton>(*tool, "TabSheet4", "IRISAdjustSet", QStringLiteral("Set"));
        go->setEnabled(false);
        set->setEnabled(false);
        LensValues v;
        v.value = 1;
        decoder().LensStatusApply(4, v, true);
        QVERIFY(ownEnabled(go) && ownEnabled(set));
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
    }

    void digitalZoomEcho_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("irisOn");
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<QList<QByteArray>>("commands");
        QTest::addColumn<bool>("irisAfter");
        QTest::newRow("Easy") << int(PageEasy) << true << true << cmds({"31 45 00 00"}) << true;
        QTest::newRow("Line, iris step") << int(PageLine) << false << true << cmds({"21 48 03 00"}) << false;
        QTest::newRow("Line, lens step") << int(PageLine) << true << false << cmds({"21 45 04 00"}) << false;
        QTest::newRow("Line, idle") << int(PageLine) << true << true << cmds({}) << true;
        QTest::newRow("Easy2") << int(PageEasy2) << true << true << cmds({}) << true;
    }
    void digitalZoomEcho()
    {
        QFETCH(int, page);
        QFETCH(bool, irisOn);
        QFETCH(bool, goOn);
        QFETCH(QList<QByteArray>, commands);
        QFETCH(bool, irisAfter);
        startLoaded();
        auto *go = standIn<QPushButton>(*tool, "TabSheet4", "AdjustGo", QStringLiteral("Adjust Go"));
        auto *iris = standIn<QPushButton>(*tool, "TabSheet4", "IRISAdjustSet", QStringLiteral("Set"));
        if (page != PageEasy) {
            tool->ctl<QLineEdit>("pwl")->setText(QStringLiteral("wmek")); // the service pages
            tool->showPage(page);
            tool->finishLoad();
        }
        QCOMPARE(tool->window->pageOnShow(), page);
        go->setEnabled(goOn);
        iris->setEnabled(irisOn);
        tool->line->clearWrites();
        LensValues v;
        v.value = 0;
        decoder().LensStatusApply(6, v, true);
        QCOMPARE(sent(*tool, 4), commands);
        QCOMPARE(ownEnabled(iris), irisAfter);
        // Refused follow-ups are dropped and change nothing.
        tool->line->clearWrites();
        iris->setEnabled(irisOn);
        tool->seq().SendSuppressed = true;
        decoder().LensStatusApply(6, v, true);
        tool->seq().SendSuppressed = false;
        QCOMPARE(sent(*tool, 4), QList<QByteArray>{});
        QCOMPARE(ownEnabled(iris), irisOn);
    }

    void lensControlsEnable_data()
    {
        QTest::addColumn<int>("initial");
        QTest::addColumn<int>("freeze");
        QTest::addColumn<int>("pushSw");
        QTest::addColumn<bool>("autoFocus");
        QTest::addColumn<bool>("group");
        QTest::addColumn<bool>("alarm");
        QTest::addColumn<bool>("focus");
        // Starting from all disabled: "only when" leaves the rest as it was.
        QTest::newRow("ON, OFF, Alarm") << 1 << 0 << 0 << false << true << true << true;
        QTest::newRow("push switch Freeze") << 1 << 0 << 1 << false << true << false << true;
        QTest::newRow("AutoFocus") << 1 << 0 << 0 << true << true << true << false;
        QTest::newRow("Initial OFF") << 0 << 0 << 0 << false << false << false << false;
        QTest::newRow("Freeze ON") << 1 << 1 << 0 << false << false << false << false;
        QTest::newRow("Initial none") << -1 << 0 << 0 << false << false << false << false;
    }
    void lensControlsEnable()
    {
        QFETCH(int, initial);
        QFETCH(int, freeze);
        QFETCH(int, pushSw);
        QFETCH(bool, autoFocus);
        QFETCH(bool, group);
        QFETCH(bool, alarm);
        QFETCH(bool, focus);
        const QStringList groupNames{"ZoomSpeedBar", "FocusSpeedBar", "DigitalZoom", "PushSW", "CurrentCheck",
                                     "ZoomStep", "ZoomSpinButton", "ZoomStepBar", "GetZoomCurrent", "AutoFocus",
                                     "PositionNo", "PositionSpinButton", "PosLoad", "PosSave"};
        const QStringList alarmNames{"AlarmNo", "AlarmSpinButton"};
        const QStringList focusNames{"FocusStep", "FocusSpinButton", "FocusStepBar", "OnePushAF"};
        for (bool start : {false, true}) {
            startLoaded();
            {
                Quiet quiet(*tool);
                tool->ctl<RadioGroup>("Initial")->setItemIndex(initial);
                tool->ctl<RadioGroup>("Freeze")->setItemIndex(freeze);
                tool->ctl<RadioGroup>("PushSW")->setItemIndex(pushSw);
                tool->ctl<QCheckBox>("AutoFocus")->setChecked(autoFocus);
            }
            for (const QString &name : groupNames + alarmNames + focusNames)
                tool->window->findChild<QWidget *>(name)->setEnabled(start);
            decoder().LensControlsEnable();
            const bool on = initial == 1 && freeze == 0;
            for (const QString &name : groupNames)
                QVERIFY2(ownEnabled(tool->window->findChild<QWidget *>(name)) == group, qPrintable(name));
            for (const QString &name : alarmNames)
                QVERIFY2(ownEnabled(tool->window->findChild<QWidget *>(name)) == (on ? (alarm || start) : false),
                         qPrintable(name));
            for (const QString &name : focusNames)
                QVERIFY2(ownEnabled(tool->window->findChild<QWidget *>(name)) == (on ? (focus || start) : false),
                         qPrintable(name));
        }
    }

    void initialReplyRunsLensEnabling()
    {
        startLoaded();
        {
            Quiet quiet(*tool);
            tool->ctl<RadioGroup>("PushSW")->setItemIndex(0);
        }
        read("31 49", "A0 49 01");
        QCOMPARE(mismatches(*tool, {"Initial=1", "ZoomStep:on", "PosSave:on", "AlarmNo:on", "FocusStep:on"}), QStringList{});
        read("31 1A 03", "A0 1A 03 01");
        QCOMPARE(mismatches(*tool, {"Freeze=1", "ZoomStep:off", "PosSave:off", "AlarmNo:off", "FocusStep:off"}),
                 QStringList{});
    }

    // ---- position preset loaded ---------------------------------------------------------

    void presetLoadedPollsInWaitMode_data()
    {
        QTest::addColumn<bool>("posLoadOn");
        QTest::addColumn<bool>("suppressed");
        QTest::addColumn<QList<QByteArray>>("commands");
        QTest::newRow("waiting") << false << false << cmds({"31 45 00"});
        QTest::newRow("waiting, sends even when refused") << false << true << cmds({"31 45 00"});
        QTest::newRow("not waiting") << true << false << cmds({});
    }
    void presetLoadedPollsInWaitMode()
    {
        QFETCH(bool, posLoadOn);
        QFETCH(bool, suppressed);
        QFETCH(QList<QByteArray>, commands);
        startLoaded();
        tool->ctl<QWidget>("PosLoad")->setEnabled(posLoadOn);
        lastCommand(*tool, Bytes("31 52 01 05"));
        tool->seq().SendSuppressed = suppressed;
        feedReply(*tool, Bytes("A0 52 01 05"));
        tool->seq().SendSuppressed = false;
        QCOMPARE(sent(*tool, 3), commands);
    }

    void presetLoadedOnEasy2RunsItsLoad()
    {
        startLoaded();
        tool->showPage(PageEasy2);
        tool->finishLoad();
        tool->ctl<QLineEdit>("MASK_POS")->setText(QStringLiteral("07"));
        tool->ctl<QWidget>("PosLoad")->setEnabled(false);
        // Whatever page loaded last, the Easy2 steps follow.
        tool->seq().CurrentLoadPage = PageEasy;
        lastCommand(*tool, Bytes("31 52 01 07"));
        feedReply(*tool, Bytes("A0 52 01 07"));
        QCOMPARE(sent(*tool, 4), cmds({"31 45 00 00", "31 57 00 07"}));
        QCOMPARE(tool->seq().TransferStep, 2);
        tool->line->clearWrites();
        tool->answer(); // the zoom status answer takes the load on
        QCOMPARE(sent(*tool, 4), cmds({"31 57 01 07"}));
        QCOMPARE(tool->finishLoad(), 6);
        QCOMPARE(sent(*tool, 4), cmds({"31 57 01 07", "31 57 02 07", "31 57 03 07", "31 5C 00 00", "31 5D 00 00",
                                       "31 5F 00 00"}));
    }

    // ---- hidden timing panel and Line page values -------------------------------------------

    void hiddenPanelReplies()
    {
        startLoaded();
        auto *shut = standInRadio(*tool, "Panel3", "shut_disp_sel", {"Use", "No use"});
        auto *sync = standInRadio(*tool, "Panel3", "sync_disp_sel", {"Use", "No use"});
        QLineEdit *delays[4];
        const char *delayNames[] = {"rg_width", "shd_delay", "shp_delay", "rg_delay"};
        for (int i = 0; i < 4; ++i)
            delays[i] = standIn<QLineEdit>(*tool, "Panel3", delayNames[i]);
        auto *pwm = standIn<QLineEdit>(*tool, "Panel3", "pwm_ref");
        auto *bias = standIn<QLineEdit>(*tool, "TabSheet4", "BiasNum");
        read("31 37 00", "A0 37 00 01");
        QCOMPARE(shut->itemIndex(), 1);
        read("31 37 01", "A0 37 01 05");
        QCOMPARE(sync->itemIndex(), 1);
        read("31 42", "A0 42 AF 03");
        QCOMPARE(delays[0]->text(), QStringLiteral("A"));
        QCOMPARE(delays[1]->text(), QStringLiteral("F"));
        QCOMPARE(delays[2]->text(), QStringLiteral("0"));
        QCOMPARE(delays[3]->text(), QStringLiteral("3"));
        read("31 43", "A0 43 7F");
        QCOMPARE(pwm->text(), QStringLiteral("7F"));
        read("31 53", "A0 53 3C");
        QCOMPARE(bias->text(), QStringLiteral("3C"));
        read("31 53", "A0 53 0A");
        QCOMPARE(bias->text(), QStringLiteral("0A"));
    }

    void absentControlsAreSkipped()
    {
        // Replies for pages that are not built change nothing and do not fail.
        startLoaded();
        const QStringList before = snapshot(*tool);
        if (tool->window->findChild<QObject *>(QStringLiteral("CromaBY"))
            || tool->window->findChild<QObject *>(QStringLiteral("MASK_Mode1"))
            || tool->window->findChild<QObject *>(QStringLiteral("BiasNum")))
            QSKIP("the pages of these controls are built now");
        read("31 37 00", "A0 37 00 01");
        read("31 42", "A0 42 AF 03");
        read("31 43", "A0 43 7F");
        read("31 53", "A0 53 3C");
        read("21 57 00", "A0 57 00 00 00 01 01 10 20 30 40");
        QStringList after = snapshot(*tool);
        QCOMPARE(after, before);
        read("31 0A 2B", "A0 0A 2B 34 12");
        QCOMPARE(tool->window->shared().RegisterImage[0x2B], 0x3412);
    }

    // ---- the full Easy load ---------------------------------------------------------------

    void fullEasyLoad()
    {
        tool = std::make_unique<Tool>();
        QList<QByteArray> titleCalls;
        decoder().TitlePartMerge = [&titleCalls](int part, const std::uint8_t *codes) {
            titleCalls << QByteArray(1, char(part)) + QByteArray(reinterpret_cast<const char *>(codes), 10);
        };
        QVERIFY(answerEasyLoad(CHOSEN_BLOCKS, "00 FF"));

        QList<QByteArray> load;
        for (int k = 0; k < 12; ++k)
            load << Bytes("31 60") + QByteArray(1, char(k)) + QByteArray(11, '\0');
        load << Bytes("31 0C 01 51") + QByteArray(10, '\0');
        QCOMPARE(tool->line->commands(14), load);
        // No throttle timer is left to send a decoded value later.
        for (BarTimer *t : tool->window->findChildren<BarTimer *>())
            QVERIFY2(!t->isArmed(), qPrintable(t->objectName()));

        QCOMPARE(titleCalls, cmds({"00 41 00 42 00 43 00 44 00 45 00", "01 01 02 03 04 05 06 07 08 09 0A",
                                   "02 00 00 00 00 00 00 00 00 00 00", "03 00 00 00 00 00 00 00 00 00 00"}));
        QCOMPARE(mismatches(*tool,
                            {
                                // block 3
                                "Ctitlepos=1",
                                // block 4
                                "BLCCheck01=checked", "BLCCheck08=checked", "BLCCheck41=checked",
                                "BLCCheck02=unchecked", "BLCCheck48=unchecked", "wb_select=1", "AWB:on", "ATWBar:off",
                                "ATWBar=3", "Rgain=6", "BGain=7",
                                // block 5
                                "Sync=1", "Sync:on", "PhaseLevel:on", "PhaseBar:on", "PhaseBar[-512,512]",
                                "PhaseLevel=0123", "PhaseBar=291", "BLCSensBar=4", "AGCBar=2", "SENSBar=8",
                                "Freeze=0", "HRev:on", "VRev:on",
                                // block 6
                                "PEAK=1", "PeakOnBar:on", "PeakOnBar=6", "ALC=1", "ALCAutoBar:off", "ALCFixBar:on",
                                "ALCAutoBar=2", "ALCFixBar=7", "AES=0", "AESAutoBar:on", "AESFixBox:off",
                                "AESAutoBar=5", "AESFixBox=3", "HGainBar=11", "VGainBar=9", "AlarmNo=12",
                                // block 7
                                "ZoomStepBar[4096,6344]", "ZoomStepBar=5376", "ZoomStep=1500", "CurrentZoom=1400",
                                "FocusStepMax=0300", "FocusStepMin=0100", "FocusStepBar[256,768]",
                                // block 8
                                "AutoFocus=unchecked", "ZoomSpeedBar=3", "FocusSpeedBar=2", "PositionNo=07",
                                "Preset=1", "PresetSet:on", "PushSW=0", "Select=1", "PosiNega=1", "Priority=1",
                                "ZOOMTR=1",
                                // block 9
                                "Mark=1", "Mark_up:on", "Mark_down:on", "Mark_left:on", "Mark_right:on", "Gamma=1",
                                "langu_sel=2",
                                // block 10
                                "Color=2", "PoOSD=1", "ZoomMag=1", "DigitalZoom=3", "FocusStep=0200",
                                "FocusStepBar=512", "CurrentFocus=01F0", "AFSleep=1",
                                // block 11
                                "Resolution=Hi-Resolution", "TV=PAL", "VRev=checked", "HRev=unchecked", "BLC=0",
                                "BLCCheck01:off", "BLCCheck48:off", "BLCSensBar:off", "AWBBar=4", "AWBBar:on",
                                "wb_select:on", "Initial=1",
                                // the lens group released by Initial ON and Freeze OFF
                                "ZoomSpeedBar:on", "FocusSpeedBar:on", "DigitalZoom:on", "PushSW:on", "CurrentCheck:on",
                                "ZoomStep:on", "ZoomSpinButton:on", "ZoomStepBar:on", "GetZoomCurrent:on",
                                "AutoFocus:on", "PositionNo:on", "PositionSpinButton:on", "PosLoad:on", "PosSave:on",
                                "AlarmNo:on", "AlarmSpinButton:on", "FocusStep:on", "FocusSpinButton:on",
                                "FocusStepBar:on", "OnePushAF:on",
                                // the EEPROM word below 256
                                "WB:on", "AWB:on",
                            }),
                 QStringList{});
        QCOMPARE(tool->ctl<QSlider>("PhaseBar")->tickInterval(), 102);
        QCOMPARE(tool->ctl<QSlider>("PhaseBar")->pageStep(), 20);
        QCOMPARE(tool->ctl<QSlider>("FocusStepBar")->tickInterval(), 32);
        QCOMPARE(tool->ctl<QComboBox>("AESFixBox")->itemText(1), QStringLiteral("1/120"));
        QCOMPARE(tool->window->findChild<QAction *>(QStringLiteral("OnePush1"))->text(), QStringLiteral("OnePushAF-Off"));
        const SharedState &sh = tool->window->shared();
        QCOMPARE(int(sh.MarkX), 0x0102);
        QCOMPARE(int(sh.MarkY), 0x0304);
        QCOMPARE(sh.SensorExtentH, 800);
        QCOMPARE(sh.SensorExtentV, 312);
        QCOMPARE(sh.RegisterImage[1], 0x4000);
        QCOMPARE(sh.RegisterImage[0x40], 0x0001);
    }

    // ---- the echo rule ---------------------------------------------------------------------

    void sameValuesSendNothing_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        auto row = [](const char *name, const char *c, const char *r) { QTest::newRow(name) << Bytes(c) << Bytes(r); };
        row("AGC bar", "31 1A 01", "A0 1A 01 02");
        row("Select", "31 1A 04", "A0 1A 04 01");
        row("VRev", "31 1D 04", "A0 1D 04 01");
        row("HRev", "31 1D 05", "A0 1D 05 00");
        row("phase level", "31 1C 01", "A0 1C 01 01 23");
        row("phase", "31 1C 00", "A0 1C 00 01 02 00 FE 00");
        row("alarm number", "31 51", "A0 51 0C");
        row("H gain", "31 47 00", "A0 47 00 0B");
        row("AES fix item", "31 48 02 01 01", "A0 48 02 01 01 03");
        row("PEAK", "31 48 00 00", "A0 48 00 00 01");
        row("Initial", "31 49", "A0 49 01");
        row("white balance", "31 1B 00", "A0 1B 00 01");
        row("title position", "31 10 03", "A0 10 03 01");
        row("block 5 again", "31 60 05", "A0 60 05 01 02 00 FE 00 01 23 04 02 08 00");
        row("block 6 again", "31 60 06", "A0 60 06 01 06 01 02 07 00 05 03 0B 09 0C");
        row("block 8 again", "31 60 08", "A0 60 08 00 03 02 07 01 00 01 01 01 01 00");
        row("block 11 again", "31 60 0B", "A0 60 0B 40 00 00 01 01 00 00 00 01 00 00");
    }
    void sameValuesSendNothing()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        tool = std::make_unique<Tool>();
        QVERIFY(answerEasyLoad(CHOSEN_BLOCKS, "00 FF"));
        lastCommand(*tool, command);
        const QStringList before = snapshot(*tool);
        feedReply(*tool, reply);
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
        QCOMPARE(snapshot(*tool), before);
    }

    void changedValueIsSentOnceThenSettles()
    {
        // After a load a read that changes Select runs its handler once; the
        // camera's echo of that write ends the exchange.
        tool = std::make_unique<Tool>();
        QVERIFY(answerEasyLoad(CHOSEN_BLOCKS, "00 FF"));
        read("31 1A 04", "A0 1A 04 00");
        QCOMPARE(tool->ctl<RadioGroup>("Select")->itemIndex(), 0);
        QCOMPARE(sent(*tool, 4), cmds({"21 1A 04 00"}));
        tool->line->clearWrites();
        feedReply(*tool, Bytes("A0 1A 04 00"));
        QCOMPARE(sent(*tool, 14), QList<QByteArray>{});
        QCOMPARE(tool->ctl<RadioGroup>("Select")->itemIndex(), 0);
    }
};

QTEST_MAIN(TestStatusDecoder)
#include "tst_statusdecoder.moc"
