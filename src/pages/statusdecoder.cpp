#include "statusdecoder.h"

#include "../ui/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>

#include <algorithm>

namespace h7q8 {

namespace {

constexpr std::uint8_t ACCEPTED = 0xA0;
constexpr std::uint8_t CLASS_READ = 0x31;
constexpr std::uint8_t CLASS_WRITE = 0x21;

QString Decimal2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString Word4(int value)
{
    return HexWordText(unsigned(value) & 0xFFFFu);
}

// The controls a lens status enables or disables as one group.
const char *const LENS_GROUP[] = {"ZoomSpeedBar", "FocusSpeedBar", "DigitalZoom", "PushSW",
                                  "CurrentCheck", "ZoomStep",      "ZoomSpinButton",
                                  "ZoomStepBar",  "GetZoomCurrent", "AutoFocus",
                                  "PositionNo",   "PositionSpinButton", "PosLoad", "PosSave"};
const char *const ALARM_GROUP[] = {"AlarmNo", "AlarmSpinButton"};
const char *const FOCUS_GROUP[] = {"FocusStep", "FocusSpinButton", "FocusStepBar", "OnePushAF"};
const char *const MARK_BUTTONS[] = {"Mark_up", "Mark_down", "Mark_left", "Mark_right"};
const char *const WB_CONTROLS[] = {"wb_select", "AWB", "ATWBar", "AWBBar", "WB"};

} // namespace

StatusDecoder::StatusDecoder(PageContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("StatusDecoder"));
}

// ---- control access -------------------------------------------------------

void StatusDecoder::setRadio(const char *name, int index)
{
    // An index past the last item selects the last item (RadioGroup's rule).
    if (auto *group = m_ctx.ctl<RadioGroup>(QString::fromLatin1(name)))
        group->setItemIndex(index);
}

void StatusDecoder::setBar(const char *name, int position)
{
    // QSlider holds a position outside its range at the nearer end.
    if (auto *bar = m_ctx.ctl<QSlider>(QString::fromLatin1(name)))
        bar->setValue(position);
}

void StatusDecoder::setCombo(const char *name, int index)
{
    // A value past the list leaves the box without selection.
    if (auto *box = m_ctx.ctl<QComboBox>(QString::fromLatin1(name)))
        box->setCurrentIndex(index < box->count() ? index : -1);
}

void StatusDecoder::setText(const char *name, const QString &text)
{
    if (auto *edit = m_ctx.ctl<QLineEdit>(QString::fromLatin1(name)))
        edit->setText(text);
}

void StatusDecoder::setChecked(const char *name, bool checked)
{
    if (auto *box = m_ctx.ctl<QAbstractButton>(QString::fromLatin1(name)))
        box->setChecked(checked);
}

void StatusDecoder::setEnabled(const char *name, bool on)
{
    if (auto *w = m_ctx.ctl<QWidget>(QString::fromLatin1(name)))
        w->setEnabled(on);
}

int StatusDecoder::radioIndex(const char *name) const
{
    auto *group = m_ctx.ctl<RadioGroup>(QString::fromLatin1(name));
    return group ? group->itemIndex() : -1;
}

bool StatusDecoder::isChecked(const char *name) const
{
    auto *box = m_ctx.ctl<QAbstractButton>(QString::fromLatin1(name));
    return box && box->isChecked();
}

bool StatusDecoder::enabledOwn(const char *name) const
{
    // A page load disables the panels, not the controls: test the control's own flag.
    auto *w = m_ctx.ctl<QWidget>(QString::fromLatin1(name));
    return w && ownEnabled(w);
}

// ---- dispatch ----------------------------------------------------------------

void StatusDecoder::Trans_end_common()
{
    const FrameStore &f = m_ctx.frames();
    if (f.rep(1) != ACCEPTED)
        return;
    // The reply does not say what it answers; the last command's class does.
    const std::uint8_t cls = f.cmd(1);
    if (cls == CLASS_WRITE) {
        if (f.rep(2) == 0x57)
            maskReply();
    } else if (cls == CLASS_READ) {
        readReply();
    }
}

