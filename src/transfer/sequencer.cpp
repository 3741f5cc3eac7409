#include "sequencer.h"

#include "../link/cameralink.h"
#include "../ui/dialogs.h"

namespace h7q8 {

static const QString DR_OFF = QStringLiteral("Camera Connection changed (DR OFF)");

LoadSequencer::LoadSequencer(CameraLink &link, Dialogs &dialogs, LoadHost &host)
    : m_link(link), m_dialogs(dialogs), m_host(host)
{
}

bool LoadSequencer::Trans_chk() const
{
    return TransferStep == 0 && !m_link.busy() && !SendSuppressed;
}

int LoadSequencer::endStep(int page)
{
    switch (page) {
    case PageEasy:
        return 13;
    case PageLine:
        return 4;
    case PageEasy2:
        return 8;
    default:
        return 2;
    }
}

bool LoadSequencer::stepCommand(int page, int step, LoadCommand &command, bool &numberError) const
{
    numberError = false;
    if (step < 0 || step >= endStep(page))
        return false;
    auto set = [&](std::initializer_list<std::uint8_t> bytes) {
        command = {};
        int i = 0;
        for (auto b : bytes)
            command.bytes[std::size_t(i++)] = b;
        command.length = i;
    };
    switch (page) {
    case PageEasy:
        if (step < 12)
            set({0x31, 0x60, std::uint8_t(step)});
        else
            set({0x31, 0x0C, 0x01, 0x51});
        return true;
    case PageLine: {
        static const LoadCommand line[] = {
            {{0x31, 0x0A, 0x01}, 3}, {{0x31, 0x0A, 0x40}, 3}, {{0x31, 0x53}, 2}, {{0x31, 0x5B}, 2}};
        command = line[step];
        return true;
    }
    case PageEasy2:
        if (step == 0) {
            set({0x31, 0x52, 0x00});
        } else if (step <= 4) {
            bool ok = false;
            const int position = m_host.maskPosText().trimmed().toInt(&ok);
            if (!ok) {
                numberError = true;
                return false;
            }
            set({0x31, 0x57, std::uint8_t(step - 1), std::uint8_t(position & 0xFF)});
        } else if (step == 5) {
            set({0x31, 0x5C, 0x00, 0x00});
        } else if (step == 6) {
            set({0x31, 0x5D, 0x00, 0x00});
        } else {
            set({0x31, 0x5F, 0x00});
        }
        return true;
    default: // CCD Defect, Debug, Kizu, Copy and AF read the two DSP registers
        set({0x31, 0x0A, std::uint8_t(step == 0 ? 0x01 : 0x40)});
        return true;
    }
}

void LoadSequencer::Trans_init(int page, int step)
{
    TransferStep = step + 1;
    m_link.setCmd(1, 0x31);
    if (page == PageEasy && step == 0)
        m_host.enableWhiteBalanceControls();
    LoadCommand command;
    bool numberError = false;
    if (stepCommand(page, step, command, numberError)) {
        for (int k = 0; k < command.length; ++k)
            m_link.setCmd(k + 1, command.bytes[std::size_t(k)]);
        m_link.StxCommand(command.length);
        return;
    }
    if (numberError) {
        // The load stands at this step until Cancel, as after a lost reply.
        m_dialogs.error(QStringLiteral("'%1' is not a valid integer value.").arg(m_host.maskPosText()));
        return;
    }
    TransferStep = 0;
    m_host.setPageControlEnabled(true);
    m_host.setPagePanelsEnabled(true);
    releaseNext();
}

void LoadSequencer::ReLoadClick()
{
    if (!m_link.DR_check()) {
        m_dialogs.message(DR_OFF, QStringLiteral("H7Q8"), MessageButtons::OkCancel);
        return;
    }
    m_host.setPageControlEnabled(false);
    m_host.setPagePanelsEnabled(false);
    CurrentLoadPage = std::uint8_t(m_host.pageOnShow());
    Trans_init(CurrentLoadPage, 0);
}

void LoadSequencer::Trans_end()
{
    if (decoders.common)
        decoders.common();
    const int page = m_host.pageOnShow();
    if (page >= 0 && page < PAGE_COUNT && decoders.page[std::size_t(page)])
        decoders.page[std::size_t(page)]();
    if (decoders.hidden)
        decoders.hidden();
    if (decoders.cursorMarker)
        decoders.cursorMarker();
}

void LoadSequencer::handleReply()
{
    const int before = TransferStep;
    Trans_end();
    if (TransferStep != 0 && TransferStep == before)
        Trans_init(CurrentLoadPage, TransferStep);
}

void LoadSequencer::cancel()
{
    m_link.cancel();
    TransferStep = 0;
    m_host.setPageControlEnabled(true);
    m_host.setPagePanelsEnabled(true);
    releaseNext();
}

void LoadSequencer::showOrder()
{
    m_host.setOrderCaption(QString::number(m_queue.size()));
}

void LoadSequencer::PageControl1Change()
{
    if (TransferStep == 0 && m_queue.empty()) {
        ReLoadClick();
        return;
    }
    // The count is one byte: a change past 255 waiting loads is not queued;
    // Camera > Load still loads the page on show.
    if (m_queue.size() >= 255)
        return;
    m_queue.push_back(std::uint8_t(m_host.pageOnShow()));
    showOrder();
}

void LoadSequencer::releaseNext()
{
    if (m_queue.empty())
        return;
    CurrentLoadPage = m_queue.front();
    m_queue.pop_front();
    showOrder();
    serveRequest();
}

void LoadSequencer::serveRequest()
{
    if (!m_link.DR_check()) {
        m_dialogs.message(DR_OFF, QStringLiteral("H7Q2TW"), MessageButtons::OkCancel);
        return;
    }
    // A load from the queue leaves the tabs enabled; later changes queue behind it.
    m_host.setPagePanelsEnabled(false);
    TransferStep = 0;
    Trans_init(CurrentLoadPage, 0);
}

void LoadSequencer::clearQueue()
{
    m_queue.clear();
    showOrder();
}

} // namespace h7q8
