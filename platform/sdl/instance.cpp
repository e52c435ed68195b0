// One running copy per user and display. The marker is a lock on a file in a
// folder only this user may enter ($XDG_RUNTIME_DIR, checked, else a private
// folder of ours in $TMPDIR or /tmp); the kernel frees the lock when the
// process ends, however it ends. Beside it the first copy listens on a Unix
// socket once the window exists, answering "is this your window?" and turning
// a raise request into an event for the main thread. Another user can neither
// take, squat nor fill the marker: a folder or lock file not this user's own
// counts as no other copy, and the game starts. Every connect, read and write
// has a time limit, answers never raise SIGPIPE, and each peer is served
// within one whole-exchange limit. A copy on another display (another X
// server, another Wayland session) is another player's screen and never meets
// this one; copies on a driver with no display (SDL's dummy driver in a test)
// meet within one session, as its runtime folder tells.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

// The first copy serves each peer within this; a second copy waits this long
// for its answer.
constexpr int kExchangeMs = 500;

InstanceChannel& channel() { return backendData().instance; }

std::string environment(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? value : otherwise;
}

// The display the window goes to: the X server's number and host (":0",
// ":0.0" and "unix:0" are one display), the Wayland socket, or for other
// drivers the driver in the session's runtime folder.
std::string displayScope() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string name = driver ? driver : "none";
    if (name == "x11") {
        const std::string display = environment("DISPLAY", ":0");
        const size_t colon = display.rfind(':');
        if (colon == std::string::npos) return "x11 " + display;
        std::string host = display.substr(0, colon);
        if (host == "unix") host.clear();
        const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
        return "x11 " + host + ":" + number;
    }
    if (name == "wayland") {
        const std::string socket = environment("WAYLAND_DISPLAY", "wayland-0");
        return "wayland " + (socket[0] == '/' ? socket : environment("XDG_RUNTIME_DIR", "") + "/" + socket);
    }
    return name + " " + environment("XDG_RUNTIME_DIR", "");
}

// A short name for the marker and display, so that the socket's path fits.
std::string scopeHash(const std::string& scope) {
    uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    for (const unsigned char c : scope) hash = (hash ^ c) * 0x100000001b3ull;
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// A folder of this user's that no one else may enter (not a link).
bool privateFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && path[0] == '/' && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// Where the marker's files go, ending in "/fingulp-" and a hash; empty when
// no private folder with room for the socket's path is to be had.
std::string markerStem(const std::string& name) {
    const std::string file = "/fingulp-" + scopeHash(name + "\n" + displayScope());
    const auto fits = [&file](const std::string& folder) {
        return folder.size() + file.size() + 5 < sizeof(sockaddr_un::sun_path);  // + ".sock"
    };
    const std::string runtime = environment("XDG_RUNTIME_DIR", "");
    if (fits(runtime) && privateFolder(runtime)) return runtime + file;
    const std::string ours = environment("TMPDIR", "/tmp") + "/fingulp-" + std::to_string(::geteuid());
    if (!fits(ours)) return {};
    ::mkdir(ours.c_str(), 0700);
    return privateFolder(ours) ? ours + file : std::string();
}

bool sockAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

bool sameUser(int socket) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

using Clock = std::chrono::steady_clock;

// Waits until `socket` is ready for `events` before `deadline`; false on
// timeout, trouble, or when `stop` (if any) becomes readable. Without one
// (the main thread asking), an end signal stops it within a slice.
bool ready(int socket, short events, Clock::time_point deadline, int stop) {
    constexpr long kSliceMs = 50;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || (stop < 0 && ending())) return false;
        pollfd fds[2] = {{socket, events, 0}, {stop, POLLIN, 0}};
        const int n = poll(fds, stop >= 0 ? 2 : 1, static_cast<int>(stop >= 0 ? left : std::min(left, kSliceMs)));
        if ((n < 0 && errno == EINTR) || (n == 0 && stop < 0)) continue;
        if (n <= 0 || (stop >= 0 && fds[1].revents)) return false;
        return (fds[0].revents & events) != 0;
    }
}

