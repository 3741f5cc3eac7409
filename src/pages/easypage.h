#pragma once
// The Easy page: every camera function control, its command, the track-bar
// throttle, the interlocks, and the Easy page decoder.

#include "pagecontext.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace h7q8 {

class BarTimer;
class RadioGroup;
class SpinButton;
class StatusDecoder;
class TitleEditor;
class TrackBar;

// Creates the Easy page's controls (names, captions, items, ranges) on `panel4`.
void BuildEasyPage(QWidget *panel4);

class EasyPage : public QObject
{
    Q_OBJECT
public:
    // Built after BuildEasyPage: finds the page's controls and connects their handlers.
    EasyPage(PageContext &ctx, StatusDecoder &decoder, TitleEditor &title, QObject *parent);

    // Trans_end_easy: run after the common decoder while the Easy page is on show.
    void Trans_end_easy();

    // Wait mode: lens moves hold the lens group until the focus reports arrival.
    bool WaitForArrival() const;

    // The throttle timer named `name` ("RTimer", "AGCTimer", ...), or null.
    BarTimer *barTimer(const QString &name) const;

    std::uint8_t PresetSendFlag = 1;

    // Interval of every track-bar timer.
    static constexpr int BarInterval = 300;

private:
    // A track bar and what its timer does when it fires.
    struct BarBinding {
        TrackBar *bar = nullptr;
        BarTimer *timer = nullptr;
        std::vector<std::uint8_t> prefix; // command bytes before the position
        QLineEdit *target = nullptr;      // the edit that takes the position instead
        bool unchecked = false;           // sends without asking Trans_chk
        bool needsOwnEnabled = false;     // arms only while the bar itself is enabled
    };

    template <class T> T *find(const char *name) const
    {
        return m_ctx.ctl<T>(QString::fromLatin1(name));
    }

    void send(const std::vector<std::uint8_t> &bytes, int count = -1);

    void connectRadio(const char *name, std::vector<std::uint8_t> prefix, bool disableSelf = false,
                      int count = -1);
    void connectCheck(const char *name, std::vector<std::uint8_t> prefix);
    void connectBar(const char *barName, const char *timerName, std::vector<std::uint8_t> prefix,
                    bool unchecked = false);
    void connectEditBar(const char *barName, const char *timerName, QLineEdit *target,
                        bool needsOwnEnabled = false);
    void connectInterlocked(const char *name, const char *partnerName,
                            std::vector<std::uint8_t> prefix, int count = -1);
    void armBar(BarBinding &binding);
    void barTick(BarBinding &binding);

    // Handlers.
    void PresetClick(int item);
    void PresetSetClick();
    void AWBClick();
    void MarkMove(int dx, int dy);
    void HexEditChange(QLineEdit *edit, std::uint8_t sub);
    void ZoomStepChange();
    void FocusStepChange();
    void PhaseLevelChange();
    void AlarmNoChange();
    void HexSpin(QLineEdit *edit, TrackBar *bounds, int step);
    void DecimalSpin(QLineEdit *edit, int step, int lowest, int highest);
    void OnePushAFClick();
    void GetZoomCurrentClick();
    void PosLoadClick();
    void PosSaveClick();
    void BLCAreaTick();

    // The value of a decimal edit; reports the conversion error when it is not a number.
    std::optional<int> DecimalValue(const QLineEdit *edit) const;
    // The 16-bit value of a hexadecimal edit, all ones for a text that is not hexadecimal.
    static std::uint16_t HexEditValue(const QLineEdit *edit);

    // The disable sets of wait mode.
    void DisableZoomSet();
    void DisableFocusSet();
    void DisableReadSet();
    void DisableAll(std::initializer_list<QWidget *> widgets);

    PageContext &m_ctx;
    StatusDecoder &m_decoder;
    TitleEditor &m_title;

    std::deque<BarBinding> m_bars; // stable addresses: the handlers hold them
    BarTimer *m_blcAreaTimer = nullptr;

    RadioGroup *m_blc = nullptr, *m_peak = nullptr, *m_alc = nullptr, *m_aes = nullptr;
    RadioGroup *m_wbSelect = nullptr, *m_preset = nullptr, *m_sync = nullptr;
    RadioGroup *m_initial = nullptr, *m_digitalZoom = nullptr, *m_pushSW = nullptr;
    QPushButton *m_awb = nullptr, *m_presetSet = nullptr;
    QPushButton *m_markUp = nullptr, *m_markDown = nullptr, *m_markLeft = nullptr,
                *m_markRight = nullptr;
    QPushButton *m_getZoomCurrent = nullptr, *m_onePushAF = nullptr;
    QPushButton *m_posLoad = nullptr;
    TrackBar *m_awbBar = nullptr, *m_atwBar = nullptr, *m_blcSensBar = nullptr;
    TrackBar *m_phaseBar = nullptr, *m_peakOnBar = nullptr;
    TrackBar *m_alcAutoBar = nullptr, *m_alcFixBar = nullptr, *m_aesAutoBar = nullptr;
    TrackBar *m_zoomStepBar = nullptr, *m_focusStepBar = nullptr;
    TrackBar *m_zoomSpeedBar = nullptr, *m_focusSpeedBar = nullptr;
    QComboBox *m_aesFixBox = nullptr;
    QLineEdit *m_phaseLevel = nullptr, *m_zoomStep = nullptr, *m_focusStep = nullptr;
    QLineEdit *m_alarmNo = nullptr, *m_positionNo = nullptr;
    SpinButton *m_zoomSpin = nullptr, *m_focusSpin = nullptr, *m_alarmSpin = nullptr,
               *m_positionSpin = nullptr;
    QCheckBox *m_hRev = nullptr, *m_vRev = nullptr;
    QCheckBox *m_currentCheck = nullptr, *m_autoFocus = nullptr;
    QWidget *m_blcArea[48] = {};
};

} // namespace h7q8
