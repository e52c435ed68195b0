// The desktop executable: FINGULP in a window on the desktop handset.
#include "app/program.h"
#include "platform/sdl/desktop.h"

int main() {
    if (const int failed = plat::sdl::startDesktop()) return failed;
    const int code = programMain();
    plat::sdl::stopDesktop();
    return code;
}
