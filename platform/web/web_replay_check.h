// The page's question to the program before it keeps or opens a replay: is
// this text one the program plays? (Exported to web_files.js.)
#pragma once

extern "C" {
// Empty when `text` (a replay's text form) is a replay this program plays;
// else the one-line reason. Valid until the next call.
const char* fingulp_replay_problem(const char* text);
}
