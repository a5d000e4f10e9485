#include "app/KibViewTools.h"

#include "app/FileCheck.h"
#include "app/KibApp.h"
#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/OutputBar.h"
#include "app/UserDialogs.h"
#include "controls/OutputPane.h"
#include "platform/Terminal.h"
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "toolchain/AppletPageDialog.h"
#include "toolchain/CompileProgressDialog.h"
#include "toolchain/CompilerOutputEdit.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/ToolchainTexts.h"
#include "toolchain/WarmCompiler.h"

#include <wx/msgdlg.h>
#include <wx/thread.h>
#include <wx/utils.h>

#include <sys/stat.h>

using namespace toolchain;

namespace {

enum { kCompilerPane = 0, kProgramPane = 1 };

wxString Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// inTerminal: a console start, which also fails when there is no terminal.
void CouldNotStart(wxWindow* parent, const std::string& name, bool inTerminal = false)
{
    bool noTerminal = inTerminal && platform::UserTerminal().empty();
    UserDialogs().MessageBox(parent, Display(noTerminal ? NoTerminalMessage(name) : CouldNotStartMessage(name)),
                             wxString::FromUTF8(kMsgErrorCaption), wxOK | wxICON_ERROR);
}

} // namespace

CKibViewTools::CKibViewTools(CKibView& view)
    : m_view(view), m_runner(view), m_queue([this] { m_view.CallAfter([this] { Flush(false); }); })
{
}

CKibViewTools::~CKibViewTools()
{
    Close();
}

COutputPane* CKibViewTools::Pane(int which) const
{
    CMainFrame* frame = CMainFrame::Instance();
    COutputBar* bar = frame ? frame->OutputBar() : nullptr;
    if (!bar)
        return nullptr;
    return bar->GetPane(which == kCompilerPane ? COutputBar::PANE_COMPILER : COutputBar::PANE_OUTPUT);
}

// --- Text from the child ------------------------------------------------------

void CKibViewTools::Deliver(std::string_view text, bool stdErr)
{
    // The start-failure text comes on the user-interface thread itself,
    // which must never wait for itself.
    m_queue.Push(m_mode.RouteText(stdErr), stdErr ? CRunnerPaneQueue::kStdErr : CRunnerPaneQueue::kStdOut, text,
                 !wxIsMainThread());
}

void CKibViewTools::Flush(bool all)
{
    CRunnerPaneQueue::Batch batch = m_queue.Take(all);
    if (COutputPane* pane = batch.compiler.empty() ? nullptr : Pane(kCompilerPane))
        pane->ReplaceSel(batch.compiler);
    if (COutputPane* pane = batch.program.empty() ? nullptr : Pane(kProgramPane))
        pane->ReplaceSel(batch.program);
    if (!all && !batch.Empty() && !m_queue.Closed())
        m_timer.StartOnce(kBatchIntervalMs);
}

// --- The child's end ----------------------------------------------------------

void CKibViewTools::ChildEnded(const ChildExit& exit)
{
    EExitNotice notice = m_mode.ExitNotice();
    if (notice == EExitNotice::None)
        return;
    uint64_t id = exit.startId;
    m_queue.PostUnlessClosed([&] {
        if (notice == EExitNotice::Build)
            m_view.CallAfter([this, id] { ExitBuild(id); });
        else
            m_view.CallAfter([this, id] { ExitStart(id); });
    });
}

void CKibViewTools::StopRunner()
{
    m_queue.BeginStop();
    JoinWarmCompile();
    m_runner.StopChild();
    m_queue.EndStop();
}

void CKibViewTools::JoinWarmCompile()
{
    if (!m_warmWorker.joinable())
        return;
    // A compile still running in the server is ended; its worker then
    // returns at once. The frame outlives its views' compiles.
    CMainFrame* frame = CMainFrame::Instance();
    if (!m_warmDone.load() && frame && frame->WarmCompiler())
        frame->WarmCompiler()->Cancel();
    m_warmWorker.join();
}

void CKibViewTools::StartWarmCompile(CWarmCompiler& warm, const CCompileCommand& command, const CChildConsole& console)
{
    m_queue.NewStart(console.output);
    uint64_t id = kWarmIdBit | ++m_warmSerial;
    m_queue.Await(id);
    m_warmDone = false;
    m_warmWorker = std::thread([this, &warm, command, environment = console.environment, id] {
        CWarmCompiler::CResult result = warm.Compile(command, environment);
        if (result.how == CWarmCompiler::EHow::Served) {
            // The same path as the process's text: routing, error flag, CR LF.
            for (const CServerAnswer::Piece& piece : result.answer.output)
                Deliver(piece.bytes, piece.stdErr);
            m_queue.PostUnlessClosed([&] { m_view.CallAfter([this, id] { ExitBuild(id); }); });
        } else {
            bool fault = result.how == CWarmCompiler::EHow::Fault;
            m_queue.PostUnlessClosed([&] { m_view.CallAfter([this, id, fault] { WarmCompileDeclined(id, fault); }); });
        }
        m_warmDone = true;
    });
}

