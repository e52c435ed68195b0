// Conversions between the program's UTF-16 text and the UTF-8 that the
// desktop, the file system and the command line speak, and the one safe way
// to quote such bytes in a message.
//
// A Linux path is a string of bytes, not always valid UTF-8, and the program
// must name exactly the file it was given. So the conversion is exact on
// every byte string: a byte that does not start a well-formed sequence
// (shortest form, no surrogate, at most U+10FFFF) becomes the lone surrogate
// U+DC80..U+DCFF and is written back as that same byte. Any other lone
// surrogate is written as U+FFFD.
#pragma once

#include <string>

#include "platform/types.h"

namespace plat {

std::string toUtf8(const Char* text);
std::u16string fromUtf8(const std::string& text);

// An argument or path as a message on the terminal quotes it: control bytes
// (an escape sequence that would drive the terminal, a line break) written
// as \xNN, every other byte as it is.
std::string shownArgument(const char* arg);

}  // namespace plat
