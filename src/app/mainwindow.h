#pragma once
// The main window: the link, the page area with its eight pages, the id
// spinner, Cancel / Reset / Exit, the menu and the status bar.

#include "../link/cameralink.h"
#include "../pages/pagecontext.h"
#include "../transfer/sequencer.h"
#include "../ui/dialogs.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;

namespace h7q8 {

class EasyPage;
class StatusDecoder;
class TFSH7Q3;
class TitleEditor;
class TFMH7Q3;
class UpDown;

class TFH7Q3 : public QMainWindow, public LoadHost
{
    Q_OBJECT
public:
    // Runs on `transport`, opening `device` at start-up. With no dialogs given the
    // window uses the real message boxes. The window takes a parentless transport.
    TFH7Q3(Transport *transport, const QString &device, Dialogs *dialogs = nullptr,
           QWidget *parent = nullptr);
    ~TFH7Q3() override;

    CameraLink &link() { return *m_link; }
    LoadSequencer &sequencer() { return *m_seq; }
    PageContext &context() { return *m_context; }
    SharedState &shared() { return m_shared; }
    StatusDecoder &statusDecoder() { return *m_decoder; }
    EasyPage &easyPage() { return *m_easy; }
    TitleEditor &titleEditor() { return *m_titleEditor; }
    Dialogs &dialogs() { return *m_dialogs; }

    // The protocol routines, by their names.
    bool Trans_chk() const { return m_seq->Trans_chk(); }
    void StxCommand(int count) { m_link->StxCommand(count); }
    // Camera > Load; after the line was lost it first reopens the same device.
    void ReLoadClick();
    void CancelPushClick() { m_seq->cancel(); }
    void Reset1Click();
    void ExitClick();
    void SW1Click();
    void SW_push(int code);
    void OnePush1Click();
    void pwlChange(const QString &text);
    void PageControl1Change() { m_seq->PageControl1Change(); }

    // Brings the hidden service-code field into view (Ctrl+Shift+S).
    void showServiceCodeField();
    int serviceAttempts() const { return m_attempts; }
    QString statusPanelText(int panel) const;

    // Run by Reset; the copy functions close their data file here.
    std::vector<std::function<void()>> resetHooks;

    // LoadHost
    int pageOnShow() const override;
    void setPageControlEnabled(bool enabled) override;
    void setPagePanelsEnabled(bool enabled) override;
    void enableWhiteBalanceControls() override;
    QString maskPosText() const override;
    void setOrderCaption(const QString &caption) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildMenu();
    void buildPages();
    void installPages();
    void wire();
    void FormCreate();
    void FormDestroy();

    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs;
    Transport *m_transport;
    QString m_device;
    CameraLink *m_link = nullptr;
    std::unique_ptr<LoadSequencer> m_seq;
    std::unique_ptr<PageContext> m_context;
    SharedState m_shared;
    StatusDecoder *m_decoder = nullptr;
    TitleEditor *m_titleEditor = nullptr;
    EasyPage *m_easy = nullptr;

    QTabWidget *m_pageControl = nullptr;
    QLabel *m_order = nullptr;
    QLabel *m_title = nullptr;
    QLineEdit *m_pwl = nullptr;
    QLineEdit *m_idEdit = nullptr;
    UpDown *m_idUpDown = nullptr;
    QList<QLabel *> m_statusPanels;
    QList<QWidget *> m_pagePanels;
    QAction *m_onePush = nullptr;
    TFSH7Q3 *m_switchPanel = nullptr;
    TFMH7Q3 *m_maskView = nullptr;
    int m_attempts = 0;
    bool m_closed = false;
};

} // namespace h7q8