void StatusDecoder::readReply()
{
    const FrameStore &f = m_ctx.frames();
    const int b3 = f.rep(3);
    const int b4 = f.rep(4);
    const int b5 = f.rep(5);
    const int b6 = f.rep(6);

    switch (f.rep(2)) {
    case 0x0A:
    case 0x0B: {
        const int value = f.repWord(4);
        m_ctx.shared.RegisterImage[std::size_t(b3)] = value;
        if (b3 == 0x01) {
            resolution(value, false);
        } else if (b3 == 0x2B) {
            setBar("CromaBY", b4);
            setBar("CromaRY", b5);
        } else if (b3 == 0x40) {
            videoStandard(value);
        }
        break;
    }
    case 0x0C:
        if (f.repWord(3) == 0x0151 && f.repWord(5) >= 256)
            for (const char *name : WB_CONTROLS)
                setEnabled(name, false);
        break;
    case 0x10:
        if (b3 == 1) {
            if (TitlePartMerge)
                TitlePartMerge(b4, &f.reply[5]);
        } else if (b3 == 3) {
            setCombo("Ctitlepos", b4);
        }
        break;
    case 0x18:
        if (b3 == 0) {
            InterlockedReport(QStringLiteral("BLC"), b4);
            blcEnabling();
        }
        break;
    case 0x19:
        BlcAreaBits(&f.reply[3]);
        break;
    case 0x1A:
        switch (b3) {
        case 1: setBar("AGCBar", b4); break;
        case 2: setBar("SENSBar", b4); break;
        case 3:
            freezeState(b4);
            LensControlsEnable();
            break;
        case 4: setRadio("Select", b4); break;
        }
        break;
    case 0x1B:
        switch (b3) {
        case 0: WhiteBalanceMode(b4); break;
        case 2: setBar("Rgain", b4); break;
        case 3: setBar("BGain", b4); break;
        case 4: oneShotWhiteBalance(b4); break;
        case 5: setBar("ATWBar", b4); break;
        case 6: setBar("AWBBar", b4); break;
        }
        break;
    case 0x1C:
        if (b3 == 0) {
            setRadio("Sync", b4);
            phaseRange(f.repSignedWord(5), f.repSignedWord(7));
            syncState(b4);
        } else if (b3 == 1) {
            phaseLevel(f.repSignedWord(4));
        }
        break;
    case 0x1D:
        if (b3 == 4)
            setChecked("VRev", b4 != 0);
        else if (b3 == 5)
            setChecked("HRev", b4 != 0);
        else if (b3 == 7)
            setRadio("PosiNega", b4);
        break;
    case 0x20:
        presetState(b4);
        break;
    case 0x37:
        if (b3 == 0)
            setRadio("shut_disp_sel", b4);
        else if (b3 == 1)
            setRadio("sync_disp_sel", b4);
        break;
    case 0x42: {
        const QString digits = Word4(f.repWord(3));
        const char *const edits[] = {"rg_width", "shd_delay", "shp_delay", "rg_delay"};
        for (int i = 0; i < 4; ++i)
            setText(edits[i], digits.mid(i, 1));
        break;
    }
    case 0x43:
        setText("pwm_ref", HexByteText(unsigned(b3)));
        break;
    case 0x45:
        LensStatusReply(false);
        break;
    case 0x47:
        if (b3 == 0)
            setBar("HGainBar", b4);
        else if (b3 == 1)
            setBar("VGainBar", b4);
        break;
    case 0x48:
        if (b3 == 0) {
            if (b4 == 0) {
                InterlockedReport(QStringLiteral("PEAK"), b5);
                peakEnabling();
            } else if (b4 == 1) {
                setBar("PeakOnBar", b5);
            }
        } else if (b3 == 1) {
            if (b4 == 0) {
                InterlockedReport(QStringLiteral("ALC"), b5);
                alcEnabling();
            } else if (b4 == 1) {
                if (b5 == 0)
                    setBar("ALCAutoBar", b6);
                else if (b5 == 1)
                    setBar("ALCFixBar", b6);
            }
        } else if (b3 == 2) {
            if (b4 == 0) {
                InterlockedReport(QStringLiteral("AES"), b5);
                aesEnabling();
            } else if (b4 == 1) {
                if (b5 == 0)
                    setBar("AESAutoBar", b6);
                else if (b5 == 1)
                    setCombo("AESFixBox", b6);
            }
        }
        break;
    case 0x49:
        setRadio("Initial", b3);
        LensControlsEnable();
        break;
    case 0x50:
        setBar("BLCSensBar", b3);
        break;
    case 0x51:
        setText("AlarmNo", Decimal2(b3));
        break;
    case 0x52:
        if (b3 == 0) {
            setText("PositionNo", Decimal2(b4));
            setText("MASK_POS", Decimal2(b4));
        } else if (b3 == 1) {
            // A preset load in wait mode polls the lens whatever the link state says.
            if (!enabledOwn("PosLoad") && m_ctx.ctl<QWidget>(QStringLiteral("PosLoad")))
                m_ctx.send({0x31, 0x45, 0x00});
            auto *tabs = m_ctx.root()->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
            if (tabs && tabs->currentIndex() == PageEasy2) {
                // The Easy2 load takes over from step 1; its continuation must
                // run the Easy2 steps, whatever page loaded last.
                m_ctx.seq.CurrentLoadPage = PageEasy2;
                m_ctx.seq.Trans_init(PageEasy2, 1);
            }
        } else if (b3 == 2) {
            pushSwitchState(b4);
        }
        break;
    case 0x53:
        setText("BiasNum", HexByteText(unsigned(b3)));
        break;
    case 0x56:
        if (b3 == 0) {
            markState(b4);
        } else if (b3 == 1) {
            m_ctx.shared.MarkX = std::uint16_t(f.repWord(4));
            m_ctx.shared.MarkY = std::uint16_t(f.repWord(6));
        }
        break;
    case 0x57:
        if (b3 <= 3)
            maskReply();
        break;
    case 0x5B:
        setRadio("langu_sel", b4);
        break;
    case 0x5C:
        if (MotionSet)
            MotionSet();
        break;
    case 0x5D:
        if (PowerOnSet)
            PowerOnSet();
        break;
    case 0x5F:
        if (CommIDSet)
            CommIDSet();
        break;
    case 0x60:
        statusBlock(b3);
        break;
    default:
        break;
    }
}

