// The single-instance marker and channel: a marker held by another process is
// seen, and freed when that process is killed; the window is found only by its
// class and exact title, and a raise request reaches the window's owner; a
// peer that hangs up early or drips its request neither kills the game nor
// holds the channel.
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "desktop_fixture.h"
#include "hook/present_figures.h"
#include "platform/backend.h"

namespace {

using desktop_test::DesktopTest;
using Marker = plat::MarkerResult;

std::u16string uniqueName(const char* what) {
    const std::string name = std::string("test-") + what + "-" + std::to_string(getpid());
    return std::u16string(name.begin(), name.end());
}

// A child process that takes the marker and holds it until killed; the pipe
// says when it has it.
pid_t holderOf(const std::u16string& name) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        const char answer = plat::backend::createMarker(name.c_str()) == Marker::Created ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        for (;;) pause();
    }
    char answer = 0;
    (void)!read(ready[0], &answer, 1);
    close(ready[0]);
    close(ready[1]);
    return answer == 'y' ? child : -1;
}

// A connection to the first copy's channel, as any peer of the same user may make.
int connectToChannel() {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& path = plat::sdl::backendData().instance.socketPath;
    std::memcpy(address.sun_path, path.data(), std::min(path.size(), sizeof(address.sun_path) - 1));
    const int peer = socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(connect(peer, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0) << path;
    return peer;
}

TEST_F(DesktopTest, AnotherProcessesMarkerIsSeenAndFreedWhenItIsKilled) {
    const std::u16string name = uniqueName("marker");
    const pid_t holder = holderOf(name);
    ASSERT_GT(holder, 0);
    EXPECT_EQ(plat::backend::createMarker(name.c_str()), Marker::AlreadyExisted);
    // With no window published there is nothing to find yet.
    EXPECT_EQ(plat::backend::findWindow(u"HelloApp", u"Title"), 0u);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_EQ(plat::backend::createMarker(name.c_str()), Marker::Created);
    plat::sdl::stopInstanceChannel();
}

TEST_F(DesktopTest, TheWindowIsFoundByClassAndExactTitleAndRaisedOnRequest) {
    ASSERT_EQ(plat::backend::createMarker(uniqueName("channel").c_str()), Marker::Created);
    plat::backend::publishWindow(u"HelloApp", u"Smartphone 2002");
    EXPECT_EQ(plat::backend::findWindow(u"HelloApp", u"Smartphone"), 0u);
    EXPECT_EQ(plat::backend::findWindow(u"OtherApp", u"Smartphone 2002"), 0u);
    const uint64_t found = plat::backend::findWindow(u"HelloApp", u"Smartphone 2002");
    ASSERT_NE(found, 0u);
    const uint64_t raisesBefore = desktop_hook::presentFigures().raises;
    plat::backend::bringToFront(found | 1);  // the program passes the handle with its low bit set
    plat::backend::waitForInput(plat::backend::now() + 200);
    EXPECT_EQ(desktop_hook::presentFigures().raises, raisesBefore + 1);
    // A made-up handle raises nothing.
    plat::backend::bringToFront(found + 2);
    plat::backend::waitForInput(plat::backend::now() + 200);
    EXPECT_EQ(desktop_hook::presentFigures().raises, raisesBefore + 1);
}

TEST_F(DesktopTest, PeersThatHangUpOrDripNeitherKillNorHoldTheChannel) {
    ASSERT_EQ(plat::backend::createMarker(uniqueName("peers").c_str()), Marker::Created);
    plat::backend::publishWindow(u"HelloApp", u"Title");
    signal(SIGPIPE, SIG_DFL);  // without the game's own guard an answer to a peer gone would end it
    for (int i = 0; i < 20; ++i) {
        const int peer = connectToChannel();
        (void)!send(peer, "find HelloApp\tTitle\n", 20, MSG_NOSIGNAL);
        close(peer);
    }
    const int dripping = connectToChannel();  // a byte every 100 ms: cut off by the exchange's limit
    std::thread drip([dripping] {
        for (int i = 0; i < 30 && send(dripping, "f", 1, MSG_NOSIGNAL) == 1; ++i) SDL_Delay(100);
    });
    SDL_Delay(50);
    EXPECT_NE(plat::backend::findWindow(u"HelloApp", u"Title"), 0u) << "a dripping peer held the channel";
    const uint64_t start = plat::backend::now();
    plat::sdl::stopInstanceChannel();  // ending never waits for a peer
    EXPECT_LT(plat::backend::now() - start, 300u);
    drip.join();
    close(dripping);
    signal(SIGPIPE, SIG_IGN);
}

}  // namespace
