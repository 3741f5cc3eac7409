#pragma once
// The title editor: the camera's character table, the four-part title send,
// and the merge of title parts received from the camera into CName.

#include "pagecontext.h"

#include <QObject>

#include <cstdint>

namespace h7q8 {

class TitleEditor : public QObject
{
    Q_OBJECT
public:
    TitleEditor(PageContext &ctx, QObject *parent);

    // Merges part `part` (0..3) with its five codes (10 bytes, high byte first) into CName.
    void TitlePartMerge(int part, const std::uint8_t *codes);
    // The Easy page decoder's part for a title part echo (reply 0x10 sub 1).
    void TitleEcho();

    // The camera code of a character byte; 0xFFFF where it has none.
    static std::uint16_t TitleCharTable(std::uint8_t byte);

private:
    PageContext &m_ctx;
};

} // namespace h7q8
