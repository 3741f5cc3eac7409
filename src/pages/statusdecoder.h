#pragma once
// The common decoder: every good reply sets the controls it reports on,
// whatever page is on show. Also the shared routines that page decoders call.

#include "pagecontext.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>

class QWidget;

namespace h7q8 {

class RadioGroup;

// Values of a lens status, from a 0x45 reply or a status block.
struct LensValues {
    int target = 0;   // kinds 0, 1
    int current = 0;  // kinds 0, 1
    int focusMax = 0; // kind 0
    int focusMin = 0; // kind 0
    int value = 0;    // kinds 2, 4..9
};

// Extra zoom steps of each digital-zoom selection (OFF, x2, x4, x6, x8, x10).
constexpr std::array<int, 6> DIGITAL_ZOOM_EXTRA{0, 2048, 3072, 3456, 3584, 3648};
constexpr int ZOOM_RANGE_MIN = 0x1000;
constexpr int ZOOM_RANGE_MAX = 0x18C8; // without digital zoom

class StatusDecoder : public QObject
{
    Q_OBJECT
public:
    StatusDecoder(PageContext &ctx, QObject *parent);

    // Trans_end_common: run for every good reply on every page.
    void Trans_end_common();
    // Trans_cstm_hidden: the hidden panel's preset buttons follow `wb_sel`.
    void Trans_cstm_hidden();

    // Shared routines.
    void LensStatusApply(int kind, const LensValues &values, bool afterWrite);
    // The lens values of a 0x45 reply as it stands in the frame store.
    LensValues LensReplyValues() const;
    // LensStatusApply with the kind (reply byte 3) and values of the 0x45 reply in the store.
    void LensStatusReply(bool afterWrite);
    void LensControlsEnable();
    // The report half of the interlocked pairs BLC/PEAK and ALC/AES.
    void InterlockedReport(const QString &group, int value);
    void WhiteBalanceMode(int value);
    // Six bytes into BLCCheck01..BLCCheck48 (box 8k+j+1 is bit j of byte k).
    void BlcAreaBits(const std::uint8_t *sixBytes);
    std::array<std::uint8_t, 6> BlcAreaEncode() const;
    void BlcAreaEnable(bool on);

    // Routines of other pages that the decoder calls; empty until those pages exist.
    std::function<void(int part, const std::uint8_t *codes)> TitlePartMerge; // codes: 10 bytes
    std::function<void()> MotionSet;
    std::function<void()> PowerOnSet;
    std::function<void()> CommIDSet;

private:
    void readReply();
    void statusBlock(int block);
    void maskReply();

    // Pieces shared by the read replies and the status blocks.
    void resolution(int value, bool blockExtents);
    void videoStandard(int value);
    void phaseRange(int maximum, int minimum);
    void phaseLevel(int value);
    void syncState(int value);
    void freezeState(int value);
    void presetState(int value);
    void pushSwitchState(int value);
    void markState(int value);
    void oneShotWhiteBalance(int value);
    void blcEnabling();
    void peakEnabling();
    void alcEnabling();
    void aesEnabling();
    void focusStepRange(int maximum, int minimum);

    // Control access; each does nothing when its page is not built.
    void setRadio(const char *name, int index);
    void setBar(const char *name, int position);
    void setCombo(const char *name, int index);
    void setText(const char *name, const QString &text);
    void setChecked(const char *name, bool checked);
    void setEnabled(const char *name, bool on);
    int radioIndex(const char *name) const;
    bool isChecked(const char *name) const;
    bool enabledOwn(const char *name) const;

    PageContext &m_ctx;
};

} // namespace h7q8
