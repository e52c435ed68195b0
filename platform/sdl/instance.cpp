// One running copy per user and display: the marker is an abstract Unix
// socket named with the user id and the display the window goes to (the
// kernel frees it when the process ends, however it ends); once the window
// exists it listens there, answering "is this your window?" and turning a
// raise request into an event for the main thread. Peers of another user are
// refused on both sides. A copy on another display (another X server, another
// Wayland session) is another player's screen and never meets this one, as
// desktop sessions scope their single-instance applications; copies on a
// driver with no display (SDL's dummy driver in a test) meet within one
// session, as its runtime folder tells.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

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

// A short name for the display, so that the socket's name always fits.
std::string scopeHash(const std::string& scope) {
    uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    for (const unsigned char c : scope) hash = (hash ^ c) * 0x100000001b3ull;
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

sockaddr_un addressOf(const std::string& name, socklen_t& length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path =
        "fingulp." + name + "." + std::to_string(getuid()) + "." + scopeHash(displayScope());
    // Abstract namespace: a leading NUL, no file on disk.
    const size_t n = std::min(path.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, path.data(), n);
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return address;
}

bool sameUser(int socket) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

void setTimeouts(int socket) {
    timeval limit{1, 0};
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
}

// One short request: reads up to the first newline-terminated line.
std::string readLine(int socket) {
    std::string line;
    char c = 0;
    while (line.size() < 512 && read(socket, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

bool writeAll(int socket, const std::string& text) {
    return write(socket, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// Requests: "find CLASS\tTITLE" is answered "window PID" or "none";
// "raise PID" raises the window and is answered "ok".
void serve(int marker, std::string windowKey) {
    const std::string self = std::to_string(getpid());
    for (;;) {
        const int peer = accept4(marker, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;  // the marker was shut down
        }
        if (sameUser(peer)) {
            setTimeouts(peer);
            const std::string request = readLine(peer);
            if (request.rfind("find ", 0) == 0) {
                writeAll(peer, request.substr(5) == windowKey ? "window " + self + "\n" : "none\n");
            } else if (request == "raise " + self) {
                SDL_Event event{};
                event.type = raiseEventType();
                SDL_PushEvent(&event);
                writeAll(peer, "ok\n");
            }
        }
        close(peer);
    }
}

// Sends one request to the instance that holds the marker; its answer.
std::string ask(const std::string& request) {
    const InstanceChannel& c = channel();
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return {};
    socklen_t length = 0;
    const sockaddr_un address = addressOf(c.name, length);
    std::string answer;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), length) == 0 && sameUser(socket)) {
        setTimeouts(socket);
        if (writeAll(socket, request + "\n")) answer = readLine(socket);
    }
    close(socket);
    return answer;
}

}  // namespace

void stopInstanceChannel() {
    InstanceChannel& c = channel();
    if (c.marker >= 0) shutdown(c.marker, SHUT_RDWR);
    if (c.listener.joinable()) c.listener.join();
    if (c.marker >= 0) close(c.marker);
    c.marker = -1;
}

// --- The marker and the windows of other copies (offered in sdl_backend.cpp) ---

MarkerResult createMarker(const Char* name) {
    auto& c = channel();
    if (c.marker >= 0) return MarkerResult::Created;
    c.name = plat::toUtf8(name);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return MarkerResult::Failed;
    socklen_t length = 0;
    const sockaddr_un address = plat::sdl::addressOf(c.name, length);
    if (bind(socket, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int why = errno;
        close(socket);
        return why == EADDRINUSE ? MarkerResult::AlreadyExisted : MarkerResult::Failed;
    }
    c.marker = socket;
    return MarkerResult::Created;
}

void publishWindow(const Char* className, const Char* title) {
    auto& c = channel();
    if (c.marker < 0 || c.listener.joinable()) return;
    c.windowKey = plat::toUtf8(className) + "\t" + plat::toUtf8(title);
    if (listen(c.marker, 4) != 0) return;
    c.listener = std::thread(plat::sdl::serve, c.marker, c.windowKey);
}

uint64_t findWindow(const Char* className, const Char* title) {
    const std::string key = plat::toUtf8(className) + "\t" + plat::toUtf8(title);
    const std::string answer = plat::sdl::ask("find " + key);
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
