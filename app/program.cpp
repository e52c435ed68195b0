// The main routine: one running copy, the window class and window, the
// message loop.
#include "app/program.h"

#include "app/single_instance.h"
#include "app/window_proc.h"
#include "screens/game_replays.h"
#include "platform/resources.h"
#include "platform/windowing.h"
#include "state/program_state.h"

namespace {
constexpr plat::Char kClassName[] = u"HelloApp";
constexpr int32_t kTitleResource = 103;
constexpr int32_t kIconGroup = 108;
}  // namespace

int programMain() {
    plat::Char title[20];
    if (plat::loadString(kTitleResource, title, 20) == 0) return 0;

    // Watching a replay is not playing: it may run beside the player's copy.
    uint8_t found = 0;
    connectGameToReplays();
    const bool watching = watchingReplay();
    if (!watching && (singleInstanceCheck(kClassName, title, found) != 0 || found == 1)) return 0;
    if (plat::closeRequested()) return 0;  // ended before there was a window: nothing to save

    if (!plat::registerClass(kClassName, mainWindowProc, kIconGroup)) return 0;
    mainWindow = plat::createWindow(kClassName, title, 178, 225);
    if (!mainWindow) return 0;

    plat::showWindow(mainWindow);  // gains the focus: the game timer starts
    plat::updateWindow(mainWindow);  // the first paint

    plat::Event event;
    while (plat::nextEvent(event)) plat::dispatchEvent(event);
    return plat::quitCode();
}
