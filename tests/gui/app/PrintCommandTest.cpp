// The print commands in the real main window: the preview window opened and
// closed again and again, on a large file, and its German control bar; the
// print command into a PDF file; the printer set-up dialog; and /p and /pt
// on a machine without printers. With KIB_SCREENSHOT_DIR set the preview is
// saved as a PNG of the screen.
#include "ShellTestSupport.h"

#include "platform/Printers.h"
#include "resources/CommandIds.h"
#include "support/CommandOutput.h"

#include <wx/button.h>
#include <wx/print.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <regex>

using namespace kibtest;
using namespace kib;

namespace {

std::string Numbered(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "    int zeile" + std::to_string(i) + " = " + std::to_string(i) + "; // \xC3\xBC\r\n";
    return text;
}

int PdfPages(const std::string& pdf)
{
    const std::string out = CommandOutput("pdfinfo '" + pdf + "' 2>&1");
    std::smatch m;
    return std::regex_search(out, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
}

wxPreviewFrame* OpenPreviewFrame()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* f = dynamic_cast<wxPreviewFrame*>(w); f && !f->IsBeingDeleted())
            return f;
    return nullptr;
}

// The preview of a preview window, through its control bar.
wxPrintPreviewBase* PreviewOf(wxPreviewFrame* frame)
{
    for (wxWindow* c : frame->GetChildren())
        if (auto* bar = dynamic_cast<wxPreviewControlBar*>(c))
            return bar->GetPrintPreview();
    return nullptr;
}

void CollectLabels(wxWindow* w, std::vector<std::string>& labels)
{
    if (auto* b = dynamic_cast<wxButton*>(w))
        labels.push_back(b->GetLabel().utf8_string());
    for (wxWindow* c : w->GetChildren())
        CollectLabels(c, labels);
}

class PrintCommandTest : public ShellTest {
protected:
    bool NoPrinters() { return platform::ListPrinters().empty(); }
};

} // namespace

TEST_F(PrintCommandTest, PreviewOpensAndClosesTwentyTimes)
{
    const std::string path = File("Vorschau.java", Numbered(200));
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    int pages = -1;
    for (int round = 0; round < 20; ++round) {
        Frame()->RouteCommand(ID_FILE_PRINT_PREVIEW);
        PumpEvents(20);
        wxPreviewFrame* preview = OpenPreviewFrame();
        ASSERT_NE(preview, nullptr) << "round " << round;
        EXPECT_TRUE(preview->IsShown());
        EXPECT_EQ(preview->GetTitle().utf8_string(), "Seitenansicht - Vorschau.java");
        // The page count is the same every time.
        const int max = PreviewOf(preview)->GetMaxPage();
        if (pages < 0)
            pages = max;
        EXPECT_EQ(max, pages);
        EXPECT_GT(max, 1);
        if (round == 0) {
            // German texts; the print button goes to Kib's print dialog.
            std::vector<std::string> labels;
            CollectLabels(preview, labels);
            EXPECT_NE(std::find(labels.begin(), labels.end(), "&Schlie\xC3\x9F" "en"), labels.end())
                << ::testing::PrintToString(labels);
            EXPECT_NE(preview->FindWindow(wxID_PREVIEW_PRINT), nullptr);
            PreviewOf(preview)->SetCurrentPage(2);
            preview->Refresh();
            preview->Update();
            PumpEvents(300);
            SaveScreenIfAsked("print_preview");
        }
        preview->Close(true);
        PumpUntil([] { return OpenPreviewFrame() == nullptr; }, 3000);
        ASSERT_EQ(OpenPreviewFrame(), nullptr);
        // The main window takes input again.
        EXPECT_TRUE(Frame()->IsEnabled());
    }
}

TEST_F(PrintCommandTest, PreviewOfAHundredThousandLinesOpens)
{
    const std::string path = File("Gross.java", Numbered(100000));
    ASSERT_TRUE(Start());
    ASSERT_NE(Open(path), nullptr);
    const auto start = std::chrono::steady_clock::now();
    Frame()->RouteCommand(ID_FILE_PRINT_PREVIEW);
    PumpEvents(20);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    wxPreviewFrame* preview = OpenPreviewFrame();
    ASSERT_NE(preview, nullptr);
    EXPECT_GT(PreviewOf(preview)->GetMaxPage(), 1000);
    std::printf("preview of 100000 lines open after %.0f ms, %d pages\n", ms,
                PreviewOf(preview)->GetMaxPage());
    // Paging to the end draws the last page from the same layout.
    PreviewOf(preview)->SetCurrentPage(PreviewOf(preview)->GetMaxPage());
    PumpEvents(50);
    preview->Close(true);
    PumpUntil([] { return OpenPreviewFrame() == nullptr; }, 3000);
}

TEST_F(PrintCommandTest, PrintCommandWritesTheChosenPdfFile)
{
    const std::string path = File("Druck.java", Numbered(150));
    ASSERT_TRUE(Start());
    ASSERT_NE(Open(path), nullptr);
    printjob::PrintRequest answer;
    answer.pdfPath = dir + "ausgabe.pdf";
    dialogs.printAnswer = answer;
    Frame()->RouteCommand(ID_FILE_PRINT);
    ASSERT_EQ(dialogs.printAsked.size(), 1u);
    // Offered: a PDF file named after the document, beside it.
    if (NoPrinters()) {
        EXPECT_EQ(dialogs.printAsked[0].printer, "");
    }
    EXPECT_EQ(dialogs.printAsked[0].pdfPath, dir + "Druck.pdf");
    EXPECT_GE(PdfPages(dir + "ausgabe.pdf"), 2);
    EXPECT_TRUE(dialogs.asked.empty());

    // A file that cannot be written is reported, in German.
    answer.pdfPath = dir + "fehlt/ausgabe.pdf";
    dialogs.printAnswer = answer;
    Frame()->RouteCommand(ID_FILE_PRINT);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].text.find("konnte nicht gedruckt werden"), std::string::npos) << dialogs.asked[0].text;
}

