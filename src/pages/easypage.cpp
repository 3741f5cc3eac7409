#include "easypage.h"

#include "../link/frame.h"
#include "../ui/controls.h"
#include "statusdecoder.h"
#include "titleeditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace h7q8 {

namespace {

std::uint8_t hi(unsigned v)
{
    return std::uint8_t((v >> 8) & 0xFF);
}
std::uint8_t lo(unsigned v)
{
    return std::uint8_t(v & 0xFF);
}

void setOwnEnabled(QWidget *w, bool on)
{
    if (w)
        w->setEnabled(on);
}

} // namespace

EasyPage::EasyPage(PageContext &ctx, StatusDecoder &decoder, TitleEditor &title, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_decoder(decoder), m_title(title)
{
    setObjectName(QStringLiteral("EasyPage"));

    m_blc = find<RadioGroup>("BLC");
    m_peak = find<RadioGroup>("PEAK");
    m_alc = find<RadioGroup>("ALC");
    m_aes = find<RadioGroup>("AES");
    m_wbSelect = find<RadioGroup>("wb_select");
    m_preset = find<RadioGroup>("Preset");
    m_sync = find<RadioGroup>("Sync");
    m_initial = find<RadioGroup>("Initial");
    m_digitalZoom = find<RadioGroup>("DigitalZoom");
    m_pushSW = find<RadioGroup>("PushSW");
    m_awb = find<QPushButton>("AWB");
    m_presetSet = find<QPushButton>("PresetSet");
    m_markUp = find<QPushButton>("Mark_up");
    m_markDown = find<QPushButton>("Mark_down");
    m_markLeft = find<QPushButton>("Mark_left");
    m_markRight = find<QPushButton>("Mark_right");
    m_getZoomCurrent = find<QPushButton>("GetZoomCurrent");
    m_onePushAF = find<QPushButton>("OnePushAF");
    m_posLoad = find<QPushButton>("PosLoad");
    m_awbBar = find<TrackBar>("AWBBar");
    m_atwBar = find<TrackBar>("ATWBar");
    m_blcSensBar = find<TrackBar>("BLCSensBar");
    m_phaseBar = find<TrackBar>("PhaseBar");
    m_peakOnBar = find<TrackBar>("PeakOnBar");
    m_alcAutoBar = find<TrackBar>("ALCAutoBar");
    m_alcFixBar = find<TrackBar>("ALCFixBar");
    m_aesAutoBar = find<TrackBar>("AESAutoBar");
    m_zoomStepBar = find<TrackBar>("ZoomStepBar");
    m_focusStepBar = find<TrackBar>("FocusStepBar");
    m_zoomSpeedBar = find<TrackBar>("ZoomSpeedBar");
    m_focusSpeedBar = find<TrackBar>("FocusSpeedBar");
    m_aesFixBox = find<QComboBox>("AESFixBox");
    m_phaseLevel = find<QLineEdit>("PhaseLevel");
    m_zoomStep = find<QLineEdit>("ZoomStep");
    m_focusStep = find<QLineEdit>("FocusStep");
    m_alarmNo = find<QLineEdit>("AlarmNo");
    m_positionNo = find<QLineEdit>("PositionNo");
    m_zoomSpin = find<SpinButton>("ZoomSpinButton");
    m_focusSpin = find<SpinButton>("FocusSpinButton");
    m_alarmSpin = find<SpinButton>("AlarmSpinButton");
    m_positionSpin = find<SpinButton>("PositionSpinButton");
    m_hRev = find<QCheckBox>("HRev");
    m_vRev = find<QCheckBox>("VRev");
    m_currentCheck = find<QCheckBox>("CurrentCheck");
    m_autoFocus = find<QCheckBox>("AutoFocus");

    // Radio groups and check boxes that send their value as the last byte.
    connectCheck("HRev", {0x21, 0x1D, 0x05});
    connectCheck("VRev", {0x21, 0x1D, 0x04});
    connectRadio("PosiNega", {0x21, 0x1D, 0x07});
    connectRadio("Freeze", {0x21, 0x1A, 0x03});
    connectRadio("Initial", {0x21, 0x49}, true);
    connectRadio("Select", {0x21, 0x1A, 0x04});
    connectRadio("Priority", {0x21, 0x1A, 0x05});
    connectRadio("wb_select", {0x21, 0x1B, 0x00});
    connectRadio("Color", {0x21, 0x1B, 0x07});
    connectRadio("Sync", {0x21, 0x1C, 0x00}, true);
    connectRadio("Gamma", {0x21, 0x59, 0x00});
    connectRadio("Mark", {0x21, 0x56, 0x00});
    connectRadio("PoOSD", {0x21, 0x52, 0x03});
    connectRadio("PoOSDUD", {0x21, 0x52, 0x04});
    connectRadio("langu_sel", {0x21, 0x5B, 0x00});
    connectCheck("AutoFocus", {0x21, 0x45, 0x02});
    connectRadio("DigitalZoom", {0x21, 0x45, 0x06}, true);
    connectRadio("AFSleep", {0x21, 0x45, 0x08});
    connectRadio("ZoomMag", {0x21, 0x45, 0x09});
    connectRadio("ZOOMTR", {0x21, 0x5A, 0x00});
    connectRadio("PushSW", {0x21, 0x52, 0x02});

    connectInterlocked("BLC", "PEAK", {0x21, 0x18, 0x00});
    connectInterlocked("PEAK", "BLC", {0x21, 0x48, 0x00, 0x00}, 5);
    connectInterlocked("ALC", "AES", {0x21, 0x48, 0x01, 0x00});
    connectInterlocked("AES", "ALC", {0x21, 0x48, 0x02, 0x00});

    if (m_aesFixBox)
        connect(m_aesFixBox, &QComboBox::currentIndexChanged, this, [this](int item) {
            if (item < 0 || !m_ctx.Trans_chk())
                return;
            send({0x21, 0x48, 0x02, 0x01, 0x01, std::uint8_t(item)});
        });

    if (m_preset)
        connect(m_preset, &RadioGroup::itemIndexChanged, this, &EasyPage::PresetClick);
    if (m_presetSet)
        connect(m_presetSet, &QPushButton::clicked, this, &EasyPage::PresetSetClick);
    if (m_awb)
        connect(m_awb, &QPushButton::clicked, this, &EasyPage::AWBClick);
    if (auto *revSet = find<QPushButton>("RevSet"))
        connect(revSet, &QPushButton::clicked, this, [this] {
            if (m_ctx.Trans_chk())
                send({0x21, 0x1D, 0x06});
        });

    if (m_markUp)
        connect(m_markUp, &QPushButton::clicked, this, [this] { MarkMove(0, -1); });
    if (m_markDown)
        connect(m_markDown, &QPushButton::clicked, this, [this] { MarkMove(0, 1); });
    if (m_markLeft)
        connect(m_markLeft, &QPushButton::clicked, this, [this] { MarkMove(-1, 0); });
    if (m_markRight)
        connect(m_markRight, &QPushButton::clicked, this, [this] { MarkMove(1, 0); });

    // Track bars: each sends its position through its own throttle timer.
    connectBar("Rgain", "RTimer", {0x21, 0x1B, 0x02});
    connectBar("BGain", "BTimer", {0x21, 0x1B, 0x03});
    connectBar("ATWBar", "ATWBarTimer", {0x21, 0x1B, 0x05}, true);
    connectBar("AWBBar", "AWBBarTimer", {0x21, 0x1B, 0x06}, true);
    connectBar("AGCBar", "AGCTimer", {0x21, 0x1A, 0x01});
    connectBar("SENSBar", "SENSTimer", {0x21, 0x1A, 0x02});
    connectBar("HGainBar", "HGainTimer", {0x21, 0x47, 0x00});
    connectBar("VGainBar", "VGainTimer", {0x21, 0x47, 0x01});
    connectBar("PeakOnBar", "PeakOnTimer", {0x21, 0x48, 0x00, 0x01});
    connectBar("ALCAutoBar", "ALCAutoTimer", {0x21, 0x48, 0x01, 0x01, 0x00});
    connectBar("ALCFixBar", "ALCFixTimer", {0x21, 0x48, 0x01, 0x01, 0x01});
    connectBar("AESAutoBar", "AESAutoTimer", {0x21, 0x48, 0x02, 0x01, 0x00});
    connectBar("BLCSensBar", "BLCSensTimer", {0x21, 0x50});
    connectBar("ZoomSpeedBar", "ZoomSpeedTimer", {0x21, 0x45, 0x05});
    connectBar("FocusSpeedBar", "FocusSpeedTimer", {0x21, 0x45, 0x07});
    connectEditBar("PhaseBar", "PhaseTimer", m_phaseLevel);
    connectEditBar("ZoomStepBar", "ZoomStepTimer", m_zoomStep);
    connectEditBar("FocusStepBar", "FocusStepTimer", m_focusStep, true);

    // The BLC area boxes share one timer that sends all six area bytes.
    m_blcAreaTimer = new BarTimer(QStringLiteral("BLCAreaTimer"), BarInterval, this);
    m_blcAreaTimer->setTick([this] { BLCAreaTick(); });
    for (int n = 1; n <= 48; ++n) {
        auto *box = m_ctx.ctl<QCheckBox>(QStringLiteral("BLCCheck%1").arg(n, 2, 10, QLatin1Char('0')));
        m_blcArea[n - 1] = box;
        if (box)
            connect(box, &QCheckBox::toggled, this, [this] {
                if (m_ctx.seq.TransferStep == 0)
                    m_blcAreaTimer->arm();
            });
    }

    // Value edits act only on their full length.
    if (m_phaseLevel)
        connect(m_phaseLevel, &QLineEdit::textChanged, this, &EasyPage::PhaseLevelChange);
    if (m_zoomStep)
        connect(m_zoomStep, &QLineEdit::textChanged, this, &EasyPage::ZoomStepChange);
    if (m_focusStep)
        connect(m_focusStep, &QLineEdit::textChanged, this, &EasyPage::FocusStepChange);
    if (m_alarmNo)
        connect(m_alarmNo, &QLineEdit::textChanged, this, &EasyPage::AlarmNoChange);

    if (m_zoomSpin) {
        connect(m_zoomSpin, &SpinButton::upClick, this, [this] { HexSpin(m_zoomStep, m_zoomStepBar, 1); });
        connect(m_zoomSpin, &SpinButton::downClick, this, [this] { HexSpin(m_zoomStep, m_zoomStepBar, -1); });
    }
    if (m_focusSpin) {
        connect(m_focusSpin, &SpinButton::upClick, this, [this] { HexSpin(m_focusStep, m_focusStepBar, 1); });
        connect(m_focusSpin, &SpinButton::downClick, this, [this] { HexSpin(m_focusStep, m_focusStepBar, -1); });
    }
    if (m_alarmSpin) {
        connect(m_alarmSpin, &SpinButton::upClick, this, [this] { DecimalSpin(m_alarmNo, 1, 0, 64); });
        connect(m_alarmSpin, &SpinButton::downClick, this, [this] { DecimalSpin(m_alarmNo, -1, 0, 64); });
    }
    if (m_positionSpin) {
        connect(m_positionSpin, &SpinButton::upClick, this, [this] { DecimalSpin(m_positionNo, 1, 1, 64); });
        connect(m_positionSpin, &SpinButton::downClick, this, [this] { DecimalSpin(m_positionNo, -1, 1, 64); });
    }

    if (m_onePushAF)
        connect(m_onePushAF, &QPushButton::clicked, this, &EasyPage::OnePushAFClick);
    if (m_getZoomCurrent)
        connect(m_getZoomCurrent, &QPushButton::clicked, this, &EasyPage::GetZoomCurrentClick);
    if (m_posLoad)
        connect(m_posLoad, &QPushButton::clicked, this, &EasyPage::PosLoadClick);
    if (auto *posSave = find<QPushButton>("PosSave"))
        connect(posSave, &QPushButton::clicked, this, &EasyPage::PosSaveClick);
}

bool EasyPage::WaitForArrival() const
{
    return m_currentCheck && m_currentCheck->isChecked();
}

BarTimer *EasyPage::barTimer(const QString &name) const
{
    if (m_blcAreaTimer && m_blcAreaTimer->objectName() == name)
        return m_blcAreaTimer;
    for (const BarBinding &b : m_bars)
        if (b.timer->objectName() == name)
            return b.timer;
    return nullptr;
}

// ---- sending -------------------------------------------------------------

void EasyPage::send(const std::vector<std::uint8_t> &bytes, int count)
{
    m_ctx.link.send(bytes, count);
}

void EasyPage::connectRadio(const char *name, std::vector<std::uint8_t> prefix, bool disableSelf,
                            int count)
{
    auto *group = find<RadioGroup>(name);
    if (!group)
        return;
    connect(group, &RadioGroup::itemIndexChanged, this,
            [this, group, prefix = std::move(prefix), disableSelf, count](int item) {
                // A cleared group shows no value to send.
                if (item < 0 || !m_ctx.Trans_chk())
                    return;
                if (disableSelf)
                    group->setEnabled(false);
                auto bytes = prefix;
                bytes.push_back(std::uint8_t(item));
                send(bytes, count);
            });
}

void EasyPage::connectCheck(const char *name, std::vector<std::uint8_t> prefix)
{
    auto *box = find<QCheckBox>(name);
    if (!box)
        return;
    connect(box, &QCheckBox::toggled, this, [this, prefix = std::move(prefix)](bool checked) {
        if (!m_ctx.Trans_chk())
            return;
        auto bytes = prefix;
        bytes.push_back(checked ? 1 : 0);
        send(bytes);
    });
}

// The interlocked pairs BLC/PEAK and ALC/AES: a group's write is outstanding
// while the group is disabled; the partner's read-back ends it (see Trans_end_easy).
void EasyPage::connectInterlocked(const char *name, const char *partnerName,
                                  std::vector<std::uint8_t> prefix, int count)
{
    auto *group = find<RadioGroup>(name);
    auto *partner = find<RadioGroup>(partnerName);
    if (!group || !partner)
        return;
    connect(group, &RadioGroup::itemIndexChanged, this,
            [this, group, partner, prefix = std::move(prefix), count](int item) {
                if (item < 0 || !m_ctx.Trans_chk())
                    return;
                if (ownEnabled(partner)) {
                    group->setEnabled(false);
                    auto bytes = prefix;
                    bytes.push_back(std::uint8_t(item));
                    send(bytes, count);
                } else {
                    // The partner's report set this group: the exchange is complete.
                    partner->setEnabled(true);
                }
            });
}

// ---- track bars ------------------------------------------------------------

void EasyPage::connectBar(const char *barName, const char *timerName,
                          std::vector<std::uint8_t> prefix, bool unchecked)
{
    auto *bar = find<TrackBar>(barName);
    if (!bar)
        return;
    BarBinding &b = m_bars.emplace_back();
    b.bar = bar;
    b.timer = new BarTimer(QString::fromLatin1(timerName), BarInterval, this);
    b.prefix = std::move(prefix);
    b.unchecked = unchecked;
    b.timer->setTick([this, &b] { barTick(b); });
    connect(bar, &QSlider::valueChanged, this, [this, &b] { armBar(b); });
}

void EasyPage::connectEditBar(const char *barName, const char *timerName, QLineEdit *target,
                              bool needsOwnEnabled)
{
    auto *bar = find<TrackBar>(barName);
    if (!bar || !target)
        return;
    BarBinding &b = m_bars.emplace_back();
    b.bar = bar;
    b.timer = new BarTimer(QString::fromLatin1(timerName), BarInterval, this);
    b.target = target;
    b.needsOwnEnabled = needsOwnEnabled;
    b.timer->setTick([this, &b] { barTick(b); });
    connect(bar, &QSlider::valueChanged, this, [this, &b] { armBar(b); });
}

void EasyPage::armBar(BarBinding &b)
{
    // Values shown by a page load are not sent back.
    if (m_ctx.seq.TransferStep != 0)
        return;
    if (b.needsOwnEnabled && !ownEnabled(b.bar))
        return;
    b.timer->arm(); // an armed timer keeps counting from the first move
}

void EasyPage::barTick(BarBinding &b)
{
    if (!b.timer->isArmed())
        return; // nothing moved since the last send
    if (!b.unchecked && !m_ctx.Trans_chk())
        return; // stays armed and tries again one interval later
    b.timer->disarm();
    const int position = b.bar->value();
    if (b.target) {
        b.target->setText(HexWordText(unsigned(position) & 0xFFFF));
        return;
    }
    auto bytes = b.prefix;
    bytes.push_back(std::uint8_t(position));
    send(bytes);
}

void EasyPage::BLCAreaTick()
{
    if (!m_blcAreaTimer->isArmed() || !m_ctx.Trans_chk())
        return;
    m_blcAreaTimer->disarm();
    const auto area = m_decoder.BlcAreaEncode();
    send({0x21, 0x19, area[0], area[1], area[2], area[3], area[4], area[5]});
}

// ---- buttons and rules -----------------------------------------------------

void EasyPage::PresetClick(int item)
{
    if (item < 0 || !m_ctx.Trans_chk())
        return;
    // After Enter the reset to "OFF" must not be echoed: the flag skips one send.
    if (PresetSendFlag == 1)
        send({0x21, 0x20, 0x02, std::uint8_t(item)});
    PresetSendFlag = 1;
}

void EasyPage::PresetSetClick()
{
    if (!m_ctx.Trans_chk())
        return;
    send({0x21, 0x20, 0x00});
    PresetSendFlag = 0;
    if (m_preset)
        m_preset->setItemIndex(0);
    setOwnEnabled(m_presetSet, false);
}

void EasyPage::AWBClick()
{
    if (!m_ctx.Trans_chk())
        return;
    setOwnEnabled(m_awb, false);
    setOwnEnabled(m_wbSelect, false);
    setOwnEnabled(m_awbBar, false);
    send({0x21, 0x1B, 0x04});
}

void EasyPage::MarkMove(int dx, int dy)
{
    if (!m_ctx.Trans_chk())
        return;
    // The position follows the camera's echo; nothing changes here.
    const auto x = std::uint16_t(m_ctx.shared.MarkX + dx);
    const auto y = std::uint16_t(m_ctx.shared.MarkY + dy);
    send({0x21, 0x56, 0x01, hi(x), lo(x), hi(y), lo(y)});
}

std::uint16_t EasyPage::HexEditValue(const QLineEdit *edit)
{
    const std::int32_t value = HexText(edit->text());
    return value < 0 ? 0xFFFF : std::uint16_t(value & 0xFFFF);
}

std::optional<int> EasyPage::DecimalValue(const QLineEdit *edit) const
{
    bool ok = false;
    const QString text = edit->text();
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        m_ctx.dialogs.error(QStringLiteral("'%1' is not a valid integer value.").arg(text));
        return std::nullopt;
    }
    return value;
}

