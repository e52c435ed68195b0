// TEMPORARY stand-in for the screen controller until screens/ provides it:
// the game frame only asks it to draw the soft-key captions.
#include "screens/controller.h"

ScreenController screenController;

void ScreenController::drawSoftKeys(plat::Surface* /*target*/) {}
