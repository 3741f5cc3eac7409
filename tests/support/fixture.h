#pragma once
// A main window on a fake line with scripted dialogs, as the tests drive it.

#include "app/mainwindow.h"
#include "support/faketransport.h"

#include <QTest>

#include <memory>

namespace h7q8::test {

struct Tool {
    // Builds the window; the Easy load's first command is then on the line.
    explicit Tool(bool openSucceeds = true, bool dsrOn = true);
    ~Tool();

    FakeTransport *line;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFH7Q3> window;

    template <class T> T *ctl(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    LoadSequencer &seq() { return window->sequencer(); }
    CameraLink &link() { return window->link(); }

    // Answers the last command sent with reply byte 1 0xA0, its code and first
    // argument echoed, and the given data bytes from reply byte 4 on.
    void answer(std::initializer_list<std::uint8_t> data = {});
    // Answers every command of the running load until it ends; returns how many.
    int finishLoad(int limit = 64);
    // Shows the page `kind` as a user's tab click does.
    void showPage(int kind);
};

} // namespace h7q8::test