void EasyPage::PhaseLevelChange()
{
    if (m_phaseLevel->text().size() != m_phaseLevel->maxLength() || !m_ctx.Trans_chk())
        return;
    const std::uint16_t v = HexEditValue(m_phaseLevel);
    send({0x21, 0x1C, 0x01, hi(v), lo(v)});
}

void EasyPage::ZoomStepChange()
{
    if (m_zoomStep->text().size() != m_zoomStep->maxLength() || !ownEnabled(m_zoomStep))
        return;
    if (!m_ctx.Trans_chk())
        return;
    if (WaitForArrival())
        DisableZoomSet();
    const std::uint16_t v = HexEditValue(m_zoomStep);
    send({0x21, 0x45, 0x00, hi(v), lo(v)});
}

void EasyPage::FocusStepChange()
{
    if (m_focusStep->text().size() != m_focusStep->maxLength() || !ownEnabled(m_focusStep)
        || !ownEnabled(m_focusStepBar))
        return;
    if (!m_ctx.Trans_chk())
        return;
    if (WaitForArrival())
        DisableFocusSet();
    const std::uint16_t v = HexEditValue(m_focusStep);
    send({0x21, 0x45, 0x01, hi(v), lo(v)});
}

void EasyPage::AlarmNoChange()
{
    if (m_alarmNo->text().size() != m_alarmNo->maxLength() || !m_ctx.Trans_chk())
        return;
    const auto number = DecimalValue(m_alarmNo);
    if (!number)
        return;
    send({0x21, 0x51, std::uint8_t(*number)});
}