void StatusDecoder::maskReply()
{
    const FrameStore &f = m_ctx.frames();
    const int n = f.rep(3);
    if (n == 4) {
        if (MotionSet)
            MotionSet();
        return;
    }
    if (n > 3)
        return;
    const QByteArray mask = QByteArray::number(n + 1);
    auto name = [&](const char *head, const char *tail) {
        return QByteArray(head) + mask + QByteArray(tail);
    };
    setRadio(name("MASK_Mode", "").constData(), f.rep(6));
    setRadio(name("MASK", "_Con").constData(), f.rep(7));
    const char *const edits[] = {"MASK_HS", "MASK_HE", "MASK_VS", "MASK_VE"};
    for (int i = 0; i < 4; ++i)
        setText(name(edits[i], "").constData(), QString::number(f.rep(8 + i)));
}

void StatusDecoder::statusBlock(int block)
{
    const FrameStore &f = m_ctx.frames();
    auto b = [&f](int k) { return int(f.rep(k)); };
    switch (block) {
    case 0:
    case 1:
    case 2:
    case 3:
        if (TitlePartMerge)
            TitlePartMerge(block, &f.reply[4]);
        if (block == 3)
            setCombo("Ctitlepos", b(14));
        break;
    case 4:
        BlcAreaBits(&f.reply[4]);
        WhiteBalanceMode(b(10));
        setBar("ATWBar", b(11));
        setBar("AWBBar", b(12));
        setBar("Rgain", b(13));
        setBar("BGain", b(14));
        break;
    case 5:
        syncState(b(4));
        phaseRange(f.repSignedWord(5), f.repSignedWord(7));
        phaseLevel(f.repSignedWord(9));
        setBar("BLCSensBar", b(11));
        setBar("AGCBar", b(12));
        setBar("SENSBar", b(13));
        freezeState(b(14));
        break;
    case 6:
        InterlockedReport(QStringLiteral("PEAK"), b(4));
        peakEnabling();
        setBar("PeakOnBar", b(5));
        InterlockedReport(QStringLiteral("ALC"), b(6));
        alcEnabling();
        setBar("ALCAutoBar", b(7));
        setBar("ALCFixBar", b(8));
        InterlockedReport(QStringLiteral("AES"), b(9));
        aesEnabling();
        setBar("AESAutoBar", b(10));
        setCombo("AESFixBox", b(11));
        setBar("HGainBar", b(12));
        setBar("VGainBar", b(13));
        setText("AlarmNo", Decimal2(b(14)));
        break;
    case 7: {
        LensValues zoom;
        zoom.target = f.repWord(4);
        zoom.current = f.repWord(6);
        zoom.focusMax = f.repWord(8);
        zoom.focusMin = f.repWord(10);
        LensStatusApply(0, zoom, false);
        break;
    }
    case 8: {
        LensValues v;
        v.value = b(4);
        LensStatusApply(2, v, false);
        v.value = b(5);
        LensStatusApply(5, v, false);
        v.value = b(6);
        LensStatusApply(7, v, false);
        setText("PositionNo", Decimal2(b(7)));
        presetState(b(8));
        pushSwitchState(b(9));
        setRadio("Select", b(10));
        setRadio("PosiNega", b(11));
        setRadio("Priority", b(12));
        setRadio("ZOOMTR", b(13));
        if (auto *onePush = m_ctx.root()->findChild<QAction *>(QStringLiteral("OnePush1")))
            onePush->setText(b(13) == 0 ? QStringLiteral("OnePushAF-On")
                                        : QStringLiteral("OnePushAF-Off"));
        break;
    }
    case 9:
        markState(b(4));
        m_ctx.shared.MarkX = std::uint16_t(f.repWord(5));
        m_ctx.shared.MarkY = std::uint16_t(f.repWord(7));
        setRadio("Gamma", b(11));
        setRadio("langu_sel", b(12));
        break;
    case 10: {
        setRadio("Color", b(4));
        setRadio("PoOSD", b(5));
        setRadio("ZoomMag", b(6));
        LensValues v;
        v.value = b(7);
        LensStatusApply(6, v, false);
        LensValues focus;
        focus.target = f.repWord(8);
        focus.current = f.repWord(10);
        LensStatusApply(1, focus, false);
        setRadio("AFSleep", b(12));
        break;
    }
    case 11: {
        const int reg1 = f.repWord(4);
        m_ctx.shared.RegisterImage[0x01] = reg1;
        resolution(reg1, true);
        const int reg40 = f.repWord(6);
        m_ctx.shared.RegisterImage[0x40] = reg40;
        videoStandard(reg40);
        setChecked("VRev", b(8) != 0);
        setChecked("HRev", b(9) != 0);
        InterlockedReport(QStringLiteral("BLC"), b(10));
        blcEnabling();
        oneShotWhiteBalance(b(11));
        setRadio("Initial", b(12));
        LensControlsEnable();
        break;
    }
    default: // blocks above 11 carry nothing this tool reads
        break;
    }
}