void CKibViewTools::WarmCompileDeclined(uint64_t id, bool fault)
{
    if (!m_queue.TakeExit(id) || !m_compileCommand)
        return;
    JoinWarmCompile();
    if (fault)
        if (COutputPane* pane = Pane(kCompilerPane))
            pane->ReplaceSel(kPaneWarmCompilerFailed);
    if (!StartCaptured(m_compileCommand->commandLine, m_compileCommand->workDir, m_compileConsole))
        CloseProgress();
}

void CKibViewTools::ExitBuild(uint64_t startId)
{
    // A notice of a child that an earlier stop already finished is stale.
    if (!m_queue.TakeExit(startId))
        return;
    StopRunner();
    Flush(true);
    CloseProgress();
    if (COutputPane* pane = Pane(kCompilerPane))
        pane->ReplaceSel(CompileFinishedText());
    // The next compile of this kind may find the server warm.
    CMainFrame* frame = CMainFrame::Instance();
    if (m_compileCommand && frame && frame->WarmCompiler())
        frame->WarmCompiler()->Prepare(*m_compileCommand, m_compileConsole.environment);
    if (m_mode.FinishBuild())
        Run({});
}

void CKibViewTools::ExitStart(uint64_t startId)
{
    if (!m_queue.TakeExit(startId))
        return;
    StopRunner();
    Flush(true);
    m_mode.FinishRun();
}

// A command while this view's child still runs: the earlier child is ended
// first and its command finished, so that no handle, thread or text of it is
// lost and its late notice is not taken for the new command's.
void CKibViewTools::EndEarlierCommand()
{
    if (!m_runner.HoldsChild() && !m_warmWorker.joinable())
        return;
    int was = m_mode.Mode();
    m_queue.ForgetAwaited();
    StopRunner();
    Flush(true);
    if (was == CMD_COMPILE || was == CMD_COMPILE_RUN) {
        CloseProgress();
        if (COutputPane* pane = Pane(kCompilerPane))
            pane->ReplaceSel(CompileFinishedText());
    }
    m_mode.FinishRun();
}

bool CKibViewTools::StartCaptured(const std::string& commandLine, const std::string& workDir,
                                  const CChildConsole& console)
{
    m_queue.NewStart(console.output);
    if (m_runner.StartChild(commandLine, workDir, console.environment)) {
        m_queue.Await(m_runner.StartId());
        return true;
    }
    // No notice follows a failed start: the "Unable to start" text goes in
    // now and the command ends here.
    Flush(true);
    m_mode.StartFailed();
    return false;
}

void CKibViewTools::Close()
{
    m_queue.ForgetAwaited();
    StopRunner();
    Flush(true);
    m_queue.Close();
    m_timer.Stop();
    CloseProgress();
}

// --- Progress window ------------------------------------------------------------

void CKibViewTools::OpenProgress(const std::string& sourcePath)
{
    CloseProgress();
    m_progress = new CCompileProgressDialog(wxGetTopLevelParent(&m_view), sourcePath);
    m_progress->Show();
    m_progress->Update();
}

void CKibViewTools::CloseProgress()
{
    if (!m_progress)
        return;
    m_progress->Hide();
    m_progress->Destroy();
    m_progress = nullptr;
}

// --- Commands ---------------------------------------------------------------------

void CKibViewTools::Compile(bool thenRun)
{
    CMainFrame* frame = CMainFrame::Instance();
    CKibDoc* doc = m_view.GetDocument();
    EndEarlierCommand();
    m_mode.BeginCompile(thenRun);
    if (frame && doc) {
        switch (SaveBeforeCompile(frame->Settings())) {
        case ESaveBeforeCompile::ThisFile:
            if (!doc->GetPathName().empty())
                doc->OnSaveDocument(doc->GetPathName());
            break;
        case ESaveBeforeCompile::AllFiles:
            frame->SaveAll();
            break;
        case ESaveBeforeCompile::None:
            break;
        }
    }
    std::string path = doc ? doc->GetPathName() : std::string();
    if (path.empty()) {
        UserDialogs().MessageBox(&m_view, wxString::FromUTF8(kMsgMustSaveBeforeCompile),
                                 kib::KibText(kib::IDS_APP_TITLE), wxOK);
        // Nothing was started, so no notice will end the command.
        m_mode.StartFailed();
        return;
    }
    if (!frame || !frame->OutputBar()) {
        m_mode.StartFailed();
        return;
    }
    const CSettings& s = frame->Settings();
    std::string classPath = IdeClassPath();
    CChildConsole console = ChildConsoleFor(classPath);
    CCompileCommand command =
        BuildCompileCommand(s, path, classPath, SourceEncodingOption(doc->Buffer().Encoding(), console));

    frame->OutputBar()->ShowPane(COutputBar::PANE_COMPILER);
    COutputPane* pane = Pane(kCompilerPane);
    if (auto* edit = dynamic_cast<CCompilerOutputEdit*>(pane))
        edit->SetMessageFolder(command.workDir);
    pane->Clear();
    pane->ReplaceSel(CompileHeadingText(path, command.sourceEncoding, doc->Buffer().HasBom()));
    pane->Update();

    wxBusyCursor wait;
    OpenProgress(path);
    m_compileCommand = command;
    m_compileConsole = console;
    CWarmCompiler* warm = frame->WarmCompiler();
    if (warm && warm->Serves(command, console.environment))
        StartWarmCompile(*warm, command, console);
    else if (!StartCaptured(command.commandLine, command.workDir, console))
        CloseProgress();
}

