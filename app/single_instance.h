// The one-running-copy rule.
#pragma once

#include <cstdint>

#include "platform/types.h"

constexpr uint32_t kInstanceCheckFailed = 0x80004005;

// 0 when this copy may go on (found 0) or another copy's window was found and
// brought to the front (found 1); kInstanceCheckFailed when the marker cannot
// be made or the other copy's window never showed up.
uint32_t singleInstanceCheck(const plat::Char* className, const plat::Char* title, uint8_t& found);
