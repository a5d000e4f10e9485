// Shared set-up of the editor view tests: a frame with an edit view (Java
// colouring on) on a buffer, and real key and mouse events sent to it.
#pragma once

#include "editor/JavaColoring.h"
#include "editor/TextBuffer.h"
#include "editor/TextEditView.h"
#include "gui/GuiTestMain.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace edtest {

// The edit view with Java colouring, as the IDE's view has it, and a drag
// loop that tests can script.
class CJavaEditView : public CTextEditView {
public:
    using CTextEditView::CTextEditView;

    LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs,
                           int runCapacity, int& runCount) override
    {
        runCount = 0;
        return CJavaColoring::ClassifyLine(state, chars, length, runs, runCapacity, runCount);
    }

    // Replaces the system drag loop: returns what a real loop would.
    std::function<wxDragResult(wxDataObject&, int)> dragLoop;
    int dragLoops = 0;

    // Characters refused because the document's encoding cannot hold them.
    std::vector<char32_t> refused;
    void RefuseCharacter(char32_t cp) override { refused.push_back(cp); }

    using CTextEditView::IsTextBeingDragged;
    using CTextView::GetStyleFont;

protected:
    wxDragResult RunDragLoop(wxDataObject& data, int effects) override
    {
        ++dragLoops;
        return dragLoop ? dragLoop(data, effects) : wxDragCancel;
    }
};

// Key codes and modifiers for Key().
enum Mod { NONE = 0, SHIFT = 1, CTRL = 2, ALT = 4 };

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads text (CR LF separated lines) into the buffer.
    void SetText(const std::string& text);
    std::string Text() const; // the whole text, lines joined by "\n"
    std::string Line(int i) const;

    // A key press as the window receives it: key down, and the character
    // message when the key down was not taken.
    void Key(int keyCode, int mods = NONE);
    // Typed characters (UTF-8).
    void Type(const std::string& utf8);
    void Focus(CTextView* v = nullptr);
    void Mouse(wxEventType type, wxPoint p, int mods = NONE, CTextView* v = nullptr);
    // The pixel of the top left corner of a character cell.
    wxPoint Cell(int column, int line, CTextView* v = nullptr);
    void Pump(int ms = 30) { kibtest::PumpEvents(ms); }
    std::string UndoLabel();
    std::string RedoLabel();

    wxFrame* frame = nullptr;
    CJavaEditView* view = nullptr;
    std::unique_ptr<CTextBuffer> buffer;
};

} // namespace edtest
