#pragma once
// The Easy page: every camera function control, its command, the track-bar
// throttle, the interlocks, and the Easy page decoder.

#include "pagecontext.h"

#include <QObject>

#include <cstdint>

namespace h7q8 {

class StatusDecoder;
class TitleEditor;

// Creates the Easy page's controls (names, captions, items, ranges) on `panel4`.
void BuildEasyPage(QWidget *panel4);

class EasyPage : public QObject
{
    Q_OBJECT
public:
    EasyPage(PageContext &ctx, StatusDecoder &decoder, TitleEditor &title, QObject *parent);

    // Trans_end_easy: run after the common decoder while the Easy page is on show.
    void Trans_end_easy();

    std::uint8_t PresetSendFlag = 1;

private:
    PageContext &m_ctx;
    StatusDecoder &m_decoder;
    TitleEditor &m_title;
};

} // namespace h7q8
