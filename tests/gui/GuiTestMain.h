// Helpers for in-process GUI tests: wx is initialised once by the shared
// main(); tests create real windows and pump the event loop.
#pragma once

#include <functional>
#include <string>

namespace kibtest {

// Processes pending events (and idle events) for about ms milliseconds.
void PumpEvents(int ms = 50);

// Pumps events until pred() holds or timeoutMs passes; returns pred().
bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

// With KIB_SCREENSHOT_DIR set, saves the whole screen there as name.png
// (ImageMagick's import) and fails the test when that does not work.
void SaveScreenIfAsked(const std::string& name);

} // namespace kibtest