// ---- pieces -------------------------------------------------------------------

void StatusDecoder::resolution(int value, bool blockExtents)
{
    const bool hi = (value & 0x4000) != 0;
    if (auto *label = m_ctx.ctl<QLabel>(QStringLiteral("Resolution")))
        label->setText(hi ? QStringLiteral("Hi-Resolution") : QStringLiteral("Lo-Resolution"));
    // Status block 11 reports the extents the defect cursor uses on the full picture.
    if (blockExtents)
        m_ctx.shared.SensorExtentH = hi ? 800 : 544;
    else
        m_ctx.shared.SensorExtentH = hi ? 767 : 511;
}

void StatusDecoder::videoStandard(int value)
{
    const bool pal = (value & 0x0001) != 0;
    if (auto *label = m_ctx.ctl<QLabel>(QStringLiteral("TV")))
        label->setText(pal ? QStringLiteral("PAL") : QStringLiteral("NTSC"));
    m_ctx.shared.SensorExtentV = pal ? 312 : 256;
    auto *box = m_ctx.ctl<QComboBox>(QStringLiteral("AESFixBox"));
    if (!box || box->count() < 2)
        return;
    // Only the caption of item 1 changes: the selection stays on the same item
    // and nothing is sent (removing the shown item would otherwise move the
    // selection and send another shutter speed).
    const int shown = box->currentIndex();
    const QSignalBlocker quiet(box);
    box->removeItem(1);
    if (box->count() == 7)
        box->insertItem(1, pal ? QStringLiteral("1/120") : QStringLiteral("1/100"));
    box->setCurrentIndex(shown < box->count() ? shown : -1);
}

void StatusDecoder::phaseRange(int maximum, int minimum)
{
    auto *bar = m_ctx.ctl<QSlider>(QStringLiteral("PhaseBar"));
    if (!bar)
        return;
    bar->setMaximum(maximum);
    bar->setMinimum(minimum);
    bar->setTickInterval((maximum - minimum) / 10);
    bar->setPageStep((maximum - minimum) / 50);
}

