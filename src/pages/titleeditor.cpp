#include "titleeditor.h"

namespace h7q8 {

TitleEditor::TitleEditor(PageContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TitleEditor"));
}

void TitleEditor::TitlePartMerge(int, const std::uint8_t *) {}
void TitleEditor::TitleEcho() {}
std::uint16_t TitleEditor::TitleCharTable(std::uint8_t) { return 0xFFFF; }

} // namespace h7q8