void EasyPage::HexSpin(QLineEdit *edit, TrackBar *bounds, int step)
{
    if (!edit || !bounds || !m_ctx.Trans_chk())
        return;
    const std::int32_t value = HexText(edit->text());
    if (value < 0) {
        m_ctx.dialogs.error(QStringLiteral("'%1' is not a valid integer value.").arg(edit->text()));
        return;
    }
    const int limit = step < 0 ? bounds->minimum() : bounds->maximum();
    const int next = value == limit ? value : value + step;
    edit->setText(HexWordText(unsigned(next) & 0xFFFF)); // the edit's handler sends
}

void EasyPage::DecimalSpin(QLineEdit *edit, int step, int lowest, int highest)
{
    if (!edit || !m_ctx.Trans_chk())
        return;
    const auto value = DecimalValue(edit);
    if (!value)
        return;
    const int next = step < 0 ? std::max(*value - 1, lowest) : std::min(*value + 1, highest);
    edit->setText(QString::asprintf("%02d", next));
}

void EasyPage::OnePushAFClick()
{
    if (!m_ctx.Trans_chk())
        return;
    if (WaitForArrival())
        DisableFocusSet();
    send({0x21, 0x45, 0x03});
}

void EasyPage::GetZoomCurrentClick()
{
    if (!m_ctx.Trans_chk())
        return;
    setOwnEnabled(m_getZoomCurrent, false);
    if (WaitForArrival())
        DisableReadSet();
    send({0x31, 0x45, 0x00});
}

