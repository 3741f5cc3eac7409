#include "titleeditor.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace h7q8 {

namespace {

constexpr std::uint16_t NO_CODE = 0xFFFF;
constexpr std::uint16_t SPACE_CODE = 0x00FD;

// The camera's character set, indexed by the title byte.
constexpr std::array<std::uint16_t, 256> makeCharTable()
{
    std::array<std::uint16_t, 256> t{};
    for (auto &code : t)
        code = NO_CODE;
    for (int i = 0; i < 10; ++i)
        t['0' + i] = std::uint16_t(0x0000 + i);
    for (int i = 0; i < 26; ++i) {
        t['A' + i] = std::uint16_t(0x000A + i);
        t['a' + i] = std::uint16_t(0x010A + i); // lower case: high byte 0x01
    }
    t[' '] = 0x00FD;
    t['"'] = 0x0073;
    t['\''] = 0x0072;
    t['('] = 0x005E;
    t[')'] = 0x005F;
    t['*'] = 0x0065;
    t[','] = 0x0074;
    t['-'] = 0x0069;
    t['.'] = 0x0075;
    t['/'] = 0x0029;
    t[':'] = 0x007B;
    t[';'] = 0x007A;
    t['<'] = 0x0060;
    t['>'] = 0x0061;
    t['['] = 0x0062;
    t[']'] = 0x0063;
    t['{'] = 0x0054;
    t['}'] = 0x0055;
    t[0xA1] = 0x0056;
    t[0xA2] = 0x0057;
    return t;
}

constexpr std::array<std::uint16_t, 256> CHAR_TABLE = makeCharTable();

// The title travels as single bytes of a Japanese code page. We map characters
// to those bytes with a small code page of our own:
//   0x00..0x7F  ASCII;
//   0xA1..0xDF  half-width katakana U+FF61..U+FF9F (so 0xA1 is "｡", 0xA2 "｢");
//   anything else becomes 0x80, a byte without a camera code, sent as a space.
constexpr char16_t KANA_FIRST = 0xFF61;
constexpr char16_t KANA_LAST = 0xFF9F;
constexpr std::uint8_t KANA_BYTE_FIRST = 0xA1;
constexpr std::uint8_t KANA_BYTE_LAST = 0xDF;
constexpr std::uint8_t UNMAPPED_BYTE = 0x80;
static_assert(CHAR_TABLE[UNMAPPED_BYTE] == NO_CODE);

} // namespace

std::uint16_t TitleEditor::TitleCharTable(std::uint8_t byte)
{
    return CHAR_TABLE[byte];
}

std::uint8_t TitleEditor::TitleByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return std::uint8_t(u);
    if (u >= KANA_FIRST && u <= KANA_LAST)
        return std::uint8_t(KANA_BYTE_FIRST + (u - KANA_FIRST));
    return UNMAPPED_BYTE;
}

QChar TitleEditor::TitleChar(std::uint8_t byte)
{
    if (byte < 0x80)
        return QChar(char16_t(byte));
    if (byte >= KANA_BYTE_FIRST && byte <= KANA_BYTE_LAST)
        return QChar(char16_t(KANA_FIRST + (byte - KANA_BYTE_FIRST)));
    return QChar(u' ');
}

QChar TitleEditor::TitleDecode(std::uint16_t code)
{
    // 0xFFFF marks "no code" in the table, so it must not find byte 0.
    if (code == NO_CODE)
        return QChar(u' ');
    for (int c = 0; c < 256; ++c)
        if (CHAR_TABLE[std::size_t(c)] == code)
            return TitleChar(std::uint8_t(c));
    return QChar(u' ');
}

std::uint16_t TitleEditor::TitleEncode(const QString &text, int position)
{
    if (text.size() < position)
        return SPACE_CODE;
    const std::uint16_t code = CHAR_TABLE[TitleByte(text.at(position - 1))];
    return code == NO_CODE ? SPACE_CODE : code;
}

TitleEditor::TitleEditor(PageContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TitleEditor"));
    m_name = m_ctx.ctl<QLineEdit>(QStringLiteral("CName"));
    m_position = m_ctx.ctl<QComboBox>(QStringLiteral("Ctitlepos"));
    m_set = m_ctx.ctl<QPushButton>(QStringLiteral("SetTitle"));
    if (m_set) {
        m_set->setEnabled(true);
        connect(m_set, &QPushButton::clicked, this, [this] { SetTitleClick(); });
    }
    if (m_position)
        connect(m_position, &QComboBox::currentIndexChanged, this,
                [this](int item) { CtitleposChange(item); });
    // CName itself sends nothing: the title goes out only through SetTitle.
}

void TitleEditor::SendPart(int part)
{
    const QString text = m_name ? m_name->text() : QString();
    CameraLink &link = m_ctx.link;
    link.setCmd(1, 0x21);
    link.setCmd(2, 0x10);
    link.setCmd(3, 0x01);
    link.setCmd(4, std::uint8_t(part));
    for (int j = 0; j < PartLength; ++j) {
        const std::uint16_t code = TitleEncode(text, PartLength * part + j + 1);
        link.setCmd(5 + 2 * j, std::uint8_t(code >> 8));
        link.setCmd(6 + 2 * j, std::uint8_t(code & 0xFF));
    }
    link.StxCommand(14);
}

void TitleEditor::SetTitleClick()
{
    if (!m_ctx.Trans_chk())
        return;
    if (m_set)
        m_set->setEnabled(false);
    SendPart(0);
}

void TitleEditor::CtitleposChange(int item)
{
    if (item < 0 || !m_ctx.Trans_chk())
        return;
    m_ctx.send({0x21, 0x10, 0x03, std::uint8_t(item)});
}

void TitleEditor::TitlePartMerge(int part, const std::uint8_t *codes)
{
    // Only four parts exist; a part number outside them has no place in the title.
    if (!m_name || part < 0 || part >= PartCount)
        return;
    QString text = m_name->text().left(TitleLength);
    text = text.leftJustified(TitleLength, QLatin1Char(' '));
    for (int j = 0; j < PartLength; ++j) {
        const std::uint16_t code = std::uint16_t(codes[2 * j] * 256 + codes[2 * j + 1]);
        text[PartLength * part + j] = TitleDecode(code);
    }
    m_name->setText(text);
    if (part == PartCount - 1 && m_set)
        m_set->setEnabled(true);
}

void TitleEditor::TitleEcho()
{
    const FrameStore &f = m_ctx.frames();
    const int echoed = f.rep(4);
    std::uint8_t codes[2 * PartLength];
    for (int k = 0; k < 2 * PartLength; ++k)
        codes[k] = f.rep(5 + k);
    TitlePartMerge(echoed, codes);

    // The chain goes on only from the echo of one of our own title part writes.
    const bool titleWrite = f.cmd(1) == 0x21 && f.cmd(2) == 0x10 && f.cmd(3) == 0x01;
    if (!titleWrite || f.cmd(4) == PartCount - 1)
        return;
    if (echoed < 0 || echoed >= PartCount - 1)
        return;
    if (!m_ctx.Trans_chk())
        return;
    SendPart(echoed + 1);
}

} // namespace h7q8
