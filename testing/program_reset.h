// Starting the program afresh in the same process, for tests, the soak and
// the benchmarks; the player's program never does it.
#pragma once

struct ScreenController;

// Builds the three static objects afresh (settings store, first game session,
// screen controller), every program-wide value and the generator, as a fresh
// start of the process would, after giving back the surfaces, the first
// paint's drawing objects and the controller's pictures.
void resetProgram();

// Puts every program-wide value back to its start value (state/program_state.h).
void resetProgramValues();

// Gives back the controller's pictures (the program keeps them for the whole
// run), leaving their places empty.
void releaseControllerPictures(ScreenController& controller);
