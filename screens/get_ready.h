// The "Get Ready!" card shown before a new game starts.
#pragma once

// Draws the card over the whole screen and blocks for 3 seconds.
void showGetReady();
