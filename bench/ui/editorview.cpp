// Editor view speed on a generated 100 MB Java file of 2.5 million lines, in
// process under X: keystroke to the end of the repaint of the changed line,
// Page Down repaint, Ctrl+End from the top with the colouring walk, and the
// memory of the view's per-line caches. Each figure is printed next to its
// floor (the same work without the view's bookkeeping).
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_ui_editorview [lines]
#include "WxStart.h"
#include "BenchRow.h"
#include "SampleJava.h"
#include "editor/JavaColoring.h"
#include "editor/TextBuffer.h"
#include "editor/TextEditView.h"
#include "settings/Settings.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

class CJavaView : public CTextEditView {
public:
    using CTextEditView::CTextEditView;
    LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs,
                           int runCapacity, int& runCount) override
    {
        runCount = 0;
        return CJavaColoring::ClassifyLine(state, chars, length, runs, runCapacity, runCount);
    }
};

// A Java file of classes with javadoc, comments, strings, numbers and tabs;
// with umlauts, the comments and strings are German in UTF-8 (the same
// number of characters per line, more bytes).
std::string MakeJava(int lines, bool umlauts = false)
{
    static const char* const german[] = {
        "/**",
        " * Javadoc der Klasse mit ein paar Wörtern drin, und ein paar Wörter mehr hier.",
        " */",
        "public class Sample%d extends Base implements Runnable {",
        "    private static final int LIMIT = 0x7f;",
        "\t// wie oft run() gerufen wurde, seit es das Objekt gibt, und von wem: Größe",
        "    private int count = 0; /* zurückgesetzt von run(), wenn es zu groß wird */",
        "    private String name = \"Grüße \\\" Köln\"; // der Name, den die Nutzer sehen (Übermaß)",
        "",
        "    public void run() { // die Hauptschleife des Beispiels, zählt Aufrufe",
        "        for (int i = 0; i < LIMIT; i++) {",
        "            count += compute(i, name, 'ä', 3.14) + compute(count, name, 'ö', 2.71);",
        "\t\t\tif (count > 1e5) { count = 0; }",
        "        }",
        "    }",
        "",
        "    /* ein Blockkommentar für Äpfel */ int compute(int a, String s, char c, double d) {",
        "        return a * 31 + s.length() + c + (int) d + Integer.MAX_VALUE / 1024; // Maß",
        "    }",
        "}",
    };
    const char* const* block = umlauts ? german : benchsample::kJavaBlock;
    const int n = benchsample::kJavaBlockLines;
    static_assert(sizeof benchsample::kJavaBlock == sizeof german);
    std::string out;
    out.reserve(static_cast<size_t>(lines) * 42);
    char buf[256];
    for (int i = 0; i < lines; ++i) {
        const char* l = block[i % n];
        if (i % n == 3) {
            std::snprintf(buf, sizeof buf, l, i / n);
            out += buf;
        } else {
            out += l;
        }
        out += "\r\n";
    }
    return out;
}

long RssKb()
{
    std::ifstream f("/proc/self/status");
    std::string key;
    while (f >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            f >> kb;
            return kb;
        }
        std::getline(f, key);
    }
    return 0;
}

void Pump()
{
    for (int i = 0; i < 20; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}

// The end of a repaint: the view has drawn (Update paints synchronously) and
// the X server has taken every request sent before a round trip.
void FinishPaint(CTextView* view)
{
    view->Update();
    (void)wxGetMousePosition();
}

void Key(CTextView* view, int code, bool ctrl = false)
{
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.SetEventObject(view);
    down.m_keyCode = code;
    down.m_controlDown = ctrl;
    view->GetEventHandler()->ProcessEvent(down);
}

void Char(CTextView* view, wchar_t c)
{
    wxKeyEvent ch(wxEVT_CHAR);
    ch.SetEventObject(view);
    ch.m_uniChar = c;
    ch.m_keyCode = c;
    view->GetEventHandler()->ProcessEvent(ch);
}

struct Stats {
    double median, p99, max;
};

Stats Summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5))]; };
    return {at(0.5), at(0.99), v.back()};
}

// The human-readable line, then the table row for scripts/bench.sh.
void Print(const char* what, const Stats& s, const char* floorName, double floorMedian,
           const benchrow::Target& target)
{
    std::printf("%-44s median %7.3f ms  p99 %7.3f ms  max %7.3f ms | floor %7.3f ms  ratio %5.2f | target %s\n",
                what, s.median, s.p99, s.max, floorMedian, floorMedian > 0 ? s.median / floorMedian : 0.0,
                target.text.c_str());
    benchrow::Row(std::string("view: ") + what, s.median, "ms", floorName, floorMedian, target);
}

