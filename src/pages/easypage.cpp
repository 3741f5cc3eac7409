#include "easypage.h"

#include "statusdecoder.h"
#include "titleeditor.h"

namespace h7q8 {

EasyPage::EasyPage(PageContext &ctx, StatusDecoder &decoder, TitleEditor &title, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_decoder(decoder), m_title(title)
{
    setObjectName(QStringLiteral("EasyPage"));
}

void EasyPage::Trans_end_easy() {}

} // namespace h7q8
