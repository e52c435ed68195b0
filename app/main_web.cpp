// The web executable: FINGULP in a page.
#include "app/program.h"
#include "platform/web/web.h"

int main() {
    plat::web::startPage();
    const int code = programMain();
    plat::web::endPage();
    return code;
}
