#include "fixture.h"

#include <QTabWidget>

namespace h7q8::test {

Tool::Tool(bool openSucceeds, bool dsrOn)
{
    line = new FakeTransport;
    line->openSucceeds = openSucceeds;
    line->dsrOn = dsrOn;
    window = std::make_unique<TFH7Q3>(line, QStringLiteral("/dev/ttyFAKE"), &dialogs);
}

Tool::~Tool()
{
    window.reset();
}

void Tool::answer(std::initializer_list<std::uint8_t> data)
{
    const FrameStore &store = link().store();
    QByteArray bytes;
    bytes.append(char(0xA0));
    bytes.append(char(store.cmd(2)));
    bytes.append(char(store.cmd(3)));
    for (auto b : data)
        bytes.append(char(b));
    bytes.resize(15, '\0');
    line->feed(BuildReplyFrame(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t *>(bytes.constData()), 15)));
}

int Tool::finishLoad(int limit)
{
    int n = 0;
    while (seq().TransferStep != 0 && n < limit) {
        answer();
        ++n;
    }
    return n;
}

void Tool::showPage(int kind)
{
    ctl<QTabWidget>("PageControl1")->setCurrentIndex(kind);
}

} // namespace h7q8::test
