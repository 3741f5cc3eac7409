#include "mainwindow.h"

#include "../pages/easypage.h"
#include "../pages/statusdecoder.h"
#include "../pages/titleeditor.h"
#include "../ui/controls.h"
#include "auxwindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace h7q8 {

namespace {
struct PageDef {
    const char *sheet, *caption, *panel;
};
// By PageKind; the Easy2 and AF pages have no panel that loads disable.
const PageDef PAGE_DEFS[PAGE_COUNT] = {
    {"TabSheet1", "CCD Defect", "Panel3"}, {"TabSheet2", "Debug", "Panel2"},
    {"TabSheet5", "Kizu", "Panel6"},       {"CopySheet", "Copy", "Panel7"},
    {"TabSheet3", "Easy", "Panel4"},       {"TabSheet4", "Line", "Panel5"},
    {"TabSheet6", "Easy2", nullptr},       {"TabSheet7", "AF", nullptr},
};

QLabel *label(const char *name, const QString &text, QWidget *parent, int x, int y)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent, QRect geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}
} // namespace

TFH7Q3::TFH7Q3(Transport *transport, const QString &device, Dialogs *dialogs, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_transport(transport), m_device(device)
{
    setObjectName(QStringLiteral("TFH7Q3"));
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<WidgetDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    if (!m_transport->parent())
        m_transport->setParent(this);
    m_link = new CameraLink(m_transport, *m_dialogs, this);
    m_seq = std::make_unique<LoadSequencer>(*m_link, *m_dialogs, *this);
    m_context = std::make_unique<PageContext>(*m_link, *m_seq, *m_dialogs, m_shared, this);

    buildWindow();
    buildMenu();
    buildPages();
    installPages();
    wire();
    // Reply time-out timers: kept, never started. Cancel is the recovery from a lost reply.
    for (auto [name, interval] : {std::pair{"SendTimer", 1500}, std::pair{"ReloadTimer", 2000}}) {
        auto *timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setInterval(interval);
    }
    // The auxiliary windows exist from the start, hidden.
    m_maskView = new TFMH7Q3(this);
    m_switchPanel = new TFSH7Q3([this](int code) { SW_push(code); }, this);
    FormCreate();
    connect(m_pageControl, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
}

TFH7Q3::~TFH7Q3()
{
    FormDestroy();
}

void TFH7Q3::buildWindow()
{
    setWindowTitle(QStringLiteral("H7Q8"));
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(740, 543);
    setCentralWidget(client);

    auto *base = new QWidget(client);
    base->setObjectName(QStringLiteral("Panelbase"));
    base->setGeometry(2, 0, 736, 543);
    QFont bold = base->font();
    bold.setBold(true);
    base->setFont(bold);

    auto *panel1 = new QLabel(base);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1->setGeometry(11, 7, 189, 33);
    m_title = label("Title", QStringLiteral("Camera"), panel1, 8, 9);

    // Wide enough for what the camera reports ("NTSC", "Hi-Resolution").
    label("TV", QStringLiteral("TV"), base, 213, 6)->setFixedWidth(100);
    label("Resolution", QStringLiteral("Resolution"), base, 213, 23)->setFixedWidth(100);
    m_order = label("Order", QStringLiteral("0"), base, 320, 0);
    m_order->hide();
    label("Label89", QStringLiteral("Transmit Comm ID"), base, 316, 16);

    m_idEdit = new QLineEdit(QStringLiteral("1"), base);
    m_idEdit->setObjectName(QStringLiteral("IDEdit"));
    m_idEdit->setGeometry(437, 12, 34, 23);
    m_idUpDown = new UpDown(QStringLiteral("IDUpDown"), 0, 255, 1, true, m_idEdit, base);
    m_idUpDown->setGeometry(471, 12, 16, 23);

    m_pwl = new QLineEdit(QStringLiteral("****"), base);
    m_pwl->setObjectName(QStringLiteral("pwl"));
    m_pwl->setEchoMode(QLineEdit::Password);
    // Placed where the field is visible once brought into view.
    m_pwl->setGeometry(269, 12, 43, 23);
    m_pwl->hide();

    button("CancelPush", QStringLiteral("Cancel"), base, {502, 12, 65, 25});
    button("ResetButton", QStringLiteral("Reset"), base, {579, 12, 65, 25});
    button("ExitButton", QStringLiteral("Exit"), base, {655, 12, 65, 25});

    m_pageControl = new QTabWidget(base);
    m_pageControl->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl->setGeometry(8, 43, 720, 493);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(20);
    const int widths[] = {150, 200, 200, 40};
    // The frame texts are 28 and 30 hexadecimal digits: a small fixed-pitch face fits them.
    QFont frameFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    frameFont.setPixelSize(10);
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 1 || i == 2)
            panel->setFont(frameFont);
        bar->addWidget(panel);
        m_statusPanels.append(panel);
    }
    setStatusBar(bar);
    // Not resizable: the layout is fixed.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFH7Q3::buildMenu()
{
    auto *menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(menuBar);
    auto action = [this](QMenu *menu, const char *name, const QString &caption) {
        auto *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu *camera = menuBar->addMenu(QStringLiteral("&Camera"));
    camera->setObjectName(QStringLiteral("Camera"));
    connect(action(camera, "ReLoad", QStringLiteral("&Load")), &QAction::triggered, this,
            [this] { ReLoadClick(); });
    connect(action(camera, "Reset1", QStringLiteral("&Reset")), &QAction::triggered, this,
            [this] { Reset1Click(); });
    connect(action(camera, "Exit", QStringLiteral("&Exit")), &QAction::triggered, this,
            [this] { ExitClick(); });
    QMenu *option = menuBar->addMenu(QStringLiteral("&Option"));
    option->setObjectName(QStringLiteral("Option1"));
    connect(action(option, "SW1", QStringLiteral("&SW")), &QAction::triggered, this,
            [this] { SW1Click(); });
    m_onePush = action(option, "OnePush1", QStringLiteral("OnePush"));
    m_onePush->setVisible(false);
    connect(m_onePush, &QAction::triggered, this, [this] { OnePush1Click(); });
    QMenu *help = menuBar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help"));
    action(help, "Version1", QStringLiteral("&Camera Version"));
    action(help, "PCVersion1", QStringLiteral("&PC Version"));
    help->menuAction()->setVisible(false);
}

void TFH7Q3::buildPages()
{
    for (const PageDef &def : PAGE_DEFS) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(def.sheet));
        m_pageControl->addTab(sheet, QString::fromLatin1(def.caption));
        if (def.panel) {
            auto *panel = new QWidget(sheet);
            panel->setObjectName(QString::fromLatin1(def.panel));
            panel->setGeometry(0, 0, 712, 466);
            m_pagePanels.append(panel);
        }
    }
    // The Easy2 load reads the mask position from here.
    auto *maskPos = new QLineEdit(QStringLiteral("64"), m_pageControl->widget(PageEasy2));
    maskPos->setObjectName(QStringLiteral("MASK_POS"));
    maskPos->setGeometry(8, 8, 40, 23);
}

