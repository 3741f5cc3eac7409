#include "statusdecoder.h"

#include "../ui/controls.h"

namespace h7q8 {

StatusDecoder::StatusDecoder(PageContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("StatusDecoder"));
}

void StatusDecoder::Trans_end_common() {}
void StatusDecoder::Trans_cstm_hidden() {}
void StatusDecoder::LensStatusApply(int, const LensValues &, bool) {}
void StatusDecoder::LensControlsEnable() {}
void StatusDecoder::InterlockedReport(const QString &, int) {}
void StatusDecoder::WhiteBalanceMode(int) {}
void StatusDecoder::BlcAreaBits(const std::uint8_t *) {}
std::array<std::uint8_t, 6> StatusDecoder::BlcAreaEncode() const { return {}; }
void StatusDecoder::BlcAreaEnable(bool) {}

} // namespace h7q8
