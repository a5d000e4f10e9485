// Puts a text view's pixels onto its X window straight from memory the X
// server shares with Kib: no copy in the program, no pixmap in the server.
// Elsewhere (another display system, a remote or deep-colour display, a
// scaled window) it is not usable and the view draws through its DC.
#pragma once

#include "editor/PixelCanvas.h"

#include <memory>

class wxWindow;
class wxRegion;
class wxPoint;

// The X window a window's pixels land in (0 off X), and where the window
// lies in it.
unsigned long NativeXWindowOf(wxWindow* window, wxPoint& origin);

class CXShmPresenter final : public CPixelCanvas::ISharedStore {
public:
    explicit CXShmPresenter(wxWindow* window);
    ~CXShmPresenter() override;
    CXShmPresenter(const CXShmPresenter&) = delete;
    CXShmPresenter& operator=(const CXShmPresenter&) = delete;

    // Whether the display offers shared memory to this program at all.
    bool Usable() const;

    // Puts area of the canvas (which must live in this store) onto the
    // window at the same place, then the caret rectangle (if not empty) in
    // its colour, and flushes. False when the window cannot take it now;
    // nothing was drawn then.
    bool Put(const CPixelCanvas& canvas, const wxRegion& area, const wxRect& caret, COLORREF caretColor);

    uint32_t* Allocate(int width, int height) override;
    void WaitForReader() override;

    // At most this many stores hold shared memory at once.
    static constexpr int kMaxSegments = 24;

    // Tests turn the presenter off to see the other path.
    static void Disable(bool disabled);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