void TFH7Q3::installPages()
{
    // Construction first, then each page's behaviour and its place in the dispatch.
    BuildEasyPage(findChild<QWidget *>(QStringLiteral("Panel4")));

    m_decoder = new StatusDecoder(*m_context, this);
    m_titleEditor = new TitleEditor(*m_context, this);
    m_easy = new EasyPage(*m_context, *m_decoder, *m_titleEditor, this);
    m_decoder->TitlePartMerge = [this](int part, const std::uint8_t *codes) {
        m_titleEditor->TitlePartMerge(part, codes);
    };

    ReplyDecoders &d = m_seq->decoders;
    d.common = [this] { m_decoder->Trans_end_common(); };
    d.page[PageEasy] = [this] { m_easy->Trans_end_easy(); };
    d.hidden = [this] { m_decoder->Trans_cstm_hidden(); };
}

void TFH7Q3::wire()
{
    m_link->setCameraIdSource([this] { return std::uint8_t(m_idUpDown->position()); });
    m_link->setReplyHandler([this] { m_seq->handleReply(); });
    connect(m_link, &CameraLink::statusText, this, [this](int panel, const QString &text) {
        if (panel >= 0 && panel < m_statusPanels.size())
            m_statusPanels[panel]->setText(text);
    });
    connect(m_link, &CameraLink::waitCursorChanged, this, [](bool wait) {
        if (wait)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            while (QApplication::overrideCursor())
                QApplication::restoreOverrideCursor();
    });
    connect(m_link, &CameraLink::blockSendStarted, this, [this] { setPageControlEnabled(false); });
    connect(findChild<QPushButton *>(QStringLiteral("CancelPush")), &QPushButton::clicked, this,
            [this] { CancelPushClick(); });
    connect(findChild<QPushButton *>(QStringLiteral("ResetButton")), &QPushButton::clicked, this,
            [this] { Reset1Click(); });
    connect(findChild<QPushButton *>(QStringLiteral("ExitButton")), &QPushButton::clicked, this,
            [this] { ExitClick(); });
    connect(m_pwl, &QLineEdit::textChanged, this, &TFH7Q3::pwlChange);
    auto *reveal = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")), this);
    connect(reveal, &QShortcut::activated, this, &TFH7Q3::showServiceCodeField);
}

