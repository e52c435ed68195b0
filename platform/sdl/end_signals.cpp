// The ways a desktop session ends from outside: SIGTERM (a logout, kill),
// SIGINT (Ctrl+C) and SIGHUP (the terminal closed) each become the close
// button, so the program saves as Exit does. The handler only writes a byte
// to a pipe; a thread of ours turns it into SDL's quit event, which wakes the
// main thread whatever it waits in. SIGPIPE is ignored: a peer or a reader
// that went away is a failed write, never the end of the game.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

int signalPipe[2] = {-1, -1};

void onEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    (void)!write(signalPipe[1], &byte, 1);
    errno = saved;
}

// Never joined: it sleeps in read() until the process ends.
void forwardEndSignals() {
    for (;;) {
        char byte = 0;
        const ssize_t n = read(signalPipe[0], &byte, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        backendData().input.endSignalled = true;
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);  // refused harmlessly when SDL is not running
    }
}

}  // namespace

void watchEndSignals() {
    static bool watching = false;
    if (watching) return;
    watching = true;
    signal(SIGPIPE, SIG_IGN);
    if (pipe2(signalPipe, O_CLOEXEC) != 0) return;  // SDL's own handlers stay for SIGINT and SIGTERM
    std::thread(forwardEndSignals).detach();
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int end : {SIGTERM, SIGINT, SIGHUP}) sigaction(end, &action, nullptr);
}

}  // namespace plat::sdl
