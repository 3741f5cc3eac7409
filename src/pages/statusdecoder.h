#pragma once
// The common decoder: every good reply sets the controls it reports on,
// whatever page is on show. Also the shared routines that page decoders call.

#include "pagecontext.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>

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
    PageContext &m_ctx;
};

} // namespace h7q8
