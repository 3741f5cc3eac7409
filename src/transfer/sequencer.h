#pragma once
// Page loads (one read command per good reply), the reply dispatch, and the
// queue of page loads asked for while another runs.

#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>

namespace h7q8 {

class CameraLink;
class Dialogs;

// The pages by index in their fixed order, hidden ones included.
enum PageKind : std::uint8_t {
    PageCcdDefect = 0,
    PageDebug = 1,
    PageKizu = 2,
    PageCopy = 3,
    PageEasy = 4,
    PageLine = 5,
    PageEasy2 = 6,
    PageAF = 7,
};
constexpr int PAGE_COUNT = 8;

// What a page load needs of the window.
class LoadHost
{
public:
    virtual ~LoadHost() = default;
    virtual int pageOnShow() const = 0;
    virtual void setPageControlEnabled(bool enabled) = 0;
    // Panel3, Panel2, Panel6, Panel7, Panel4 and Panel5, always together.
    virtual void setPagePanelsEnabled(bool enabled) = 0;
    // The white-balance controls that the Easy load re-enables at its first step.
    virtual void enableWhiteBalanceControls() = 0;
    // The text of MASK_POS, read by the Easy2 load.
    virtual QString maskPosText() const = 0;
    virtual void setOrderCaption(const QString &caption) = 0;
};

// The decoders that the reply dispatch runs, in this order; later pages fill them.
struct ReplyDecoders {
    std::function<void()> common;                     // Trans_end_common
    std::array<std::function<void()>, PAGE_COUNT> page; // by the page on show
    std::function<void()> hidden;                     // Trans_cstm_hidden
    std::function<void()> cursorMarker;               // the defect cursor marker
};

// One command of a page load: command bytes 1.. and the count handed to StxCommand.
struct LoadCommand {
    std::array<std::uint8_t, 4> bytes{};
    int length = 0;
};

class LoadSequencer
{
public:
    LoadSequencer(CameraLink &link, Dialogs &dialogs, LoadHost &host);

    int TransferStep = 0;
    std::uint8_t CurrentLoadPage = PageEasy;
    bool SendSuppressed = false;
    ReplyDecoders decoders;

    // May a command be sent now: no load running, no block outstanding, no suppression.
    bool Trans_chk() const;
    // Starts the load of the page on show, from step 0.
    void ReLoadClick();
    // The step routine of `page` (Trans_init1..Trans_init8 for pages 0..7).
    void Trans_init(int page, int step);
    // The reply dispatch for one good reply.
    void Trans_end();
    // Runs the dispatch and continues a running load when no decoder took it over.
    void handleReply();
    // Cancel's transfer part: load stopped, panels enabled, next waiting load released.
    void cancel();

    // The load queue.
    void PageControl1Change();
    void releaseNext();
    int queueCount() const { return int(m_queue.size()); }
    const std::deque<std::uint8_t> &queue() const { return m_queue; }
    void clearQueue();

    // The command of step `step` of `page`'s load; false at or past the end or
    // when MASK_POS does not hold a number.
    bool stepCommand(int page, int step, LoadCommand &command, bool &numberError) const;
    static int endStep(int page);

private:
    void serveRequest();
    void showOrder();

    CameraLink &m_link;
    Dialogs &m_dialogs;
    LoadHost &m_host;
    std::deque<std::uint8_t> m_queue; // page kinds, oldest first
};

} // namespace h7q8
