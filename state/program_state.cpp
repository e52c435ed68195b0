// Storage of the program-wide values.
#include "state/program_state.h"

ProgramValues programValues;