void TFH7Q3::FormCreate()
{
    m_seq->clearQueue();
    for (int page : {PageCcdDefect, PageDebug, PageKizu, PageCopy})
        m_pageControl->setTabVisible(page, false);
    m_pageControl->setTabVisible(PageEasy, true);
    m_pageControl->setTabVisible(PageLine, false);
    m_pageControl->setTabVisible(PageEasy2, true);
    m_pageControl->setTabVisible(PageAF, false);
    if (auto *complete2 = findChild<QWidget *>(QStringLiteral("complete2")))
        complete2->hide();
    m_pwl->setText(QString());
    m_attempts = 0;
    m_pageControl->setCurrentIndex(PageEasy);
    m_seq->SendSuppressed = false;
    m_title->setText(QStringLiteral(" H7Q8 Camera Adjust Tool"));
    m_title->adjustSize();
    if (!m_link->Trans_Create(m_device))
        return;
    ReLoadClick();
    if (auto *currentCheck = findChild<QAbstractButton *>(QStringLiteral("CurrentCheck")))
        currentCheck->setChecked(false);
}

void TFH7Q3::FormDestroy()
{
    m_link->close();
}

void TFH7Q3::closeEvent(QCloseEvent *event)
{
    FormDestroy();
    // The auxiliary windows close with the main window.
    m_switchPanel->close();
    m_maskView->close();
    QMainWindow::closeEvent(event);
}

void TFH7Q3::ReLoadClick()
{
    if (m_link->lineLost() && !m_link->Trans_Create(m_device))
        return;
    m_seq->ReLoadClick();
}

void TFH7Q3::Reset1Click()
{
    if (!Trans_chk())
        return;
    m_link->send({0xF1});
    m_link->Cursor_set(false);
    m_link->setLinkPhase(2);
    m_link->setBusy(false);
    for (auto &hook : resetHooks)
        hook();
    setPageControlEnabled(true);
}

void TFH7Q3::ExitClick()
{
    m_seq->clearQueue();
    m_link->close();
    close();
}

void TFH7Q3::SW1Click()
{
    m_switchPanel->show();
    m_switchPanel->raise();
    m_switchPanel->activateWindow();
}

void TFH7Q3::SW_push(int code)
{
    if (!Trans_chk())
        return;
    m_link->send({0x21, 0x32, std::uint8_t(code)});
}

void TFH7Q3::OnePush1Click()
{
    if (!Trans_chk())
        return;
    if (m_onePush->text() == QLatin1String("OnePushAF-On")) {
        m_link->send({0x21, 0x5A, 0x00, 0x01});
        m_onePush->setText(QStringLiteral("OnePushAF-Off"));
    } else {
        m_link->send({0x21, 0x5A, 0x00, 0x00});
        m_onePush->setText(QStringLiteral("OnePushAF-On"));
    }
}

void TFH7Q3::pwlChange(const QString &text)
{
    if (text == QLatin1String("wmek") || text == QLatin1String("WMEK")) {
        for (int page : {PageCcdDefect, PageDebug, PageKizu, PageCopy, PageLine})
            m_pageControl->setTabVisible(page, true);
        for (const char *name : {"CtopOK2", "ptocOk"})
            if (auto *w = findChild<QWidget *>(QString::fromLatin1(name)))
                w->setVisible(true);
        m_pwl->hide();
        return;
    }
    if (m_attempts < 3) {
        if (!text.isEmpty())
            ++m_attempts;
        return;
    }
    m_pwl->hide();
    m_attempts = 0;
}

void TFH7Q3::showServiceCodeField()
{
    m_pwl->show();
    m_pwl->setFocus();
}

QString TFH7Q3::statusPanelText(int panel) const
{
    return m_statusPanels.value(panel) ? m_statusPanels[panel]->text() : QString();
}

int TFH7Q3::pageOnShow() const
{
    return m_pageControl->currentIndex();
}

void TFH7Q3::setPageControlEnabled(bool enabled)
{
    m_pageControl->setEnabled(enabled);
}

void TFH7Q3::setPagePanelsEnabled(bool enabled)
{
    for (QWidget *panel : m_pagePanels)
        panel->setEnabled(enabled);
}

void TFH7Q3::enableWhiteBalanceControls()
{
    for (const char *name : {"wb_select", "AWB", "ATWBar", "AWBBar", "WB"})
        if (auto *w = findChild<QWidget *>(QString::fromLatin1(name)))
            w->setEnabled(true);
}

QString TFH7Q3::maskPosText() const
{
    auto *edit = findChild<QLineEdit *>(QStringLiteral("MASK_POS"));
    return edit ? edit->text() : QString();
}

void TFH7Q3::setOrderCaption(const QString &caption)
{
    if (m_order)
        m_order->setText(caption);
}

} // namespace h7q8