void StatusDecoder::phaseLevel(int value)
{
    setText("PhaseLevel", Word4(value));
    setBar("PhaseBar", value);
}

// Sync's item, then its level controls and Sync itself enabled (the reply to
// Sync's own write-and-read-back ends here).
void StatusDecoder::syncState(int value)
{
    setRadio("Sync", value);
    setEnabled("PhaseLevel", value != 0);
    setEnabled("PhaseBar", value != 0);
    setEnabled("Sync", true);
}

void StatusDecoder::freezeState(int value)
{
    setRadio("Freeze", value);
    if (value == 0 || value == 1) {
        setEnabled("HRev", value == 0);
        setEnabled("VRev", value == 0);
    }
}

void StatusDecoder::presetState(int value)
{
    setRadio("Preset", value);
    if (value == 0 || value == 1)
        setEnabled("PresetSet", value == 1);
}

void StatusDecoder::pushSwitchState(int value)
{
    setRadio("PushSW", value);
    for (const char *name : ALARM_GROUP)
        setEnabled(name, value != 1);
}

void StatusDecoder::markState(int value)
{
    setRadio("Mark", value);
    if (value == 0 || value == 1)
        for (const char *name : MARK_BUTTONS)
            setEnabled(name, value == 1);
}

void StatusDecoder::oneShotWhiteBalance(int value)
{
    if (value != 0 || radioIndex("wb_select") != 1)
        return;
    setEnabled("wb_select", true);
    setEnabled("AWB", true);
    setEnabled("AWBBar", true);
    setBar("AWBBar", 4);
}

void StatusDecoder::blcEnabling()
{
    const int shown = radioIndex("BLC");
    if (shown != 0 && shown != 1)
        return;
    BlcAreaEnable(shown == 1);
    setEnabled("BLCSensBar", shown == 1);
}

void StatusDecoder::peakEnabling()
{
    const int shown = radioIndex("PEAK");
    if (shown == 0 || shown == 1)
        setEnabled("PeakOnBar", shown == 1);
}

void StatusDecoder::alcEnabling()
{
    const int shown = radioIndex("ALC");
    if (shown != 0 && shown != 1)
        return;
    setEnabled("ALCAutoBar", shown == 0);
    setEnabled("ALCFixBar", shown == 1);
}

void StatusDecoder::aesEnabling()
{
    const int shown = radioIndex("AES");
    if (shown != 0 && shown != 1)
        return;
    setEnabled("AESAutoBar", shown == 0);
    setEnabled("AESFixBox", shown == 1);
}

// ---- shared routines --------------------------------------------------------------

void StatusDecoder::InterlockedReport(const QString &group, int value)
{
    static const QHash<QString, QString> partners{{QStringLiteral("BLC"), QStringLiteral("PEAK")},
                                                  {QStringLiteral("PEAK"), QStringLiteral("BLC")},
                                                  {QStringLiteral("ALC"), QStringLiteral("AES")},
                                                  {QStringLiteral("AES"), QStringLiteral("ALC")}};
    auto *x = m_ctx.ctl<RadioGroup>(group);
    if (!x || x->count() == 0)
        return;
    // A value past the last item means the last item, as setting it would show;
    // comparing the raw value would leave the partner disabled for good.
    const int item = std::min(value, x->count() - 1);
    if (x->itemIndex() == item) {
        if (auto *partner = m_ctx.ctl<QWidget>(partners.value(group)))
            partner->setEnabled(true);
        return;
    }
    // The group's own click handler runs and settles the partner.
    x->setItemIndex(item);
}

void StatusDecoder::WhiteBalanceMode(int value)
{
    setChecked("wb_sel", value == 0);
    setRadio("wb_select", value);
    if (value == 0) {
        setEnabled("AWB", false);
        setEnabled("ATWBar", true);
        setEnabled("AWBBar", false);
    } else {
        setEnabled("AWB", true);
        setEnabled("ATWBar", false);
    }
}

void StatusDecoder::BlcAreaBits(const std::uint8_t *sixBytes)
{
    for (int k = 0; k < 6; ++k)
        for (int j = 0; j < 8; ++j) {
            const QString name = QStringLiteral("BLCCheck%1").arg(8 * k + j + 1, 2, 10, QLatin1Char('0'));
            if (auto *box = m_ctx.ctl<QCheckBox>(name))
                box->setChecked((sixBytes[k] >> j) & 1);
        }
}