// One short line, read before the deadline (empty when it does not come).
std::string readLine(int socket, Clock::time_point deadline, int stop) {
    std::string line;
    while (line.size() < 512 && ready(socket, POLLIN, deadline, stop)) {
        char buffer[128];
        const ssize_t n = recv(socket, buffer, sizeof(buffer), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        line.append(buffer, static_cast<size_t>(n));
        const size_t end = line.find('\n');
        if (end != std::string::npos) return line.substr(0, end);
    }
    return {};
}

// Sends the whole text before the deadline; a peer that has gone away is no
// signal, only a failed send.
bool sendAll(int socket, const std::string& text, Clock::time_point deadline, int stop) {
    size_t done = 0;
    while (done < text.size()) {
        if (!ready(socket, POLLOUT, deadline, stop)) return false;
        const ssize_t n = send(socket, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Requests: "find CLASS\tTITLE" is answered "window PID" or "none";
// "raise PID" raises the window and is answered "ok". Ends when `stop` is
// written to.
void serve(int marker, int stop, std::string windowKey) {
    const std::string self = std::to_string(getpid());
    for (;;) {
        pollfd fds[2] = {{marker, POLLIN, 0}, {stop, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        const int peer = accept4(marker, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (peer < 0) continue;
        if (sameUser(peer)) {
            const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kExchangeMs);
            const std::string request = readLine(peer, deadline, stop);
            if (request.rfind("find ", 0) == 0) {
                sendAll(peer, request.substr(5) == windowKey ? "window " + self + "\n" : "none\n", deadline, stop);
            } else if (request == "raise " + self) {
                SDL_Event event{};
                event.type = raiseEventType();
                SDL_PushEvent(&event);
                sendAll(peer, "ok\n", deadline, stop);
            }
        }
        close(peer);
    }
}

// Sends one request to the copy that holds the marker; its answer (empty
// when there is none in time).
std::string ask(const std::string& request) {
    sockaddr_un address{};
    if (!sockAddress(markerStem(channel().name) + ".sock", address)) return {};
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0) return {};
    std::string answer;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kExchangeMs);
    // Non-blocking: a listener whose backlog is full refuses at once.
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 && sameUser(socket) &&
        sendAll(socket, request + "\n", deadline, -1)) {
        answer = readLine(socket, deadline, -1);
    }
    close(socket);
    return answer;
}

}  // namespace

void stopInstanceChannel() {
    InstanceChannel& c = channel();
    if (c.listener.joinable()) {
        const char wake = 1;
        (void)!write(c.stop[1], &wake, 1);
        c.listener.join();
    }
    for (int& fd : c.stop) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    if (c.marker >= 0) {
        // Ours to remove while the lock is held; the lock file stays, as a
        // lock file removed could be locked by two copies at once.
        ::unlink(c.socketPath.c_str());
        close(c.marker);
    }
    if (c.lock >= 0) {
        close(c.lock);
    } else if (c.unanswered && !ending()) {
        // This copy gave up on the one holding the marker (stopped or hung).
        std::fprintf(stderr, "fingulp: another copy holds the game but does not answer; not starting\n");
    }
    c.marker = c.lock = -1;
    c.unanswered = false;
}

// --- The marker and the windows of other copies (offered in sdl_backend.cpp) ---

MarkerResult createMarker(const Char* name) {
    auto& c = channel();
    if (c.lock >= 0) return MarkerResult::Created;
    c.name = plat::toUtf8(name);
    const std::string stem = markerStem(c.name);
    if (stem.empty()) return MarkerResult::Created;  // nowhere safe to keep one: no other copy can be seen
    const int lock = ::open((stem + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (lock < 0) return MarkerResult::Created;
    struct stat st {};
    if (::fstat(lock, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        close(lock);  // not this user's marker: it says nothing of this user's copies
        return MarkerResult::Created;
    }
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        close(lock);
        return why == EWOULDBLOCK ? MarkerResult::AlreadyExisted : MarkerResult::Created;
    }
    c.lock = lock;
    // Whatever socket lies there was left by a copy that has ended.
    c.socketPath = stem + ".sock";
    ::unlink(c.socketPath.c_str());
    sockaddr_un address{};
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket >= 0 && sockAddress(c.socketPath, address) &&
        bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        c.marker = socket;
    } else if (socket >= 0) {
        close(socket);
    }
    return MarkerResult::Created;
}

void publishWindow(const Char* className, const Char* title) {
    auto& c = channel();
    if (c.marker < 0 || c.listener.joinable()) return;
    c.windowKey = plat::toUtf8(className) + "\t" + plat::toUtf8(title);
    if (listen(c.marker, 4) != 0 || pipe2(c.stop, O_CLOEXEC | O_NONBLOCK) != 0) return;
    c.listener = std::thread(plat::sdl::serve, c.marker, c.stop[0], c.windowKey);
}

uint64_t findWindow(const Char* className, const Char* title) {
    const std::string key = plat::toUtf8(className) + "\t" + plat::toUtf8(title);
    const std::string answer = plat::sdl::ask("find " + key);
    channel().unanswered = answer.empty();
    if (answer.rfind("window ", 0) != 0) return 0;
    const uint64_t pid = std::strtoull(answer.c_str() + 7, nullptr, 10);
    // The handle carries the process id above the low bit, which callers may set.
    return pid << 1;
}

void bringToFront(uint64_t window) {
    const uint64_t pid = window >> 1;
    if (pid) plat::sdl::ask("raise " + std::to_string(pid));
}

}  // namespace plat::sdl
