// Printing speed: the JDK's String.java printed into a PDF by the view's
// printout through Kib's own PDF writer, and for comparison every page
// through cairo, next to enscript printing the same file into PostScript in
// the same run (the peer; target at most 3 times its time),
// and the layout of a 100,000-line file as the preview makes it on opening
// (layout plus the first page).
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/default/bench/bench_ui_printing [runs]
#include "BenchRow.h"
#include "WxStart.h"
#include "editor/PdfPrinter.h"
#include "editor/TextBuffer.h"
#include "editor/TextEditView.h"
#include "editor/TextPrintout.h"
#include "platform/UserStore.h"
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
    view->SetLineNumbers(true);
    frame->Show();
    wxTheApp->Yield();

    // Ours: the whole file into a PDF. Peer: enscript into PostScript.
    std::vector<double> ours, cairo, peer;
    int pages = 0;
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
    const std::string info = kibtest::CommandOutput("pdfinfo '" + dir + "/String.pdf' 2>/dev/null");
    const size_t at = info.find("Pages:");
    if (at != std::string::npos)
        pages = std::atoi(info.c_str() + at + 6);
    // A job that fell back to cairo would not measure the own writer.
    const bool own = info.find("Producer:        Kib") != std::string::npos;
    const double o = Median(ours), c = Median(cairo), p = Median(peer), ratio = p > 0 ? o / p : 0;
    std::printf("String.java: %d lines, %d pages\n", buffer.LineCount(), pages);
    std::printf("printing to PDF (Kib's writer%s): %8.1f ms (median of %d, min %.1f)\n", own ? "" : " NOT TAKEN", o,
                runs, *std::min_element(ours.begin(), ours.end()));
    std::printf("printing to PDF (cairo):            %8.1f ms (min %.1f)\n", c,
                *std::min_element(cairo.begin(), cairo.end()));
    std::printf("peer: enscript to PostScript:       %8.1f ms (min %.1f)\n", p,
                *std::min_element(peer.begin(), peer.end()));
    std::printf("ratio %.2fx, target <= 3.00x: %s\n", ratio, ratio <= 3.0 && own ? "met" : "over target");
    benchrow::Row("printing: String.java to PDF (median)", own ? o : -1, "ms", "enscript to PostScript",
                  p > 0 ? p : -1, {3.0, 0, false, "<= 3x enscript"});
    benchrow::Row("printing: String.java to PDF through cairo (median)", c, "ms", "enscript to PostScript",
                  p > 0 ? p : -1, {0, 0, false, "none, shown"});

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