void EasyPage::PosLoadClick()
{
    if (!m_positionNo || m_positionNo->text().size() != 2 || !m_ctx.Trans_chk())
        return;
    // Convert before anything is disabled: a bad number must not leave the group held.
    const auto number = DecimalValue(m_positionNo);
    if (!number)
        return;
    if (WaitForArrival()) {
        setOwnEnabled(m_posLoad, false);
        DisableZoomSet();
    }
    send({0x31, 0x52, 0x01, std::uint8_t(*number)});
}

void EasyPage::PosSaveClick()
{
    if (!m_positionNo || m_positionNo->text().size() != 2 || !m_ctx.Trans_chk())
        return;
    const auto number = DecimalValue(m_positionNo);
    if (!number)
        return;
    send({0x21, 0x52, 0x01, std::uint8_t(*number)});
}

// ---- wait mode ---------------------------------------------------------------

void EasyPage::DisableAll(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets)
        setOwnEnabled(w, false);
}

void EasyPage::DisableReadSet()
{
    DisableAll({m_zoomStep, m_zoomSpin, m_zoomStepBar, m_focusStep, m_focusSpin, m_focusStepBar,
                m_zoomSpeedBar, m_focusSpeedBar, m_digitalZoom, m_pushSW, m_alarmNo, m_alarmSpin,
                m_currentCheck});
}