void CKibViewTools::Run(const std::string& arguments)
{
    CMainFrame* frame = CMainFrame::Instance();
    if (!frame || !frame->OutputBar())
        return;
    const CSettings& s = frame->Settings();
    CKibDoc* doc = m_view.GetDocument();
    std::string source =
        ChooseRunSource(s.m_curStartFile, s.m_startFiles, doc ? doc->GetPathName() : std::string());
    if (source.empty())
        return;
    EndEarlierCommand();
    frame->OutputBar()->ShowPane(COutputBar::PANE_OUTPUT);
    Pane(kProgramPane)->Clear();

    std::string classPath = IdeClassPath();
    CRunCommand run = BuildRunCommand(s, source, arguments, classPath);
    CChildConsole console = ChildConsoleFor(classPath);
    m_mode.BeginRun();
    bool started;
    if (run.captured)
        started = StartCaptured(run.commandLine, run.workDir, console);
    else
        started = StartConsoleCommand(run.consoleCommand, run.workDir, run.keepOpen, console.environment) == 0;
    if (!started)
        CouldNotStart(&m_view, run.className, !run.captured);
}

void CKibViewTools::RunWithArguments()
{
    std::string arguments;
    if (UserDialogs().RunArguments(&m_view, arguments))
        Run(arguments);
}

void CKibViewTools::RunApplet()
{
    CMainFrame* frame = CMainFrame::Instance();
    CKibDoc* doc = m_view.GetDocument();
    if (!frame || !doc || doc->GetPathName().empty())
        return;
    CAppletCommand applet = BuildAppletCommand(frame->Settings(), doc->GetPathName());
    if (!FileExists(applet.pagePath)) {
        int answer = UserDialogs().AppletPage(&m_view);
        if (answer != CAppletPageDialog::kCreateAndStart && answer != CAppletPageDialog::kCreateAndEdit)
            return;
        int err = 0;
        if (!WriteAppletPage(applet, &err)) {
            wxString text = wxString::Format(wxString::FromUTF8(kMsgPageNotWritten), Display(applet.pagePath),
                                             wxString::FromUTF8(GermanErrorText(err)));
            UserDialogs().MessageBox(&m_view, text, kib::KibText(kib::IDS_APP_TITLE), wxOK | wxICON_ERROR);
            return;
        }
        if (answer == CAppletPageDialog::kCreateAndEdit) {
            if (CKibApp* app = CKibApp::Instance())
                app->Docs().OpenDocumentFile(applet.pagePath);
            return;
        }
    }
    std::vector<std::string> environment = ChildEnvironment(IdeClassPath());
    if (StartConsoleCommand(applet.consoleCommand, applet.workDir, applet.keepOpen, environment) != 0)
        CouldNotStart(&m_view, applet.name, true);
}

// --- CKibView's side --------------------------------------------------------------

void CKibView::Compile(bool thenRun)
{
    m_tools->Compile(thenRun);
}

void CKibView::Run(const std::string& arguments)
{
    m_tools->Run(arguments);
}

void CKibView::RunWithArguments()
{
    m_tools->RunWithArguments();
}

void CKibView::RunApplet()
{
    m_tools->RunApplet();
}

int CKibView::CommandMode() const
{
    return m_tools->Mode().Mode();
}

bool CKibView::ErrorOutputSeen() const
{
    return m_tools->Mode().ErrorOutputSeen();
}

CProcessRunner& CKibView::Runner()
{
    return m_tools->Runner();
}

wxWindow* CKibView::CompileProgressWindow() const
{
    return m_tools->Progress();
}

void CKibView::OnChildStdOut(std::string_view text)
{
    m_tools->Deliver(text, false);
}

void CKibView::OnChildStdErr(std::string_view text)
{
    m_tools->Deliver(text, true);
}

void CKibView::OnChildTerminate(const ChildExit& exit)
{
    m_tools->ChildEnded(exit);
}

void CKibView::CloseTools()
{
    m_tools->Close();
}

void CKibView::GoToMessagePosition(int line, int caretColumn)
{
    int count = LineCount();
    int y = std::clamp(line - 1, 0, std::max(0, count - 1));
    const char* chars = LineChars(y);
    std::string_view text(chars ? chars : "", chars ? static_cast<size_t>(LineLength(y)) : 0);
    CTextBuffer& buffer = GetDocument()->Buffer();
    int x = caretColumn > 0 ? SourceIndexOfCaret(text, caretColumn - 1, buffer.Encoding(), y == 0 && buffer.HasBom())
                            : 0;
    ScrollToTopLine(y);
    PutCaret(TextPos{x, y});
}
