// fingulp-sim: the real program on the headless handset, driven by a script.
#include "app/program.h"
#include "platform/headless/runner.h"
#include "testing/state_report.h"

int main(int argc, char** argv) {
    return plat::headless::runSimulator(argc, argv, programMain, describeProgramState);
}
