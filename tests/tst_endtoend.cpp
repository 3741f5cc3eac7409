// The real serial path end to end: the tool on QSerialPort, the simulated
// camera served by h7q8-camsim on a pseudo-terminal.

#include "app/mainwindow.h"
#include "link/serialtransport.h"
#include "ui/dialogs.h"

#include <QLabel>
#include <QProcess>
#include <QTest>

using namespace h7q8;

class TestEndToEnd : public QObject
{
    Q_OBJECT
private:
    QProcess camsim;
    QString device;

private slots:
    void init()
    {
        const QString program = qEnvironmentVariable("H7Q8_CAMSIM");
        QVERIFY2(!program.isEmpty(), "H7Q8_CAMSIM names the camsim program");
        camsim.start(program, {});
        QVERIFY(camsim.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(camsim.canReadLine(), 5000);
        device = QString::fromLocal8Bit(camsim.readLine()).trimmed();
        QVERIFY2(device.startsWith(QStringLiteral("/dev/")), qPrintable(device));
    }

    void cleanup()
    {
        camsim.terminate();
        if (!camsim.waitForFinished(3000))
            camsim.kill();
    }

    void easyLoadOverPseudoTerminal()
    {
        ScriptedDialogs dialogs;
        TFH7Q3 window(new SerialTransport, device, &dialogs);
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.texts().join(u'\n')));
        QVERIFY(window.link().isOpen());
        // A pseudo-terminal cannot report DSR: it counts as on, so the load started.
        QVERIFY(window.link().DR_check());
        QCOMPARE(window.sequencer().CurrentLoadPage, std::uint8_t(PageEasy));
        // Thirteen commands and replies at 9600 baud: well under two seconds.
        QTRY_COMPARE_WITH_TIMEOUT(window.sequencer().TransferStep, 0, 10000);
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("Panel4"))->isEnabled());
        // The last reply shown is the EEPROM word 0x0151.
        QVERIFY2(window.statusPanelText(2).startsWith(QStringLiteral("A00C0151")),
                 qPrintable(window.statusPanelText(2)));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Resolution"))->text(),
                 QStringLiteral("Hi-Resolution"));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("TV"))->text(), QStringLiteral("NTSC"));
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.texts().join(u'\n')));

        // A write and its echo over the same line.
        window.SW_push(2);
        QTRY_VERIFY_WITH_TIMEOUT(window.statusPanelText(2).startsWith(QStringLiteral("A03202")), 5000);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
