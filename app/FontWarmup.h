// The fonts the main window will show, looked up on another core while the
// window is built: the font configuration is read and the font files are
// opened once for the whole process, so that the window's first text does
// not wait for that.
#pragma once

#include <thread>

class CFontWarmup {
public:
    // Starts at once; the destructor waits for the end.
    CFontWarmup();
    ~CFontWarmup();
    CFontWarmup(const CFontWarmup&) = delete;
    CFontWarmup& operator=(const CFontWarmup&) = delete;

private:
    std::thread m_thread;
};