std::array<std::uint8_t, 6> StatusDecoder::BlcAreaEncode() const
{
    std::array<std::uint8_t, 6> bytes{};
    for (int k = 0; k < 6; ++k)
        for (int j = 0; j < 8; ++j) {
            const QString name = QStringLiteral("BLCCheck%1").arg(8 * k + j + 1, 2, 10, QLatin1Char('0'));
            auto *box = m_ctx.ctl<QCheckBox>(name);
            if (box && box->isChecked())
                bytes[std::size_t(k)] |= std::uint8_t(1u << j);
        }
    return bytes;
}

void StatusDecoder::BlcAreaEnable(bool on)
{
    for (int i = 1; i <= 48; ++i)
        if (auto *box = m_ctx.ctl<QWidget>(QStringLiteral("BLCCheck%1").arg(i, 2, 10, QLatin1Char('0'))))
            box->setEnabled(on);
}

void StatusDecoder::LensControlsEnable()
{
    const bool on = radioIndex("Initial") == 1 && radioIndex("Freeze") == 0;
    if (!on) {
        for (const char *name : LENS_GROUP)
            setEnabled(name, false);
        for (const char *name : ALARM_GROUP)
            setEnabled(name, false);
        for (const char *name : FOCUS_GROUP)
            setEnabled(name, false);
        return;
    }
    for (const char *name : LENS_GROUP)
        setEnabled(name, true);
    if (radioIndex("PushSW") == 0)
        for (const char *name : ALARM_GROUP)
            setEnabled(name, true);
    if (!isChecked("AutoFocus"))
        for (const char *name : FOCUS_GROUP)
            setEnabled(name, true);
}

LensValues StatusDecoder::LensReplyValues() const
{
    const FrameStore &f = m_ctx.frames();
    LensValues v;
    v.target = f.repWord(4);
    v.current = f.repWord(6);
    v.focusMax = f.repWord(8);
    v.focusMin = f.repWord(10);
    v.value = f.rep(4);
    return v;
}

void StatusDecoder::LensStatusReply(bool afterWrite)
{
    LensStatusApply(m_ctx.frames().rep(3), LensReplyValues(), afterWrite);
}

void StatusDecoder::focusStepRange(int maximum, int minimum)
{
    auto *bar = m_ctx.ctl<QSlider>(QStringLiteral("FocusStepBar"));
    if (!bar)
        return;
    bar->setMaximum(maximum);
    bar->setMinimum(minimum);
    bar->setMaximum(maximum);
    const int d = maximum - minimum;
    const int step = d <= 9 ? 1 : d <= 19 ? 2 : d <= 39 ? 4 : d <= 79 ? 8 : d <= 159 ? 16 : 32;
    bar->setTickInterval(step);
    bar->setPageStep(step);
}

