// Conversions between the program's UTF-16 text and UTF-8, for back ends and
// the file services. A lone surrogate becomes U+FFFD.
#pragma once

#include <string>

#include "platform/types.h"

namespace plat {

std::string toUtf8(const Char* text);
std::u16string fromUtf8(const std::string& text);

}  // namespace plat