void EasyPage::DisableFocusSet()
{
    DisableAll({m_focusStep, m_focusSpin, m_focusStepBar, m_zoomSpeedBar, m_focusSpeedBar,
                m_digitalZoom, m_pushSW, m_alarmNo, m_alarmSpin, m_currentCheck, m_autoFocus,
                m_onePushAF});
}

void EasyPage::DisableZoomSet()
{
    DisableFocusSet();
    DisableAll({m_zoomStep, m_zoomSpin, m_zoomStepBar, m_getZoomCurrent});
}

// ---- the page decoder ----------------------------------------------------------

void EasyPage::Trans_end_easy()
{
    const FrameStore &f = m_ctx.frames();
    if (f.rep(1) != 0xA0) {
        m_ctx.dialogs.message(QStringLiteral(" Error "), QStringLiteral("ERR"),
                              MessageButtons::AbortRetryIgnore);
        return;
    }
    const int code = f.rep(2);
    const int sub = f.rep(3);
    const int b4 = f.rep(4);

    switch (code) {
    case 0x10:
        if (sub == 1)
            m_title.TitleEcho();
        break;
    case 0x18:
        if (sub == 0 && m_blc) {
            const bool on = m_blc->itemIndex() == 1;
            m_decoder.BlcAreaEnable(on);
            setOwnEnabled(m_blcSensBar, on);
            if (!ownEnabled(m_blc))
                m_ctx.followUp({0x31, 0x48, 0x00, 0x00});
        }
        break;
    case 0x1A:
        if (sub == 3) {
            if (b4 == 0 || b4 == 1) {
                setOwnEnabled(m_hRev, b4 == 0);
                setOwnEnabled(m_vRev, b4 == 0);
            }
            m_decoder.LensControlsEnable();
        }
        break;
    case 0x1B:
        if (sub == 0 && (b4 == 0 || b4 == 1)) {
            setOwnEnabled(m_awb, b4 == 1);
            setOwnEnabled(m_atwBar, b4 == 0);
            setOwnEnabled(m_awbBar, b4 == 1);
        } else if (sub == 4) {
            // One-push white balance: ask until the camera reports it finished.
            if (m_wbSelect && m_wbSelect->itemIndex() == 1 && m_awb && !ownEnabled(m_awb))
                m_ctx.followUp({0x31, 0x1B, 0x04});
        }
        break;
    case 0x1C:
        if (sub == 0) {
            if (m_sync && !ownEnabled(m_sync))
                m_ctx.followUp({0x31, 0x1C, 0x00});
        } else if (sub == 1) {
            const int v = f.repSignedWord(4);
            if (m_phaseLevel)
                m_phaseLevel->setText(HexWordText(unsigned(v) & 0xFFFF));
            if (m_phaseBar)
                m_phaseBar->setValue(v);
        }
        break;
    case 0x20:
        if (b4 == 0 || b4 == 1)
            setOwnEnabled(m_presetSet, b4 == 1);
        break;
    case 0x45:
        if (f.cmd(1) == 0x21) {
            LensValues values;
            values.target = f.repWord(4);
            values.current = f.repWord(6);
            values.focusMax = f.repWord(8);
            values.focusMin = f.repWord(10);
            values.value = b4;
            m_decoder.LensStatusApply(sub, values, true);
        }
        break;
    case 0x48:
        if (sub == 0 && m_peak) {
            setOwnEnabled(m_peakOnBar, m_peak->itemIndex() != 0);
            if (!ownEnabled(m_peak))
                m_ctx.followUp({0x31, 0x18, 0x00});
        } else if (sub == 1 && m_alc) {
            const int item = m_alc->itemIndex();
            if (item == 0 || item == 1) {
                setOwnEnabled(m_alcAutoBar, item == 0);
                setOwnEnabled(m_alcFixBar, item == 1);
            }
            if (!ownEnabled(m_alc))
                m_ctx.followUp({0x31, 0x48, 0x02, 0x00});
        } else if (sub == 2 && m_aes) {
            const int item = m_aes->itemIndex();
            if (item == 0 || item == 1) {
                setOwnEnabled(m_aesAutoBar, item == 0);
                setOwnEnabled(m_aesFixBox, item == 1);
            }
            if (!ownEnabled(m_aes))
                m_ctx.followUp({0x31, 0x48, 0x01, 0x00});
        }
        break;
    case 0x49:
        m_decoder.LensControlsEnable();
        setOwnEnabled(m_initial, true);
        break;
    case 0x52:
        if (sub == 2) {
            setOwnEnabled(m_alarmNo, b4 != 1);
            setOwnEnabled(m_alarmSpin, b4 != 1);
        }
        break;
    case 0x56:
        if (sub == 0 && (b4 == 0 || b4 == 1)) {
            for (QWidget *w : {static_cast<QWidget *>(m_markUp), static_cast<QWidget *>(m_markDown),
                               static_cast<QWidget *>(m_markLeft), static_cast<QWidget *>(m_markRight)})
                setOwnEnabled(w, b4 == 1);
        } else if (sub == 1) {
            m_ctx.shared.MarkX = std::uint16_t(f.repWord(4));
            m_ctx.shared.MarkY = std::uint16_t(f.repWord(6));
        }
        break;
    default:
        break;
    }
}

} // namespace h7q8
