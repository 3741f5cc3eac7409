#pragma once
// The title editor: the camera's character table, the four-part title send,
// and the merge of title parts received from the camera into CName.

#include "pagecontext.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>

class QComboBox;
class QLineEdit;
class QPushButton;

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

    // Our single-byte code page for the title text (see titleeditor.cpp).
    static std::uint8_t TitleByte(QChar c);
    static QChar TitleChar(std::uint8_t byte);
    // The character a received code shows: the first byte with that code; a space
    // for a code with none.
    static QChar TitleDecode(std::uint16_t code);
    // The camera code sent for title position `position` (1..20) of `text`.
    static std::uint16_t TitleEncode(const QString &text, int position);

    static constexpr int TitleLength = 20;
    static constexpr int PartLength = 5;
    static constexpr int PartCount = 4;

private:
    void SetTitleClick();
    void CtitleposChange(int item);
    // Sends command 0x21 0x10 0x01 part with the part's five codes from CName.
    void SendPart(int part);

    PageContext &m_ctx;
    QPointer<QLineEdit> m_name;
    QPointer<QComboBox> m_position;
    QPointer<QPushButton> m_set;
};

} // namespace h7q8
