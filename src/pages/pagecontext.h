#pragma once
// What a page's behaviour and decoder reach: the link, the load state, the
// dialogs, the shared tables, and the window's controls by name.

#include "../link/cameralink.h"
#include "../transfer/sequencer.h"
#include "../ui/dialogs.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>

namespace h7q8 {

struct SharedState {
    // Last known value of each DSP register and EEPROM word, by address.
    std::array<std::int32_t, 2048> RegisterImage{};
    int SensorExtentH = 1;
    int SensorExtentV = 1;
    std::uint16_t MarkX = 0;
    std::uint16_t MarkY = 0;
};

class PageContext
{
public:
    PageContext(CameraLink &link, LoadSequencer &seq, Dialogs &dialogs, SharedState &shared,
                QWidget *root)
        : link(link), seq(seq), dialogs(dialogs), shared(shared), m_root(root)
    {
    }

    CameraLink &link;
    LoadSequencer &seq;
    Dialogs &dialogs;
    SharedState &shared;

    QWidget *root() const { return m_root; }

    // The control named `name`, or null when its page is not built.
    template <class T> T *ctl(const QString &name) const
    {
        QPointer<QObject> &slot = m_cache[name];
        if (!slot)
            slot = m_root->findChild<QObject *>(name);
        return qobject_cast<T *>(slot.data());
    }

    bool Trans_chk() const { return seq.Trans_chk(); }
    const FrameStore &frames() const { return link.store(); }
    void send(std::initializer_list<std::uint8_t> bytes, int count = -1) { link.send(bytes, count); }
    // A follow-up read or write: sent when the link may send, otherwise dropped, not queued.
    void followUp(std::initializer_list<std::uint8_t> bytes)
    {
        if (Trans_chk())
            send(bytes);
    }

private:
    QWidget *m_root;
    mutable QHash<QString, QPointer<QObject>> m_cache;
};

} // namespace h7q8
