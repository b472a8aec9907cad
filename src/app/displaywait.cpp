#include "app/displaywait.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace Tessar {

namespace {

// A server that has claimed the display (its lock file is there) is given
// this long to answer; with no server there at all, a shorter time for one
// to appear, so a wrong DISPLAY is reported soon.
constexpr auto ClaimedWait = std::chrono::seconds(10);
constexpr auto UnclaimedWait = std::chrono::seconds(2);
constexpr auto Poll = std::chrono::milliseconds(50);

// The display number of a local X display (":0", ":1.0", "unix:2"); -1
// for a remote one or anything else.
int localDisplayNumber(const QByteArray &display)
{
    const int colon = display.lastIndexOf(':');
    if (colon < 0 || (colon > 0 && display.left(colon) != "unix"))
        return -1;
    QByteArray number = display.mid(colon + 1);
    if (const int dot = number.indexOf('.'); dot >= 0)
        number.truncate(dot);
    bool ok = false;
    const int n = number.toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

// The server listens on a socket file and, on Linux, on an abstract
// socket of the same name; either will do.
bool answers(int number)
{
    for (const bool abstract : {false, true}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true; // nothing to learn here; the window system will try
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const int length = std::snprintf(address.sun_path + abstract, sizeof address.sun_path - 1,
                                         "/tmp/.X11-unix/X%d", number);
        const socklen_t size = socklen_t(offsetof(sockaddr_un, sun_path) + abstract + length + (abstract ? 0 : 1));
        const bool connected = ::connect(fd, reinterpret_cast<sockaddr *>(&address), size) == 0;
        ::close(fd);
        if (connected)
            return true;
    }
    return false;
}

bool claimed(int number)
{
    char lock[64];
    std::snprintf(lock, sizeof lock, "/tmp/.X%d-lock", number);
    struct stat info {};
    return ::stat(lock, &info) == 0;
}

bool usesX()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return platform.startsWith("xcb");
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QtMessageHandler previousHandler = nullptr;

void reportFailure(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        if (previousHandler)
            previousHandler(type, context, message);
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "tessar: the window cannot be shown: no display answered%s%s.\n",
                 display.isEmpty() ? "" : " at ", display.constData());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void waitForDisplay()
{
    if (!usesX())
        return;
    const int number = localDisplayNumber(qgetenv("DISPLAY"));
    if (number < 0)
        return;
    const auto start = std::chrono::steady_clock::now();
    while (!answers(number)) {
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited >= ClaimedWait || (waited >= UnclaimedWait && !claimed(number)))
            return;
        std::this_thread::sleep_for(Poll);
    }
}

DisplayFailureGuard::DisplayFailureGuard()
{
    previousHandler = qInstallMessageHandler(reportFailure);
}

DisplayFailureGuard::~DisplayFailureGuard()
{
    qInstallMessageHandler(previousHandler);
}

} // namespace Tessar