void StatusDecoder::LensStatusApply(int kind, const LensValues &values, bool afterWrite)
{
    const bool waitMode = isChecked("CurrentCheck");
    const int t = values.target;
    const int c = values.current;
    const int v = values.value;
    // The follow-up conditions of the lens group after a focus status.
    auto pushAndAlarm = [this] {
        if (radioIndex("Initial") == 1 && radioIndex("Freeze") == 0)
            setEnabled("PushSW", true);
        if (radioIndex("PushSW") == 0)
            for (const char *name : ALARM_GROUP)
                setEnabled(name, true);
    };

    switch (kind) {
    case 0: {
        if (waitMode && t != c) {
            m_ctx.followUp({0x31, 0x45, 0x00});
            return;
        }
        if (!waitMode)
            setEnabled("FocusStepBar", false);
        if (auto *zoomBar = m_ctx.ctl<QSlider>(QStringLiteral("ZoomStepBar"))) {
            const int selection = radioIndex("DigitalZoom");
            const int extra = selection >= 0 && selection < int(DIGITAL_ZOOM_EXTRA.size())
                                  ? DIGITAL_ZOOM_EXTRA[std::size_t(selection)]
                                  : 0;
            const int maximum = ZOOM_RANGE_MAX + extra;
            zoomBar->setMaximum(maximum);
            zoomBar->setMinimum(ZOOM_RANGE_MIN);
            zoomBar->setTickInterval((maximum - ZOOM_RANGE_MIN) / 10);
            zoomBar->setPageStep((maximum - ZOOM_RANGE_MIN) / 50);
        }
        setText("ZoomStep", Word4(t));
        setBar("ZoomStepBar", t);
        setText("CurrentZoom", Word4(c));
        setText("FocusStepMax", Word4(values.focusMax));
        setText("FocusStepMin", Word4(values.focusMin));
        focusStepRange(values.focusMax, values.focusMin);
        if (!waitMode && !isChecked("AutoFocus"))
            setEnabled("FocusStepBar", true);
        m_ctx.followUp({0x31, 0x45, 0x01});
        break;
    }
    case 1:
        if (waitMode && t != c) {
            m_ctx.followUp({0x31, 0x45, 0x01});
            return;
        }
        if (waitMode) {
            setText("FocusStep", Word4(t));
            setBar("FocusStepBar", t);
            setText("CurrentFocus", Word4(c));
            // Arrival: the lens group is released.
            const bool autoFocus = isChecked("AutoFocus");
            for (const char *name : {"PosLoad", "ZoomStep", "ZoomSpinButton", "ZoomStepBar",
                                     "GetZoomCurrent"})
                setEnabled(name, true);
            if (!autoFocus)
                for (const char *name : {"FocusStep", "FocusSpinButton", "FocusStepBar"})
                    setEnabled(name, true);
            for (const char *name : {"ZoomSpeedBar", "FocusSpeedBar", "DigitalZoom"})
                setEnabled(name, true);
            pushAndAlarm();
            setEnabled("CurrentCheck", true);
            setEnabled("AutoFocus", true);
            if (!autoFocus)
                setEnabled("OnePushAF", true);
        } else {
            setEnabled("FocusStepBar", false);
            setText("FocusStep", Word4(t));
            setBar("FocusStepBar", t);
            setText("CurrentFocus", Word4(c));
            if (!isChecked("AutoFocus"))
                setEnabled("FocusStepBar", true);
            setEnabled("DigitalZoom", true);
            pushAndAlarm();
            setEnabled("GetZoomCurrent", true);
        }
        break;
    case 2:
        setChecked("AutoFocus", v != 0);
        for (const char *name : {"OnePushAF", "FocusStep", "FocusSpinButton", "FocusStepBar"})
            setEnabled(name, v == 0);
        break;
    case 3:
        if (waitMode)
            m_ctx.followUp({0x31, 0x45, 0x01});
        break;
    case 4:
        if (v == 1) {
            setEnabled("AdjustGo", true);
            setEnabled("IRISAdjustSet", true);
        } else if (v == 0) {
            m_ctx.followUp({0x21, 0x46});
        }
        break;
    case 5:
        if (!afterWrite)
            setBar("ZoomSpeedBar", v);
        break;
    case 6:
        if (!afterWrite) {
            setRadio("DigitalZoom", v);
            break;
        }
        {
            auto *tabs = m_ctx.root()->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
            const int page = tabs ? tabs->currentIndex() : -1;
            if (page == PageEasy) {
                // The zoom range depends on the new selection.
                m_ctx.followUp({0x31, 0x45, 0x00});
            } else if (page == PageLine) {
                if (m_ctx.ctl<QWidget>(QStringLiteral("IRISAdjustSet")) && !enabledOwn("IRISAdjustSet")) {
                    m_ctx.followUp({0x21, 0x48, 0x03, 0x00});
                } else if (m_ctx.ctl<QWidget>(QStringLiteral("AdjustGo")) && !enabledOwn("AdjustGo")
                           && m_ctx.Trans_chk()) {
                    setEnabled("IRISAdjustSet", false);
                    m_ctx.send({0x21, 0x45, 0x04, 0x00});
                }
            }
        }
        break;
    case 7:
        if (!afterWrite)
            setBar("FocusSpeedBar", v);
        break;
    case 8:
        if (!afterWrite)
            setRadio("AFSleep", v);
        break;
    case 9:
        if (!afterWrite)
            setRadio("ZoomMag", v);
        break;
    default:
        break;
    }
}

void StatusDecoder::Trans_cstm_hidden()
{
    auto *wbSel = m_ctx.ctl<QAbstractButton>(QStringLiteral("wb_sel"));
    if (!wbSel)
        return;
    setEnabled("pre_32", wbSel->isChecked());
    setEnabled("pre_56", wbSel->isChecked());
}

} // namespace h7q8
