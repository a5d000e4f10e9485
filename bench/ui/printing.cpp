// Printing speed: the JDK's String.java printed into a PDF by the view's
// printout as Kib's default settings have it (Courier New of 10 points, line
// numbers; the face fontconfig gives for it, an OpenType-CFF face on
// Debian) through Kib's own PDF writer, and for comparison every page
// through cairo and the same job in DejaVu Sans Mono (TrueType), next to
// enscript printing the same file into PostScript in the same run (the
// peer; target at most 3 times its time), and the layout of a 100,000-line
// file as the preview makes it on opening (layout plus the first page).
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/default/bench/bench_ui_printing [runs]
#include "BenchRow.h"
#include "WxStart.h"
#include "editor/PdfPrinter.h"
#include "editor/TextBuffer.h"
#include "editor/TextEditView.h"
#include "editor/TextPrintout.h"
#include "platform/UserStore.h"
#include "settings/LogFont.h"
#include "settings/Settings.h"
#include "support/CommandOutput.h"
#include "support/JdkSources.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <class F>
double TimeMs(F&& f)
{
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    if (!kibbench::StartBenchWx(argc, argv))
        return 1;

    char dirTmpl[] = "/tmp/kib-bench-print-XXXXXX";
    const std::string dir = mkdtemp(dirTmpl);
    platform::CUserStore::Instance().SetFile(dir + "/store.txt");
    const std::string zip = kibtest::FindJdkSourceZip();
    const std::string source = dir + "/String.java";
    if (zip.empty() ||
        std::system(("unzip -p '" + zip + "' java.base/java/lang/String.java > '" + source + "'").c_str()) != 0) {
        std::fprintf(stderr, "String.java not found in the JDK's src.zip\n");
        return 1;
    }

    auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(800, 600));
    auto* view = new CTextEditView(frame);
    CTextBuffer buffer;
    buffer.LoadFile(source);
    view->AttachBuffer(&buffer);
    // What a user prints with: the view as Kib's default settings make it.
    const CSettings defaults;
    view->ApplySettings(defaults);
    frame->Show();
    wxTheApp->Yield();
    const std::string face = view->TextFont().GetFaceName().utf8_string();
    const std::string faceFile = kibtest::CommandOutput("fc-match -f '%{file}' '" + face + "' 2>/dev/null");

    // Ours: the whole file into a PDF. Peer: enscript into PostScript.
    std::vector<double> ours, cairo, peer, dejavu;
    PdfPageSetup throughCairo;
    throughCairo.cairoOnly = true;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(TimeMs([&] {
            CTextPrintout printout(view);
            PrintToPdf(printout, dir + "/String.pdf", PdfPageSetup{}, 0, 0);
        }));
        cairo.push_back(TimeMs([&] {
            CTextPrintout printout(view);
            PrintToPdf(printout, dir + "/String-cairo.pdf", throughCairo, 0, 0);
        }));
        peer.push_back(TimeMs([&] {
            std::system(("enscript -q -p '" + dir + "/String.ps' '" + source + "' 2>/dev/null").c_str());
        }));
    }
    // The TrueType face at the same size, after the others (a change of
    // face reads its file again).
    CLogFont mono = defaults.m_editorFont;
    mono.SetFaceName("DejaVu Sans Mono");
    view->SetTextFont(mono);
    wxTheApp->Yield();
    for (int i = 0; i < runs; ++i)
        dejavu.push_back(TimeMs([&] {
            CTextPrintout printout(view);
            PrintToPdf(printout, dir + "/String-dejavu.pdf", PdfPageSetup{}, 0, 0);
        }));
    view->ApplySettings(defaults);

    // A job that fell back to cairo would not measure the own writer; the
    // fonts say which face it embedded.
    struct Written {
        int pages = 0;
        bool own = false;
        std::string font;
    };
    auto written = [&](const std::string& pdf) {
        Written w;
        const std::string info = kibtest::CommandOutput("pdfinfo '" + pdf + "' 2>/dev/null");
        if (const size_t at = info.find("Pages:"); at != std::string::npos)
            w.pages = std::atoi(info.c_str() + at + 6);
        w.own = info.find("Producer:        Kib") != std::string::npos;
        w.font = kibtest::CommandOutput("pdffonts '" + pdf + "' 2>/dev/null | tail -n +3 | cut -c1-55 | tr -s ' '");
        while (!w.font.empty() && (w.font.back() == '\n' || w.font.back() == ' '))
            w.font.pop_back();
        return w;
    };
    const Written courier = written(dir + "/String.pdf"), viaCairo = written(dir + "/String-cairo.pdf"),
                  truetype = written(dir + "/String-dejavu.pdf");
    auto minOf = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    const double o = Median(ours), c = Median(cairo), p = Median(peer), d = Median(dejavu), ratio = p > 0 ? o / p : 0;
    std::printf("String.java: %d lines, %d pages; default font %s %d pt (%s), line numbers %s\n", buffer.LineCount(),
                courier.pages, face.c_str(), defaults.m_editorFont.PointSize(96), faceFile.c_str(),
                defaults.m_showLineNumbers ? "on" : "off");
    auto line = [](const std::string& label, bool taken, double median, double min, const std::string& font) {
        std::printf("%-55s %8.1f ms (min %.1f)%s%s%s\n", (label + (taken ? "" : " NOT TAKEN") + ":").c_str(), median,
                    min, font.empty() ? "" : " [", font.c_str(), font.empty() ? "" : "]");
    };
    std::printf("%d runs, medians\n", runs);
    line("printing to PDF, default font (Kib's writer)", courier.own, o, minOf(ours), courier.font);
    line("printing to PDF, default font (cairo)", true, c, minOf(cairo), viaCairo.font);
    line("printing to PDF, DejaVu Sans Mono (Kib's writer)", truetype.own, d, minOf(dejavu), truetype.font);
    line("peer: enscript to PostScript", true, p, minOf(peer), "");
    std::printf("ratio %.2fx, target <= 3.00x: %s\n", ratio, ratio <= 3.0 && courier.own ? "met" : "over target");
    benchrow::Row("printing: String.java to PDF, default font (median)", courier.own ? o : -1, "ms",
                  "enscript to PostScript", p > 0 ? p : -1, {3.0, 0, false, "<= 3x enscript"});
    benchrow::Row("printing: String.java to PDF through cairo, default font (median)", c, "ms",
                  "enscript to PostScript", p > 0 ? p : -1, {0, 0, false, "none, shown"});
    benchrow::Row("printing: String.java to PDF, DejaVu Sans Mono (median)", truetype.own ? d : -1, "ms",
                  "enscript to PostScript", p > 0 ? p : -1, {0, 0, false, "none, shown"});

    // The preview's opening cost on 100,000 lines: layout and page one.
    std::string big;
    for (int i = 0; i < 100000; ++i)
        big += "        int value" + std::to_string(i) + " = compute(" + std::to_string(i) + ", \"Wörter\");\n";
    buffer.LoadFromMemory(big);
    std::vector<double> layout;
    for (int i = 0; i < std::min(runs, 5); ++i)
        layout.push_back(TimeMs([&] {
            CTextPrintout printout(view);
            PrintToPdf(printout, dir + "/big.pdf", PdfPageSetup{}, 1, 1);
        }));
    std::printf("100000 lines: layout + first page  %8.1f ms\n", Median(layout));
    benchrow::Row("printing: 100,000 lines, layout and first page (median)", Median(layout), "ms", "", 0,
                  {0, 0, false, "none, shown"});

    view->DetachBuffer();
    frame->Destroy();
    wxTheApp->Yield();
    std::system(("rm -rf '" + dir + "'").c_str());
    wxEntryCleanup();
    return 0;
}