TEST_F(PrintCommandTest, PrinterSetupDialogOpensAndKeepsTheChoice)
{
    ASSERT_TRUE(Start());
    dialogs.realPrinterSetup = true;
    std::vector<std::string> labels;
    dialogs.modal = [&](wxDialog& dlg) {
        EXPECT_EQ(dlg.GetTitle().utf8_string(), "Druckereinrichtung");
        CollectLabels(&dlg, labels);
        dlg.Show();
        PumpEvents(200);
        SaveScreenIfAsked("printer_setup");
        dlg.Hide();
        return wxID_OK;
    };
    Frame()->RouteCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(dialogs.printerSetupShown, 1);
    EXPECT_EQ(dialogs.modalRuns, 1);
    if (NoPrinters()) {
        EXPECT_EQ(printjob::CurrentSetup().printer, "");
    }
}

TEST_F(PrintCommandTest, RealPrintDialogOffersThePdfFileBesideTheDocument)
{
    if (!NoPrinters())
        GTEST_SKIP() << "this machine has printers";
    ASSERT_TRUE(Start());
    printjob::PrintRequest request;
    request.pdfPath = dir + "Datei.pdf";
    dialogs.modal = [&](wxDialog& dlg) {
        EXPECT_EQ(dlg.GetTitle().utf8_string(), "Drucken");
        dlg.Show();
        PumpEvents(200);
        SaveScreenIfAsked("print_dialog");
        dlg.Hide();
        return wxID_OK;
    };
    ASSERT_TRUE(dialogs.IUserDialogs::Print(Frame(), request));
    EXPECT_EQ(request.printer, "");
    EXPECT_EQ(request.pdfPath, dir + "Datei.pdf");
    EXPECT_EQ(request.fromPage, 0);
    EXPECT_EQ(request.toPage, 0);
    EXPECT_EQ(request.copies, 1);
}

TEST_F(PrintCommandTest, CommandLinePrintWithoutPrinterWritesPdfBesideTheFileAndEnds)
{
    if (!NoPrinters())
        GTEST_SKIP() << "this machine has printers";
    const std::string path = File("Kommando.java", Numbered(80));
    EXPECT_FALSE(Start({"/p", path}));
    EXPECT_EQ(app->PrintExitCode(), 0);
    EXPECT_EQ(PdfPages(dir + "Kommando.pdf"), 2);
    EXPECT_EQ(Frame(), nullptr);
}

TEST_F(PrintCommandTest, CommandLinePrintToAMissingPrinterWritesPdf)
{
    if (!NoPrinters())
        GTEST_SKIP() << "this machine has printers";
    const std::string path = File("Ziel.java", Numbered(10));
    EXPECT_FALSE(Start({"/pt", path, "GibtEsNicht", "treiber", "port"}));
    EXPECT_EQ(app->PrintExitCode(), 0);
    EXPECT_EQ(PdfPages(dir + "Ziel.pdf"), 1);
}

TEST_F(PrintCommandTest, CommandLinePrintToAnExistingPrinterGoesThroughTheSpooler)
{
    // Stand-ins for the CUPS tools: one queue "Laser"; lp keeps the file.
    const std::string bin = dir + "bin/";
    std::filesystem::create_directories(bin);
    WriteFile(bin + "lpstat", "#!/bin/sh\ncase \"$1\" in -e) echo Laser;; -d) echo 'no system default destination';; esac\n");
    WriteFile(bin + "lp", "#!/bin/sh\nfor a in \"$@\"; do last=\"$a\"; printf '%s|' \"$a\"; done > " + dir +
                              "lp-args\ncp \"$last\" " + dir + "spooled.pdf\n");
    std::filesystem::permissions(bin + "lpstat", std::filesystem::perms::owner_all);
    std::filesystem::permissions(bin + "lp", std::filesystem::perms::owner_all);
    const char* oldPath = std::getenv("PATH");
    const std::string saved = oldPath ? oldPath : "";
    setenv("PATH", (bin + ":" + saved).c_str(), 1);
    const std::string path = File("Laser.java", Numbered(70));
    const bool started = Start({"/pt", path, "Laser", "treiber", "port"});
    setenv("PATH", saved.c_str(), 1);
    EXPECT_FALSE(started);
    EXPECT_EQ(app->PrintExitCode(), 0);
    const std::string args = ReadFile(dir + "lp-args");
    EXPECT_EQ(args.rfind("-d|Laser|-n|1|-t|Laser.java|--|/tmp/kib-print-", 0), 0u) << args;
    EXPECT_EQ(PdfPages(dir + "spooled.pdf"), 2);
    // The temporary file is gone once the spooler has it.
    const std::string temp = args.substr(args.find("--|") + 3, args.size() - args.find("--|") - 4);
    EXPECT_FALSE(std::filesystem::exists(temp)) << temp;
    EXPECT_FALSE(std::filesystem::exists(dir + "Laser.pdf"));
}
