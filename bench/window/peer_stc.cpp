// A peer for the window benchmark: a bare wxStyledTextCtrl (Scintilla) in a
// frame, holding the file given with Java lexing and colours on, monospace,
// no caret blinking, the caret at the start.
//   peer_stc [--size WxH] FILE
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/stc/stc.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const kJavaKeywords =
    "abstract assert boolean break byte case catch char class const continue default do double else enum "
    "extends final finally float for goto if implements import instanceof int interface long native new "
    "package private protected public return short static strictfp super switch synchronized this throw "
    "throws transient try void volatile while true false null";

class CPeerApp : public wxApp {
public:
    bool OnInit() override
    {
        int width = 1024, height = 768;
        std::string path;
        for (int i = 1; i < argc; ++i) {
            std::string a = argv[i].ToStdString();
            if (a == "--size" && i + 1 < argc)
                std::sscanf(argv[++i].ToStdString().c_str(), "%dx%d", &width, &height);
            else
                path = a;
        }
        if (path.empty()) {
            std::fprintf(stderr, "usage: peer_stc [--size WxH] FILE\n");
            return false;
        }
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        const std::string text = s.str();
        const auto slash = path.rfind('/');
        auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8(path.substr(slash + 1)), wxDefaultPosition,
                                  wxSize(width, height));
        auto* stc = new wxStyledTextCtrl(frame, wxID_ANY);
        stc->SetLexer(wxSTC_LEX_CPP); // Scintilla lexes Java with its C-family lexer
        stc->SetKeyWords(0, kJavaKeywords);
        stc->StyleSetFont(wxSTC_STYLE_DEFAULT, wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
        stc->StyleClearAll();
        stc->StyleSetForeground(wxSTC_C_COMMENT, wxColour(0, 128, 0));
        stc->StyleSetForeground(wxSTC_C_COMMENTLINE, wxColour(0, 128, 0));
        stc->StyleSetForeground(wxSTC_C_COMMENTDOC, wxColour(0, 128, 128));
        stc->StyleSetForeground(wxSTC_C_WORD, wxColour(0, 0, 255));
        stc->StyleSetForeground(wxSTC_C_STRING, wxColour(128, 0, 0));
        stc->StyleSetForeground(wxSTC_C_CHARACTER, wxColour(128, 0, 0));
        stc->StyleSetForeground(wxSTC_C_NUMBER, wxColour(255, 0, 0));
        stc->SetCaretPeriod(0);
        stc->SetUndoCollection(false);
        stc->AddTextRaw(text.data(), static_cast<int>(text.size()));
        stc->SetUndoCollection(true);
        stc->EmptyUndoBuffer();
        stc->GotoPos(0);
        frame->Show();
        stc->SetFocus();
        return true;
    }
};

} // namespace

wxIMPLEMENT_APP(CPeerApp);
