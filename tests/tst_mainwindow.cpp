// The main window: its frame, the service code, the id spinner, Reset, Exit,
// the push-switch panel and the mask view.

#include "app/auxwindows.h"
#include "support/fixture.h"
#include "ui/controls.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

using namespace h7q8;
using namespace h7q8::test;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void frameAtStart()
    {
        Tool tool;
        TFH7Q3 &w = *tool.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("H7Q8"));
        QCOMPARE(tool.ctl<QLabel>("Title")->text(), QStringLiteral(" H7Q8 Camera Adjust Tool"));
        QCOMPARE(tool.ctl<QLabel>("Label89")->text(), QStringLiteral("Transmit Comm ID"));
        QCOMPARE(tool.ctl<QLabel>("Order")->text(), QStringLiteral("0"));
        QVERIFY(tool.ctl<QLabel>("Order")->isHidden());
        QVERIFY(tool.ctl<QLabel>("TV"));
        QVERIFY(tool.ctl<QLabel>("Resolution"));
        QCOMPARE(tool.ctl<QLineEdit>("IDEdit")->text(), QStringLiteral("1"));
        QCOMPARE(tool.ctl<UpDown>("IDUpDown")->position(), 1);
        QCOMPARE(tool.ctl<QLineEdit>("pwl")->text(), QString());
        QVERIFY(tool.ctl<QLineEdit>("pwl")->isHidden());
        QCOMPARE(tool.ctl<QLineEdit>("pwl")->echoMode(), QLineEdit::Password);
        QCOMPARE(tool.ctl<QPushButton>("CancelPush")->text(), QStringLiteral("Cancel"));
        QCOMPARE(tool.ctl<QPushButton>("ResetButton")->text(), QStringLiteral("Reset"));
        QCOMPARE(tool.ctl<QPushButton>("ExitButton")->text(), QStringLiteral("Exit"));
        QVERIFY(tool.ctl<QStatusBar>("StatusBar1"));

        auto *tabs = tool.ctl<QTabWidget>("PageControl1");
        const QStringList captions{"CCD Defect", "Debug", "Kizu", "Copy", "Easy", "Line", "Easy2", "AF"};
        const QStringList sheets{"TabSheet1", "TabSheet2", "TabSheet5", "CopySheet",
                                 "TabSheet3", "TabSheet4", "TabSheet6", "TabSheet7"};
        const QList<bool> shown{false, false, false, false, true, false, true, false};
        QCOMPARE(tabs->count(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            QCOMPARE(tabs->widget(i)->objectName(), sheets[i]);
            QCOMPARE(tabs->isTabVisible(i), shown[i]);
        }
        QCOMPARE(tabs->currentIndex(), int(PageEasy));
        const char *panels[] = {"Panel3", "Panel2", "Panel6", "Panel7", "Panel4", "Panel5"};
        const int panelPages[] = {0, 1, 2, 3, 4, 5};
        for (int i = 0; i < 6; ++i) {
            auto *panel = tool.ctl<QWidget>(panels[i]);
            QVERIFY2(panel, panels[i]);
            QCOMPARE(panel->parentWidget(), tabs->widget(panelPages[i]));
        }
        QCOMPARE(tool.ctl<QLineEdit>("MASK_POS")->text(), QStringLiteral("64"));
    }

    void menu()
    {
        Tool tool;
        const QList<std::pair<const char *, const char *>> items{
            {"ReLoad", "&Load"}, {"Reset1", "&Reset"},  {"Exit", "&Exit"},
            {"SW1", "&SW"},      {"OnePush1", "OnePush"}, {"Version1", "&Camera Version"},
            {"PCVersion1", "&PC Version"}};
        for (const auto &[name, caption] : items) {
            auto *action = tool.ctl<QAction>(name);
            QVERIFY2(action, name);
            QCOMPARE(action->text(), QString::fromUtf8(caption));
        }
        QVERIFY(!tool.ctl<QAction>("OnePush1")->isVisible());
        QVERIFY(!tool.ctl<QMenu>("Help")->menuAction()->isVisible());
        QVERIFY(tool.ctl<QMenu>("Camera")->menuAction()->isVisible());
        // Camera > Load reloads the page on show.
        tool.finishLoad();
        tool.line->clearWrites();
        tool.ctl<QAction>("ReLoad")->trigger();
        QCOMPARE(tool.line->commands(3), QList<QByteArray>{Bytes("31 60 00")});
    }

    void serviceCode_data()
    {
        QTest::addColumn<QStringList>("typed"); // successive texts of the field
        QTest::addColumn<bool>("unlocked");
        QTest::addColumn<bool>("fieldVisible");
        QTest::addColumn<int>("attempts");
        QTest::newRow("lower case letter by letter") << QStringList{"w", "wm", "wme", "wmek"} << true << false << 3;
        QTest::newRow("upper case") << QStringList{"W", "WM", "WME", "WMEK"} << true << false << 3;
        QTest::newRow("mixed case refused") << QStringList{"W", "Wm", "WmE", "WmEK"} << false << false << 0;
        QTest::newRow("wrong third letter") << QStringList{"w", "wm", "wmx", "wm"} << false << false << 0;
        QTest::newRow("three wrong, then the code") << QStringList{"a", "ab", "abc", "wmek"} << true << false << 3;
        QTest::newRow("deleting to empty does not count") << QStringList{"w", "", "w", ""} << false << true << 2;
    }
    void serviceCode()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, unlocked);
        QFETCH(bool, fieldVisible);
        QFETCH(int, attempts);
        Tool tool;
        tool.window->show();
        tool.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(tool.window.get()));
        QTest::keyClick(tool.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        auto *pwl = tool.ctl<QLineEdit>("pwl");
        QVERIFY(pwl->isVisible());
        for (const QString &text : typed) {
            if (text.startsWith(pwl->text()) && !pwl->text().isEmpty() && text.size() == pwl->text().size() + 1)
                QTest::keyClicks(pwl, text.right(1)); // typed as a user types
            else
                pwl->setText(text);
        }
        auto *tabs = tool.ctl<QTabWidget>("PageControl1");
        for (int page : {0, 1, 2, 3, 5})
            QCOMPARE(tabs->isTabVisible(page), unlocked);
        QVERIFY(!tabs->isTabVisible(PageAF));
        QCOMPARE(pwl->isVisible(), fieldVisible);
        QCOMPARE(tool.window->serviceAttempts(), attempts);
    }

    void idSpinnerWraps()
    {
        Tool tool;
        tool.finishLoad();
        auto *id = tool.ctl<UpDown>("IDUpDown");
        id->setPosition(255);
        QTest::mouseClick(id->upButton(), Qt::LeftButton);
        QCOMPARE(id->position(), 0);
        QCOMPARE(tool.ctl<QLineEdit>("IDEdit")->text(), QStringLiteral("0"));
        tool.line->clearWrites();
        tool.window->SW_push(1);
        QCOMPARE(tool.line->writes.last(), CommandFrame({0x21, 0x32, 0x01}, 0));
        QTest::mouseClick(id->downButton(), Qt::LeftButton);
        QCOMPARE(id->position(), 255);
        tool.window->SW_push(1);
        QCOMPARE(tool.line->writes.last(), CommandFrame({0x21, 0x32, 0x01}, 255));
        // A number typed into the edit is the id of the next frame.
        auto *edit = tool.ctl<QLineEdit>("IDEdit");
        edit->clear();
        QTest::keyClicks(edit, "42");
        tool.window->SW_push(1);
        QCOMPARE(tool.line->writes.last(), CommandFrame({0x21, 0x32, 0x01}, 42));
    }

    void resetSendsResetFrame()
    {
        Tool tool;
        tool.finishLoad();
        tool.line->clearWrites();
        int hooks = 0;
        tool.window->resetHooks.push_back([&] { ++hooks; });
        tool.link().setLinkPhase(1);
        QTest::mouseClick(tool.ctl<QPushButton>("ResetButton"), Qt::LeftButton);
        QCOMPARE(tool.line->writes, QList<QByteArray>{CommandFrame({0xF1}, 1)});
        QCOMPARE(tool.window->statusPanelText(1), QStringLiteral("F1") + QString(26, u'0'));
        QCOMPARE(tool.link().linkPhase(), 2);
        QVERIFY(!tool.link().busy());
        QCOMPARE(hooks, 1);
        QVERIFY(tool.ctl<QWidget>("PageControl1")->isEnabled());
        // The menu item does the same.
        tool.ctl<QAction>("Reset1")->trigger();
        QCOMPARE(tool.line->writes.size(), 2);
    }

    void resetRefusedDuringLoad()
    {
        Tool tool;
        tool.line->clearWrites();
        tool.ctl<QAction>("Reset1")->trigger();
        QVERIFY(tool.line->writes.isEmpty());
        QVERIFY(tool.dialogs.messages.isEmpty());
    }

    void cancelButtonFreesTheLink()
    {
        Tool tool;
        tool.link().setBusy(true);
        QTest::mouseClick(tool.ctl<QPushButton>("CancelPush"), Qt::LeftButton);
        QCOMPARE(tool.seq().TransferStep, 0);
        QVERIFY(!tool.link().busy());
        for (const char *panel : {"Panel3", "Panel2", "Panel6", "Panel7", "Panel4", "Panel5"})
            QVERIFY2(tool.ctl<QWidget>(panel)->isEnabled(), panel);
        QVERIFY(tool.ctl<QWidget>("PageControl1")->isEnabled());
    }

    void exitClosesLineAndWindow()
    {
        Tool tool;
        tool.window->show();
        QVERIFY(tool.line->isOpen());
        QTest::mouseClick(tool.ctl<QPushButton>("ExitButton"), Qt::LeftButton);
        QVERIFY(!tool.line->isOpen());
        QVERIFY(!tool.window->isVisible());
    }

    void closingTheWindowClosesTheLine()
    {
        Tool tool;
        tool.window->show();
        tool.window->close();
        QVERIFY(!tool.line->isOpen());
    }

    void onePushMenuItem()
    {
        Tool tool;
        tool.finishLoad();
        tool.line->clearWrites();
        auto *item = tool.ctl<QAction>("OnePush1");
        item->setText(QStringLiteral("OnePushAF-On"));
        tool.window->OnePush1Click();
        QCOMPARE(item->text(), QStringLiteral("OnePushAF-Off"));
        tool.window->OnePush1Click();
        QCOMPARE(item->text(), QStringLiteral("OnePushAF-On"));
        QCOMPARE(tool.line->commands(4), (QList<QByteArray>{Bytes("21 5A 00 01"), Bytes("21 5A 00 00")}));
    }

    void pushSwitchButtons()
    {
        Tool tool;
        tool.finishLoad();
        auto *panel = tool.ctl<TFSH7Q3>("TFSH7Q3");
        QVERIFY(panel);
        QVERIFY(!panel->isVisible());
        tool.ctl<QAction>("SW1")->trigger();
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->windowTitle(), QStringLiteral("H7Q3-SW"));
        QCOMPARE(panel->findChild<QWidget *>("push_sw")->property("title").toString(), QStringLiteral("Push SW"));
        tool.line->clearWrites();
        const QList<std::pair<const char *, QString>> buttons{
            {"push_up", "Up"}, {"push_down", "Down"}, {"push_left", "Enter"}, {"push_right", "Pre"}};
        for (const auto &[name, caption] : buttons) {
            auto *b = panel->findChild<QPushButton *>(name);
            QCOMPARE(b->text(), caption);
            QTest::mouseClick(b, Qt::LeftButton);
        }
        // Repeated pushes without waiting all go out.
        QCOMPARE(tool.line->commands(3), (QList<QByteArray>{Bytes("21 32 03"), Bytes("21 32 02"),
                                                            Bytes("21 32 01"), Bytes("21 32 00")}));
        panel->close();
        QVERIFY(!panel->isVisible());
        tool.window->SW1Click();
        QVERIFY(panel->isVisible());
    }

    void pushSwitchKeyMap_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QByteArray>("codes");
        QTest::newRow("up has focus, k is down") << "push_up" << "k" << Bytes("02");
        QTest::newRow("keypad digits") << "push_down" << "8246" << Bytes("03 02 00 01");
        QTest::newRow("upper-case letters") << "push_left" << "IKJL" << Bytes("03 02 00 01");
        QTest::newRow("lower-case letters") << "push_right" << "ikjl" << Bytes("03 02 00 01");
        QTest::newRow("other keys do nothing") << "push_up" << "a5x" << QByteArray();
    }
    void pushSwitchKeyMap()
    {
        QFETCH(QString, button);
        QFETCH(QString, keys);
        QFETCH(QByteArray, codes);
        Tool tool;
        tool.finishLoad();
        tool.window->SW1Click();
        auto *b = tool.ctl<QPushButton>(button.toLatin1().constData());
        b->setFocus();
        tool.line->clearWrites();
        QTest::keyClicks(b, keys);
        QByteArray sent;
        for (const QByteArray &c : tool.line->commands(3)) {
            QCOMPARE(c.left(2), Bytes("21 32"));
            sent.append(c[2]);
        }
        QCOMPARE(sent.toHex(' '), codes.toHex(' '));
    }

    void pushRefusedDuringLoad()
    {
        Tool tool;
        tool.line->clearWrites();
        QTest::mouseClick(tool.ctl<QPushButton>("push_up"), Qt::LeftButton);
        QVERIFY(tool.line->writes.isEmpty());
    }

    void maskViewExistsHidden()
    {
        Tool tool;
        auto *view = tool.ctl<TFMH7Q3>("TFMH7Q3");
        QVERIFY(view);
        QVERIFY(!view->isVisible());
        QCOMPARE(view->windowTitle(), QStringLiteral("H7Q3-Mask"));
        QVERIFY(view->findChild<QWidget *>("Panel9"));
        QVERIFY(view->findChild<QWidget *>("Shape1"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
