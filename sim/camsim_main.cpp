// h7q8-camsim: the simulated camera on a pseudo-terminal, so the tool's real
// serial path can be run end to end with --port set to the printed device.

#include "simtransport.h"

#include "link/frame.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &byte, 1);
}

bool Fail(const char *what)
{
    std::fprintf(stderr, "h7q8-camsim: %s: %s\n", what, std::strerror(errno));
    return false;
}

struct Pty {
    int master = -1;
    int slave = -1; // held open so the master never reads EIO between the tool's sessions
    QByteArray slavePath;
};

bool OpenPty(Pty &pty)
{
    pty.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (pty.master < 0)
        return Fail("posix_openpt");
    if (grantpt(pty.master) != 0 || unlockpt(pty.master) != 0)
        return Fail("grantpt/unlockpt");
    const char *name = ptsname(pty.master);
    if (!name)
        return Fail("ptsname");
    pty.slavePath = name;
    pty.slave = ::open(name, O_RDWR | O_NOCTTY);
    if (pty.slave < 0)
        return Fail("open slave");
    // Raw: frame bytes such as 0x03 or 0x0D must pass the line discipline untouched.
    termios tio{};
    if (tcgetattr(pty.slave, &tio) != 0)
        return Fail("tcgetattr");
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    if (tcsetattr(pty.slave, TCSANOW, &tio) != 0)
        return Fail("tcsetattr");
    const int flags = fcntl(pty.master, F_GETFL);
    if (flags < 0 || fcntl(pty.master, F_SETFL, flags | O_NONBLOCK) != 0)
        return Fail("fcntl");
    return true;
}

QByteArray Hex(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper();
}

} // namespace

int main(int argc, char *argv[])
{
    // Signals only write a byte; the event loop does the quitting. Installed
    // first, so a signal during start-up is not fatal but served once running.
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        Fail("socketpair");
        return 1;
    }
    struct sigaction action{};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("h7q8-camsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated H7Q8 camera on a pseudo-terminal.\n"
        "Prints the terminal's device path on the first line, then serves the camera\n"
        "until SIGTERM or SIGINT. Run the tool with --port set to that path."));
    parser.addHelpOption();
    const QCommandLineOption faultOption(
        QStringLiteral("fault"),
        QStringLiteral("Comma-separated faults: error, lost, crc, drop, dsroff "
                       "(dsroff cannot be shown on a pseudo-terminal)."),
        QStringLiteral("LIST"));
    const QCommandLineOption paceOption(
        QStringLiteral("us-per-byte"),
        QStringLiteral("Microseconds between answer bytes; 0 sends at once (default 1042, 9600 baud)."),
        QStringLiteral("N"), QStringLiteral("1042"));
    const QCommandLineOption verboseOption(
        {QStringLiteral("v"), QStringLiteral("verbose")},
        QStringLiteral("Log the bytes received and sent on standard error."));
    parser.addOption(faultOption);
    parser.addOption(paceOption);
    parser.addOption(verboseOption);
    parser.process(app);

    h7q8::sim::Faults faults;
    QString error;
    if (!h7q8::sim::ParseFaults(parser.value(faultOption), faults, &error)) {
        std::fprintf(stderr, "h7q8-camsim: %s\n", qPrintable(error));
        return 2;
    }
    bool paceOk = false;
    const int usPerByte = parser.value(paceOption).toInt(&paceOk);
    if (!paceOk || usPerByte < 0) {
        std::fprintf(stderr, "h7q8-camsim: --us-per-byte needs a number of 0 or more\n");
        return 2;
    }
    const bool verbose = parser.isSet(verboseOption);

    QSocketNotifier signalNotifier(g_signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });

    Pty pty;
    if (!OpenPty(pty))
        return 1;

    h7q8::sim::SimTransport line;
    line.model().faults = faults;
    line.setMicrosecondsPerByte(usPerByte);
    line.open(QString::fromLocal8Bit(pty.slavePath), 9600);

    // Answer bytes wait here while the terminal's buffer is full.
    QByteArray unsent;
    QSocketNotifier writeNotifier(pty.master, QSocketNotifier::Write);
    writeNotifier.setEnabled(false);
    auto flush = [&] {
        while (!unsent.isEmpty()) {
            const ssize_t n = ::write(pty.master, unsent.constData(), size_t(unsent.size()));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno != EAGAIN && errno != EWOULDBLOCK)
                    Fail("write");
                break;
            }
            unsent.remove(0, n);
        }
        writeNotifier.setEnabled(!unsent.isEmpty());
    };
    QObject::connect(&writeNotifier, &QSocketNotifier::activated, &app, flush);
    // The answer leaves in paced pieces; the log shows it as whole frames.
    QByteArray sentLog;
    auto logSent = [&] {
        if (!sentLog.isEmpty())
            std::fprintf(stderr, "-> %s\n", Hex(sentLog).constData());
        sentLog.clear();
    };
    QObject::connect(&line, &h7q8::Transport::bytesArrived, &app, [&](const QByteArray &bytes) {
        if (verbose) {
            sentLog += bytes;
            if (sentLog.size() >= h7q8::REPLY_FRAME_SIZE)
                logSent();
        }
        unsent += bytes;
        flush();
    });

    QSocketNotifier readNotifier(pty.master, QSocketNotifier::Read);
    QObject::connect(&readNotifier, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
            if (n > 0) {
                const QByteArray bytes(buffer, n);
                if (verbose) {
                    logSent();
                    std::fprintf(stderr, "<- %s\n", Hex(bytes).constData());
                }
                line.write(bytes);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                Fail("read");
                QCoreApplication::exit(1);
            }
            break;
        }
    });

    std::printf("%s\n", pty.slavePath.constData());
    std::fflush(stdout);
    if (faults.dsrOff)
        std::fprintf(stderr, "h7q8-camsim: note: a pseudo-terminal has no DSR line; dsroff has no effect\n");

    const int rc = app.exec();
    line.close();
    ::close(pty.slave);
    ::close(pty.master);
    return rc;
}
