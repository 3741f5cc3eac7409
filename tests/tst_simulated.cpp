// The window against the simulated camera in-process, paced as a 9600-baud
// line: what a user of `h7q8tool --simulate` sees.

#include "app/mainwindow.h"
#include "sim/simtransport.h"
#include "ui/controls.h"
#include "ui/dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace h7q8;

namespace {
struct SimTool {
    SimTool()
    {
        camera = new sim::SimTransport;
        window = std::make_unique<TFH7Q3>(camera, QStringLiteral("simulated camera"), &dialogs);
        window->show();
    }
    template <class T> T *ctl(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    bool loaded() const { return window->sequencer().TransferStep == 0; }

    ScriptedDialogs dialogs;
    sim::SimTransport *camera;
    std::unique_ptr<TFH7Q3> window;
};
} // namespace

class TestSimulated : public QObject
{
    Q_OBJECT
private slots:
    void startUpShowsTheCameraState()
    {
        SimTool tool;
        QTRY_VERIFY_WITH_TIMEOUT(tool.loaded(), 5000);
        const sim::CameraModel &cam = tool.camera->model();
        QCOMPARE(tool.ctl<QLabel>("Resolution")->text(), QStringLiteral("Hi-Resolution"));
        QCOMPARE(tool.ctl<QLabel>("TV")->text(), QStringLiteral("NTSC"));
        QCOMPARE(tool.ctl<RadioGroup>("Sync")->itemIndex(), int(cam.sync));
        QCOMPARE(tool.ctl<RadioGroup>("Color")->itemIndex(), int(cam.color));
        QCOMPARE(tool.ctl<TrackBar>("AGCBar")->value(), int(cam.agc));
        QCOMPARE(tool.ctl<QLineEdit>("PhaseLevel")->text(), HexWordText(std::uint16_t(cam.phaseLevel)));
        QCOMPARE(tool.ctl<QLineEdit>("CurrentZoom")->text(), HexWordText(cam.zoomCurrent));
        QCOMPARE(tool.ctl<QLineEdit>("CName")->text().trimmed(), QStringLiteral("H7Q8 CAMERA"));
        QVERIFY(tool.ctl<QWidget>("Panel4")->isEnabled());
        QVERIFY(tool.dialogs.messages.isEmpty());
    }

    void phaseSwitchRoundTrip()
    {
        // A user switches Phase to OFF: the group waits for the camera's
        // answer, then shows what the camera reports and is enabled again.
        SimTool tool;
        QTRY_VERIFY_WITH_TIMEOUT(tool.loaded(), 5000);
        auto *sync = tool.ctl<RadioGroup>("Sync");
        QCOMPARE(sync->itemIndex(), 1);
        QTest::mouseClick(sync->button(0), Qt::LeftButton);
        QVERIFY(!sync->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(sync->isEnabled(), 3000);
        QCOMPARE(sync->itemIndex(), 0);
        QCOMPARE(tool.camera->model().sync, std::uint8_t(0));
        QVERIFY(!tool.ctl<QLineEdit>("PhaseLevel")->isEnabled());
        QVERIFY(tool.dialogs.messages.isEmpty());
    }

    void waitModeZoomMoveArrives()
    {
        SimTool tool;
        QTRY_VERIFY_WITH_TIMEOUT(tool.loaded(), 5000);
        auto *wait = tool.ctl<QCheckBox>("CurrentCheck");
        QTest::mouseClick(wait, Qt::LeftButton);
        QVERIFY(wait->isChecked());
        auto *zoom = tool.ctl<QLineEdit>("ZoomStep");
        zoom->selectAll();
        QTest::keyClicks(zoom, "1800");
        // The lens group waits while the camera moves the lens.
        QVERIFY(!zoom->isEnabled());
        QVERIFY(!tool.ctl<QWidget>("GetZoomCurrent")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(zoom->isEnabled(), 10000);
        QCOMPARE(tool.ctl<QLineEdit>("CurrentZoom")->text(), QStringLiteral("1800"));
        QCOMPARE(tool.camera->model().zoomCurrent, std::uint16_t(0x1800));
        QVERIFY(tool.dialogs.messages.isEmpty());
    }

    void lostRepliesLeaveTheLoadUntilCancel()
    {
        SimTool tool;
        tool.camera->model().faults.lostReplies = true;
        QTest::qWait(200);
        QVERIFY(!tool.loaded());
        QVERIFY(!tool.ctl<QWidget>("Panel4")->isEnabled());
        tool.window->CancelPushClick();
        QVERIFY(tool.loaded());
        QVERIFY(tool.ctl<QWidget>("Panel4")->isEnabled());
        tool.camera->model().faults.lostReplies = false;
        tool.window->ReLoadClick();
        QTRY_VERIFY_WITH_TIMEOUT(tool.loaded(), 5000);
    }
};

QTEST_MAIN(TestSimulated)
#include "tst_simulated.moc"