// Keystrokes and Page Downs on one text, with the floors of each.
struct Editing {
    std::vector<double> typing, backspace, linePaint, pageDown, fullPaint;
};

Editing MeasureEditing(CTextView* view, CTextBuffer& buffer, wchar_t typed)
{
    Editing e;
    std::vector<double>& typing = e.typing;
    std::vector<double>& backspace = e.backspace;
    std::vector<double>& linePaint = e.linePaint;
    std::vector<double>& pageDown = e.pageDown;
    std::vector<double>& fullPaint = e.fullPaint;
    // --- Page Down from the top.
    Key(view, WXK_HOME, true);
    FinishPaint(view);
    for (int i = 0; i < 300; ++i) {
        auto s = Clock::now();
        Key(view, WXK_PAGEDOWN);
        FinishPaint(view);
        pageDown.push_back(Ms(Clock::now() - s));
        if (i % 10 == 0)
            Pump();
    }
    // Floor: drawing the whole screen again without scrolling.
    for (int i = 0; i < 100; ++i) {
        auto s = Clock::now();
        view->Refresh();
        FinishPaint(view);
        fullPaint.push_back(Ms(Clock::now() - s));
    }

    // --- Keystrokes in the middle of the text.
    int mid = buffer.LineCount() / 2;
    view->ScrollToTopLine(mid - 10);
    view->PutCaret(TextPos(8, mid));
    FinishPaint(view);
    Pump();
    const long paintsBefore = view->PaintCount();
    int lastPaintHeight = 0;
    for (int i = 0; i < 1000; ++i) {
        auto s = Clock::now();
        Char(view, typed);
        FinishPaint(view);
        typing.push_back(Ms(Clock::now() - s));
        lastPaintHeight = view->LastPaintBox().height;
        s = Clock::now();
        Key(view, WXK_BACK);
        FinishPaint(view);
        backspace.push_back(Ms(Clock::now() - s));
        if (i % 50 == 0)
            Pump();
    }
    // Every measured keystroke must have been painted inside the measurement.
    const long paints = view->PaintCount() - paintsBefore;
    std::printf("paints during the 2000 keystrokes: %ld; lines drawn for a keystroke: %d\n", paints,
                lastPaintHeight / std::max(1, view->GetLineHeight()));
    // Floor: repainting the caret line alone, nothing edited.
    for (int i = 0; i < 300; ++i) {
        int lh = view->GetLineHeight();
        wxRect r(0, (mid - view->GetTopLine()) * lh, view->GetClientSize().x, lh);
        auto s = Clock::now();
        view->RefreshRect(r, false);
        FinishPaint(view);
        linePaint.push_back(Ms(Clock::now() - s));
    }

    return e;
}

} // namespace

