#include "EditorTestUtil.h"

#include "resources/CommandIds.h"

#include <wx/sizer.h>

namespace edtest {

void EditorTest::SetUp()
{
    frame = new wxFrame(nullptr, wxID_ANY, "editor test", wxPoint(0, 0), wxSize(640, 480));
    view = new CJavaEditView(frame, wxID_ANY);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(view, 1, wxEXPAND);
    frame->SetSizer(sizer);
    frame->Show();
    frame->Layout();
    buffer = std::make_unique<CTextBuffer>();
    buffer->InitEmpty(EOL_CRLF);
    view->AttachBuffer(buffer.get());
    view->SetAutoIndent(true);
    view->SetIndentAfterBracket(true);
    Pump(50);
    Focus();
}

void EditorTest::TearDown()
{
    if (view)
        view->DetachBuffer();
    frame->Destroy();
    Pump(20);
}

void EditorTest::SetText(const std::string& text)
{
    ASSERT_TRUE(buffer->LoadFromMemory(text));
    Pump(10);
}

std::string EditorTest::Text() const
{
    std::string all;
    for (int i = 0; i < buffer->LineCount(); ++i) {
        if (i)
            all += "\n";
        all += std::string(buffer->LineText(i));
    }
    return all;
}

std::string EditorTest::Line(int i) const
{
    return std::string(buffer->LineText(i));
}

void EditorTest::Focus(CTextView* v)
{
    v = v ? v : view;
    v->SetFocus();
    // Without a window manager the frame may never become active: deliver
    // the focus notice the way the toolkit would.
    if (!v->IsFocused()) {
        wxFocusEvent ev(wxEVT_SET_FOCUS, v->GetId());
        ev.SetEventObject(v);
        v->GetEventHandler()->ProcessEvent(ev);
    }
    Pump(10);
}

void EditorTest::Key(int keyCode, int mods)
{
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.SetEventObject(view);
    down.m_keyCode = keyCode;
    down.m_shiftDown = (mods & SHIFT) != 0;
    down.m_controlDown = (mods & CTRL) != 0;
    down.m_altDown = (mods & ALT) != 0;
    if (keyCode < 0x80)
        down.m_uniChar = static_cast<wxChar>(keyCode);
    if (!view->GetEventHandler()->ProcessEvent(down)) {
        wxKeyEvent ch(down);
        ch.SetEventType(wxEVT_CHAR);
        if (keyCode == WXK_RETURN)
            ch.m_uniChar = 13;
        view->GetEventHandler()->ProcessEvent(ch);
    }
    Pump(2);
}

void EditorTest::Type(const std::string& utf8)
{
    wxString s = wxString::FromUTF8(utf8);
    for (wxUniChar c : s) {
        wxKeyEvent ch(wxEVT_CHAR);
        ch.SetEventObject(view);
        ch.m_uniChar = static_cast<wxChar>(c.GetValue());
        ch.m_keyCode = c.GetValue() < 0x80 ? static_cast<int>(c.GetValue()) : WXK_NONE;
        view->GetEventHandler()->ProcessEvent(ch);
    }
    Pump(2);
}

void EditorTest::Mouse(wxEventType type, wxPoint p, int mods, CTextView* v)
{
    v = v ? v : view;
    wxMouseEvent ev(type);
    ev.SetEventObject(v);
    ev.m_x = p.x;
    ev.m_y = p.y;
    ev.m_shiftDown = (mods & SHIFT) != 0;
    ev.m_controlDown = (mods & CTRL) != 0;
    ev.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK || type == wxEVT_MOTION;
    v->GetEventHandler()->ProcessEvent(ev);
    Pump(2);
}

wxPoint EditorTest::Cell(int column, int line, CTextView* v)
{
    v = v ? v : view;
    return wxPoint(v->MarginWidth() + (column - v->GetFirstColumn()) * v->GetCharWidth(),
                   (line - v->GetTopLine()) * v->GetLineHeight() + 2);
}

std::string EditorTest::UndoLabel()
{
    CCommandState st;
    view->QueryCommand(kib::ID_EDIT_UNDO, st);
    return st.text;
}

std::string EditorTest::RedoLabel()
{
    CCommandState st;
    view->QueryCommand(kib::ID_EDIT_REDO, st);
    return st.text;
}

} // namespace edtest
