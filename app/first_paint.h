// The one-time start-up work done on the window's first paint.
#pragma once

#include "platform/drawing.h"
#include "platform/windowing.h"

// Settings path, sound bank, surfaces, drawing objects, the splash, the
// settings and best scores, the controller's pictures.
void firstPaint(plat::Window* window, plat::Surface* paintSurface);

// The level chosen on the desktop's command line (0 easy, 1 hard), taken as
// if config.ini had said so when the settings are read, and saved at Exit.
void chooseLevel(int level);

// Fills configPath with the executable's folder and "config.ini"; leaves it
// empty when the path would not fit the platform's limit.
void buildConfigPath();
