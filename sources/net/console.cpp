// console: ANSI escape sequences and raw terminal keys.
#include "net/console.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

termios gSavedTerminal;
std::atomic<bool> gRawMode{false};

void RestoreTerminal() {
    if (gRawMode.exchange(false))
        tcsetattr(STDIN_FILENO, TCSANOW, &gSavedTerminal);
}

void RestoreAndReraise(int sig) {
    RestoreTerminal();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

} // namespace

void ClearConsole() {
    std::fputs("\x1b[2J\x1b[H", stdout);
    std::fflush(stdout);
}

void GotoXY(int x, int y) {
    if (x < 0 || y < 0)
        return;
    std::printf("\x1b[%d;%dH", y + 1, x + 1);
}

void BeginKeyInput() {
    if (!isatty(STDIN_FILENO) || gRawMode.load())
        return;
    if (tcgetattr(STDIN_FILENO, &gSavedTerminal) != 0)
        return;
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        std::atexit(RestoreTerminal);
        std::signal(SIGINT, RestoreAndReraise);
        std::signal(SIGTERM, RestoreAndReraise);
        std::signal(SIGHUP, RestoreAndReraise);
    }
    termios raw = gSavedTerminal;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0)
        gRawMode.store(true);
}

void EndKeyInput() {
    RestoreTerminal();
}

int ReadKey(int timeoutMs) {
    pollfd pfd = {STDIN_FILENO, POLLIN, 0};
    int ready = poll(&pfd, 1, timeoutMs);
    if (ready == 0)
        return ENoKey;
    if (ready < 0)
        return ENoKey;
    unsigned char c;
    ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n == 1)
        return c;
    if (n == 0 || (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return EKeysEnded;
    return ENoKey;
}
