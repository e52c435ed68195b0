// Starting the replay room afresh, for tests that record and watch many games
// in one process. Test-only, as windowing_reset.h.
#pragma once

namespace plat::replay {

// Nothing recorded or watched, no keeper, no fish count.
void resetReplays();

}  // namespace plat::replay