int main(int argc, char** argv)
{
    int lines = argc > 1 ? std::atoi(argv[1]) : 2500000;
    if (!kibbench::StartBenchWx(argc, argv))
        return 2;

    auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1000, 720));
    auto* view = new CJavaView(frame);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(view, 1, wxEXPAND);
    frame->SetSizer(sizer);
    frame->Show();
    frame->Layout();
    Pump();
    view->ApplySettings(CSettings());
    view->SetFocus();
    wxFocusEvent focus(wxEVT_SET_FOCUS, view->GetId());
    view->GetEventHandler()->ProcessEvent(focus);

    std::string text = MakeJava(lines);
    CTextBuffer buffer;
    if (!buffer.LoadFromMemory(text)) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    std::printf("text: %d lines, %.1f MB; view %dx%d, %d lines on screen\n", buffer.LineCount(),
                static_cast<double>(text.size()) / (1 << 20), view->GetClientSize().x, view->GetClientSize().y,
                view->GetScreenLines());
    std::string().swap(text);

    long rssBefore = RssKb();
    auto t0 = Clock::now();
    view->AttachBuffer(&buffer);
    FinishPaint(view);
    std::printf("attach and first paint (display lengths of all lines for the scroll bar): %.1f ms\n",
                Ms(Clock::now() - t0));

    // --- Ctrl+End from the top, colouring walk included.
    std::vector<double> ctrlEnd, walkOnly;
    for (int run = 0; run < 5; ++run) {
        view->AttachBuffer(&buffer); // every state unknown again
        FinishPaint(view);
        Pump();
        auto s = Clock::now();
        Key(view, WXK_END, true);
        FinishPaint(view);
        ctrlEnd.push_back(Ms(Clock::now() - s));
        // Floor: the classifier walk over every line alone.
        s = Clock::now();
        LineState st = 0;
        for (int i = 0; i < buffer.LineCount(); ++i)
            st = CJavaColoring::ClassifyLine(st, buffer.LineChars(i), buffer.LineLength(i));
        walkOnly.push_back(Ms(Clock::now() - s));
        if (st == 0xDEAD)
            std::printf(" ");
    }
    size_t cache = view->CacheMemory();
    long rssAfter = RssKb();

    const Editing ascii = MeasureEditing(view, buffer, L'x');
    std::printf("\n");
    const benchrow::Target keystroke{0, 2.0, false, "median <= 2 ms"};
    Print("keystroke to end of repaint (typing)", Summarise(ascii.typing), "caret line repaint",
          Summarise(ascii.linePaint).median, keystroke);
    Print("keystroke to end of repaint (backspace)", Summarise(ascii.backspace), "caret line repaint",
          Summarise(ascii.linePaint).median, keystroke);
    Print("Page Down repaint", Summarise(ascii.pageDown), "full repaint", Summarise(ascii.fullPaint).median,
          {0, 5.0, false, "<= 5 ms"});
    Print("Ctrl+End from the top, colouring walk incl.", Summarise(ctrlEnd), "classifier walk",
          Summarise(walkOnly).median, {0, 300.0, false, "<= 300 ms"});
    std::printf("%-44s %.2f bytes per line (%zu bytes for %d lines) | floor 5.00 (1 state byte + 4 width bytes) | target <= 8\n",
                "memory of the view's per-line caches", static_cast<double>(cache) / buffer.LineCount(), cache,
                buffer.LineCount());
    benchrow::Row("view: memory of the per-line caches", static_cast<double>(cache) / buffer.LineCount(),
                  "bytes/line", "state + width bytes", 5.0, {0, 8.0, false, "<= 8 bytes/line"});
    std::printf("%-44s %.2f bytes per line (process RSS growth from attach to after Ctrl+End)\n", "",
                (rssAfter - rssBefore) * 1024.0 / buffer.LineCount());

    // --- A 20 MB line paints like a short one: the full screen repainted
    // with it on screen, at the start of the line and scrolled to its end.
    {
        std::string big;
        big.reserve((20u << 20) + 64);
        while (big.size() < (20u << 20))
            big += "int value = compute(a, b) + 42; /* c */ ";
        CTextBuffer longBuffer;
        longBuffer.LoadFromMemory("class Big {\r\n" + big + "\r\n}\r\n");
        view->AttachBuffer(&longBuffer);
        FinishPaint(view);
        std::vector<double> atStart, atEnd;
        for (int i = 0; i < 50; ++i) {
            auto s = Clock::now();
            view->Refresh();
            FinishPaint(view);
            atStart.push_back(Ms(Clock::now() - s));
        }
        view->PutCaret(TextPos(longBuffer.LineLength(1), 1));
        FinishPaint(view);
        for (int i = 0; i < 20; ++i) {
            auto s = Clock::now();
            view->Refresh();
            FinishPaint(view);
            atEnd.push_back(Ms(Clock::now() - s));
        }
        // "Like a short line", with room for the one long line's clipping.
        const benchrow::Target likeShort{1.5, 0, false, "<= 1.5x short lines"};
        Print("full repaint, 20 MB line at its start", Summarise(atStart), "full repaint, short lines",
              Summarise(ascii.fullPaint).median, likeShort);
        Print("full repaint, 20 MB line scrolled to its end", Summarise(atEnd), "full repaint, short lines",
              Summarise(ascii.fullPaint).median, likeShort);
        view->AttachBuffer(&buffer);
    }

    // --- The same keystrokes and Page Downs on the German text in UTF-8, an
    // umlaut typed, each beside the ASCII figure.
    {
        std::string german = MakeJava(lines, true);
        CTextBuffer germanBuffer;
        if (!germanBuffer.LoadFromMemory(german) || germanBuffer.Encoding() != TextEncoding::Utf8) {
            std::fprintf(stderr, "German text not loaded as UTF-8\n");
            return 1;
        }
        std::printf("\nUTF-8 text: %d lines, %.1f MB\n", germanBuffer.LineCount(),
                    static_cast<double>(german.size()) / (1 << 20));
        std::string().swap(german);
        view->AttachBuffer(&germanBuffer);
        FinishPaint(view);
        const Editing utf8 = MeasureEditing(view, germanBuffer, L'\u00E4');
        const benchrow::Target likeAscii{1.5, 0, false, "<= 1.5x ASCII"};
        Print("UTF-8: keystroke (typing)", Summarise(utf8.typing), "ASCII", Summarise(ascii.typing).median,
              likeAscii);
        Print("UTF-8: keystroke (backspace)", Summarise(utf8.backspace), "ASCII", Summarise(ascii.backspace).median,
              likeAscii);
        Print("UTF-8: Page Down", Summarise(utf8.pageDown), "ASCII", Summarise(ascii.pageDown).median, likeAscii);
        view->AttachBuffer(&buffer);
    }

    view->DetachBuffer();
    frame->Destroy();
    Pump();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
