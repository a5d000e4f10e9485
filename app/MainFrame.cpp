#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/EditorPositions.h"
#include "app/FileMonitor.h"
#include "app/IndicatorStatusBar.h"
#include "controls/FontUtil.h"
#include "app/MainFrameTools.h"
#include "app/UpdateCommand.h"
#include "app/KibApp.h"
#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrameFind.h"
#include "app/MainFrameOptions.h"
#include "app/OpenFilesList.h"
#include "app/OpenFilesTree.h"
#include "app/OutputBar.h"
#include "controls/OutputPane.h"
#include "app/ShellOpen.h"
#include "app/SplashScreen.h"
#include "app/UserDialogs.h"
#include "app/WorkspaceBar.h"
#include "workspace/ExplorerTreeCtrl.h"
#include "workspace/MountTable.h"
#include "platform/Path.h"
#include "resources/Artwork.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"
#include "resources/MenuTable.h"
#include "resources/StringTable.h"
#include "settings/ParamSaveReport.h"
#include "settings/Profile.h"
#include "toolchain/WarmCompiler.h"

#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/dcclient.h>
#include <wx/dnd.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
#include <gtk/gtk.h>
#endif

#include <algorithm>
#include <memory>

using namespace kib;

namespace {

CMainFrame* g_frame = nullptr;

constexpr char kLayoutSection[] = "Settings";
constexpr char kPerspectiveValue[] = "BarLayout";

// Files dropped from a file manager open as documents.
class CFileDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override
    {
        CKibApp* app = CKibApp::Instance();
        if (!app)
            return false;
        for (const wxString& f : files)
            app->Docs().OpenDocumentFile(f.utf8_string());
        return true;
    }
};

} // namespace

wxString CMainFrame::Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

CMainFrame* CMainFrame::Instance()
{
    return g_frame;
}

CMainFrame::CMainFrame(CKibApp* app, const std::string& appDirectory)
    : wxFrame(nullptr, wxID_ANY, KibText(IDS_APP_TITLE), wxDefaultPosition, wxSize(1000, 720)),
      m_app(app), m_appDir(platform::WithTrailingSeparator(appDirectory))
{
    g_frame = this;
    // Editor and output fonts before the settings file is read.
    m_settings.m_editorFont.SetFaceName("Courier New");
    m_settings.m_outputFont.SetFaceName("Courier");
    if (toolchain::WarmCompilerSwitchedOn())
        m_warmCompiler = std::make_unique<toolchain::CWarmCompiler>();
    CFileMonitor::Instance().SetSettings(&m_settings);
    CFileMonitor::Instance().SetStatusSink([this](const wxString& text) {
        if (GetStatusBar())
            SetStatusText(text, PANE_MESSAGE);
    });
}

CMainFrame::~CMainFrame()
{
    // Documents still open (the frame went without a close request) take
    // their windows with them while this frame is whole.
    m_closing = true;
    if (m_app) {
        m_app->Docs().CloseAllDocuments();
        m_app->Docs().RemoveListener(OpenFilesTree());
        m_app->Docs().RemoveListener(this);
    }
    for (CChildFrame* child : m_zOrder)
        child->DetachFromMainFrame();
    m_zOrder.clear();
    // The views have ended their compiles; the server goes with Kib.
    m_warmCompiler.reset();
    // Settings are saved when the frame goes away, after the close handler.
    SaveSettings();
    m_aui.UnInit();
    if (m_fullScreenBar)
        m_fullScreenBar->Destroy();
    wxMenuBar* shown = GetMenuBar();
    if (m_mainMenu && m_mainMenu != shown)
        delete m_mainMenu;
    if (m_docMenu && m_docMenu != shown)
        delete m_docMenu;
    if (m_app)
        m_app->OnMainFrameDestroyed();
    if (g_frame == this)
        g_frame = nullptr;
    CFileMonitor::Instance().SetSettings(nullptr);
    CFileMonitor::Instance().SetStatusSink(nullptr);
}

std::string CMainFrame::ParamFileName() const
{
    return platform::JoinPath(m_appDir, "kibparam.xml");
}

std::string CMainFrame::OpenFilesFileName() const
{
    return platform::JoinPath(m_appDir, "kibfiles.xml");
}

void CMainFrame::LoadSettings()
{
    m_settings.LoadFile(ParamFileName(), m_ppi);
}

void CMainFrame::SaveSettings()
{
    CParamSaveReport report;
    m_settings.SaveFile(ParamFileName(), m_ppi, &report);
    // The last save runs while the frame goes: no parent then.
    m_settingsNotice.Report(m_closing ? nullptr : this, ParamFileName(), report);
}

bool CMainFrame::CreateFrame()
{
    m_ppi = ScreenPixelsPerInch();
    SetIcons(ProgramIcons());
    LoadSettings();

    // The document menu bar is built when the first document opens.
    m_mainMenu = BuildMenuBar(IDR_MAINFRAME);
    RegisterSpecialMenus(m_mainMenu, IDR_MAINFRAME);
    SetMenuBar(m_mainMenu);
    SetAcceleratorTable(BuildAcceleratorTable(IDR_MAINFRAME));

    m_aui.SetManagedWindow(this);
    RenderOnlyUncovered(m_aui);
    BuildToolBar();
    BuildStatusBar();
    CreateBars();
    if (!m_toolBar || !m_outputBar || !m_workspaceBar || !m_client)
        return false;
    // The tree first: a document is listed before its window opens.
    if (m_app) {
        m_app->Docs().AddListener(OpenFilesTree());
        m_app->Docs().AddListener(this);
    }

    m_aui.AddPane(m_client, wxAuiPaneInfo().Name("MDIClient").CenterPane().PaneBorder(false));
    m_aui.AddPane(m_toolBar, wxAuiPaneInfo()
                                 .Name("Standard")
                                 .Caption(KibText(IDS_TOOLBAR_STANDARD))
                                 .ToolbarPane()
                                 .Top()
                                 .Row(0)
                                 .Position(0));
    m_aui.AddPane(m_workspaceBar, wxAuiPaneInfo()
                                      .Name("Workspace")
                                      .Caption(KibText(IDS_BAR_WORKSPACE))
                                      .Left()
                                      .BestSize(200, 200)
                                      .MinSize(80, 80)
                                      .FloatingSize(220, 400));
    m_aui.AddPane(m_outputBar, wxAuiPaneInfo()
                                   .Name("Output")
                                   .Caption(KibText(IDS_BAR_OUTPUT))
                                   .Bottom()
                                   .BestSize(150, 150)
                                   .MinSize(80, 60)
                                   .FloatingSize(600, 200));
    m_outputBar->SetOutputFont(m_settings.m_outputFont);
    RestoreLayout();
    m_aui.Update();

    SetDropTarget(new CFileDropTarget);

    Bind(wxEVT_MENU, &CMainFrame::OnMenu, this);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateUI, this);
    Bind(wxEVT_MENU_OPEN, &CMainFrame::OnMenuOpen, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) { TrackNormalRect(); e.Skip(); });
    Bind(wxEVT_MOVE, [this](wxMoveEvent& e) { TrackNormalRect(); e.Skip(); });
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
    if (wxAuiManager* tabs = wxAuiManager::GetManager(m_client))
        RenderOnlyUncovered(*tabs);
    m_client->Bind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &CMainFrame::OnPageChanged, this);
    m_client->Bind(wxEVT_AUINOTEBOOK_PAGE_CLOSE, &CMainFrame::OnPageClose, this);
    m_client->Bind(wxEVT_AUINOTEBOOK_TAB_RIGHT_UP, &CMainFrame::OnTabRightUp, this);
    m_client->Bind(wxEVT_CONTEXT_MENU, &CMainFrame::OnClientContextMenu, this);

    SetStatusText(KibText(IDS_IDLE_MESSAGE), PANE_MESSAGE);
    CSplashScreen::ShowSplashScreen(this);
    ApplySkin(m_settings.m_skin);
    return true;
}

void CMainFrame::BuildToolBar()
{
    auto* bar = new wxAuiToolBar(this, ToWxId(ID_VIEW_TOOLBAR), wxDefaultPosition, wxDefaultSize,
                                 wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_HORZ_LAYOUT);
    bar->SetName(KibText(IDS_TOOLBAR_STANDARD));
    bar->SetToolBitmapSize(wxSize(16, 16));
    for (int id : ToolbarResource(IDR_MAINFRAME)) {
        if (id == 0) {
            bar->AddSeparator();
            continue;
        }
        if (id == ID_EDIT_FIND) { // the find box stands in the find button's place
            AddFindBox(*this, bar);
            continue;
        }
        wxString tip = Text(CommandTooltip(id));
        if (tip.empty()) // a prompt only: use it as the tip as well
            tip = Text(CommandPrompt(id));
        if (tip.empty())
            tip = Text(FindMenuItem(MenuResource(IDR_MAINFRAME), id)
                           ? FindMenuItem(MenuResource(IDR_MAINFRAME), id)->text
                           : std::string())
                      .BeforeFirst('\t');
        tip.Replace("&", "");
        bar->AddTool(ToWxId(id), tip, ToolbarBitmap(id), tip);
        bar->SetToolLongHelp(ToWxId(id), Text(CommandPrompt(id)));
    }
    bar->Realize();
    // The prompt of the button under the pointer, "Bereit" when it leaves.
    bar->Bind(wxEVT_MOTION, [this, bar](wxMouseEvent& e) {
        wxAuiToolBarItem* item = bar->FindToolByPosition(e.GetX(), e.GetY());
        wxString prompt = item ? Text(CommandPrompt(FromWxId(item->GetId()))) : wxString();
        SetStatusText(prompt.empty() ? KibText(IDS_IDLE_MESSAGE) : prompt, PANE_MESSAGE);
        e.Skip();
    });
    bar->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& e) {
        SetStatusText(KibText(IDS_IDLE_MESSAGE), PANE_MESSAGE);
        e.Skip();
    });
    // Right click on the tool bar: the tool bar menu.
    bar->Bind(wxEVT_RIGHT_UP, [this](wxMouseEvent&) {
        std::unique_ptr<wxMenu> menu(BuildMenu(MenuResource(IDR_TOOLBARS_POPUP)));
        PopupMenu(menu.get(), ScreenToClient(wxGetMousePosition()));
    });
    m_toolBar = bar;
}

void CMainFrame::BuildStatusBar()
{
    wxStatusBar* status = CreateStatusBar(PANE_COUNT, wxSTB_SIZEGRIP | wxSTB_SHOW_TIPS | wxFULL_REPAINT_ON_RESIZE);
    wxClientDC dc(status);
    dc.SetFont(status->GetFont());
    auto width = [&](int id) { return dc.GetTextExtent(KibText(id)).x + 12; };
    // The line and column panes hold the largest number a document can
    // reach, not only the sample strings' seven digits.
    auto widest = [&](int sizer, int format, int largest) {
        return std::max(width(sizer), dc.GetTextExtent(wxString::Format(KibText(format), largest)).x + 12);
    };
    int widths[PANE_COUNT] = {-1,
                              widest(IDS_STATUS_LINE_SIZER, IDS_STATUS_LINE, StatusLineMaximum()),
                              widest(IDS_STATUS_COLUMN_SIZER, IDS_STATUS_COLUMN, StatusColumnMaximum()),
                              width(IDS_INDICATOR_OVR) + 4,
                              width(IDS_INDICATOR_CAPS) + 4,
                              width(IDS_INDICATOR_NUM) + 4,
                              width(IDS_INDICATOR_SCRL) + 4,
                              dc.GetTextExtent(wxString::FromUTF8(EncodingStatusText(TextEncoding::Cp1252, false))).x + 12};
    status->SetStatusWidths(PANE_COUNT, widths);
    int styles[PANE_COUNT] = {wxSB_FLAT, wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN,
                              wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN};
    status->SetStatusStyles(PANE_COUNT, styles);
}

void CMainFrame::CreateBars()
{
    m_workspaceBar = new CWorkspaceBar(this, ToWxId(ID_WORKSPACE_BAR));
    m_workspaceBar->SetSize(200, 200);
    m_workspaceBar->GetOpenFilesTree()->SetActivateHandler([this](CKibDoc* doc) { ActivateDocument(doc); });
    // The explorer opens files as documents, shows the files of the mask,
    // and starts at the home folder.
    CExplorerTreeCtrl* explorer = m_workspaceBar->GetExplorerTree();
    explorer->SetDocumentOpener([this](const std::string& path) { return OpenFileView(path) != nullptr; });
    explorer->SetExtensions(m_settings.m_fileExtensions);
    explorer->SelectPath(CMountTable::HomeFolder(), true);
    m_outputBar = new COutputBar(this, ToWxId(ID_OUTPUT_BAR));
    m_outputBar->SetSize(150, 150);
    m_client = new CDocumentNotebook(this, wxAUI_NB_TOP | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS |
                                               wxAUI_NB_WINDOWLIST_BUTTON | wxAUI_NB_CLOSE_ON_ACTIVE_TAB |
                                               wxAUI_NB_TAB_SPLIT);
    m_client->SetDropTarget(new CFileDropTarget);
}

void CMainFrame::EnableDocumentTabs(bool on, int location)
{
    m_tabsOn = on;
    m_tabLocation = location;
    long style = m_client->GetWindowStyleFlag() & ~(wxAUI_NB_TOP | wxAUI_NB_BOTTOM);
    style |= location == 1 ? wxAUI_NB_TOP : wxAUI_NB_BOTTOM;
    m_client->SetWindowStyleFlag(style);
    // Tabs off: the strip is hidden, the windows stay.
    m_client->ShowTabs(on);
    m_client->Refresh();
    m_aui.Update();
}

void CMainFrame::ApplySkin(int skin)
{
    if (skin < 0 || skin > 4) {
        wxBell();
        return;
    }
    if (skin != 4)
        m_skin = skin;
    // Four colour schemes of the docking art.
    static const unsigned kBackground[4] = {0xECEFF4, 0xE6EEF9, 0xE9E9E9, 0xD4D0C8};
    static const unsigned kCaption[4] = {0x3A5F95, 0x2E7D4F, 0x707070, 0x0A246A};
    wxAuiDockArt* art = m_aui.GetArtProvider();
    unsigned bg = kBackground[m_skin], cap = kCaption[m_skin];
    wxColour bgc((bg >> 16) & 0xff, (bg >> 8) & 0xff, bg & 0xff);
    wxColour capc((cap >> 16) & 0xff, (cap >> 8) & 0xff, cap & 0xff);
    art->SetColour(wxAUI_DOCKART_BACKGROUND_COLOUR, bgc);
    art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_COLOUR, capc);
    art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_GRADIENT_COLOUR, capc.ChangeLightness(140));
    art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_COLOUR, bgc.ChangeLightness(90));
    art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_GRADIENT_COLOUR, bgc);
    art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_TEXT_COLOUR, *wxBLACK);
    art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_TEXT_COLOUR, *wxWHITE);
    m_aui.Update();
    Refresh();
}

void CMainFrame::ApplyOptionsToViews()
{
    RefreshMenus(false);
    m_outputBar->SetOutputFont(m_settings.m_outputFont);
    m_workspaceBar->GetExplorerTree()->SetExtensions(m_settings.m_fileExtensions);
    for (CChildFrame* child : m_zOrder)
        if (child->IsChildVisible() && child->GetActiveView())
            child->GetActiveView()->ApplyChangedSettings(m_settings);
    SaveSettings();
}

// --- Document windows -------------------------------------------------------

void CMainFrame::BeginDocumentBatch()
{
    if (m_batch++ > 0)
        return;
    m_client->BeginBatch();
    if (COpenFilesTree* tree = OpenFilesTree())
        tree->Freeze();
}

void CMainFrame::EndDocumentBatch()
{
    if (m_batch == 0 || --m_batch > 0)
        return;
    if (COpenFilesTree* tree = OpenFilesTree())
        tree->Thaw();
    m_client->EndBatch();
    if (CChildFrame* child = m_activateAfterBatch) {
        m_activateAfterBatch = nullptr;
        ActivateChild(child);
    }
    UpdateMenuBar();
    UpdateCaption();
}

CChildFrame* CMainFrame::NewChild(CKibDoc* doc)
{
    auto* child = new CChildFrame(this, doc);
    // Numbered before the tab shows the caption.
    if (doc)
        NumberWindows(*doc);
    AddChild(child);
    return child;
}

void CMainFrame::AddChild(CChildFrame* child)
{
    m_zOrder.insert(m_zOrder.begin(), child);
    // In a batch the tab is selected (with its scrolling and focus) once,
    // at the end, when it is still the one activated last.
    m_client->AddPage(child, Display(child->GetCaption()), m_batch == 0,
                      OpenFilesBitmap(COpenFilesTree::ImageFor(child->GetCaption())));
    UpdateMenuBar();
}

void CMainFrame::OnChildDestroyed(CChildFrame* child)
{
    m_zOrder.erase(std::remove(m_zOrder.begin(), m_zOrder.end(), child), m_zOrder.end());
    if (m_tabWindow == child)
        m_tabWindow = nullptr;
    if (m_activateAfterBatch == child)
        m_activateAfterBatch = nullptr;
    // Its view has left the document: the others are numbered again.
    if (CKibDoc* doc = child->GetDocument(); doc && !doc->IsClosing())
        NumberWindows(*doc);
    if (!m_closing)
        CallAfter([this] {
            UpdateMenuBar();
            UpdateCaption();
        });
}

CChildFrame* CMainFrame::ActiveChild() const
{
    if (!m_client)
        return nullptr;
    int sel = m_client->GetSelection();
    if (sel == wxNOT_FOUND)
        return nullptr;
    auto* child = dynamic_cast<CChildFrame*>(m_client->GetPage(static_cast<size_t>(sel)));
    return child && child->IsChildVisible() ? child : nullptr;
}

CKibView* CMainFrame::ActiveView() const
{
    CChildFrame* child = ActiveChild();
    return child ? child->GetActiveView() : nullptr;
}

void CMainFrame::ActivateChild(CChildFrame* child)
{
    if (!child)
        return;
    auto it = std::find(m_zOrder.begin(), m_zOrder.end(), child);
    if (it == m_zOrder.end())
        return;
    m_zOrder.erase(it);
    m_zOrder.insert(m_zOrder.begin(), child);
    if (m_batch > 0) {
        m_activateAfterBatch = child;
        return;
    }
    int index = m_client->GetPageIndex(child);
    if (index != wxNOT_FOUND && m_client->GetSelection() != index)
        m_client->SetSelection(static_cast<size_t>(index));
    if (child->GetActiveView())
        child->GetActiveView()->SetFocus();
    UpdateCaption();
}

bool CMainFrame::CloseChild(CChildFrame* child)
{
    if (!child || std::find(m_zOrder.begin(), m_zOrder.end(), child) == m_zOrder.end())
        return false;
    CKibDoc* doc = child->GetDocument();
    if (doc && doc->Views().size() <= 1) {
        // The document's last window: ask, then close the document.
        if (!doc->SaveModified())
            return false;
        doc->OnCloseDocument();
        return true;
    }
    int index = m_client->GetPageIndex(child);
    if (index != wxNOT_FOUND)
        m_client->DeletePage(static_cast<size_t>(index));
    else
        child->Destroy();
    if (doc && !doc->IsClosing())
        NumberWindows(*doc);
    return true;
}

void CMainFrame::ShowChild(CChildFrame* child, bool show)
{
    if (!child || child->IsChildVisible() == show)
        return;
    child->SetChildVisible(show);
    int index = m_client->GetPageIndex(child);
    if (!show && index != wxNOT_FOUND) {
        m_client->RemovePage(static_cast<size_t>(index));
        child->Hide();
    } else if (show && index == wxNOT_FOUND) {
        m_client->AddPage(child, Display(child->GetCaption()), true);
    }
}

void CMainFrame::OnViewFocused(CKibView* view)
{
    for (CChildFrame* child : m_zOrder)
        if (child->GetActiveView() == view && m_zOrder.front() != child) {
            m_zOrder.erase(std::find(m_zOrder.begin(), m_zOrder.end(), child));
            m_zOrder.insert(m_zOrder.begin(), child);
            break;
        }
}

void CMainFrame::ActivateDocument(CKibDoc* doc)
{
    CKibView* view = doc ? doc->GetFirstView() : nullptr;
    if (!view)
        return;
    for (CChildFrame* child : m_zOrder)
        if (child->GetActiveView() == view) {
            // The state follows the active window: a maximised one keeps the
            // new one maximised.
            CChildFrame* active = ActiveChild();
            child->SetMaximized(active ? active->IsMaximized() : child->IsMaximized());
            if (!child->IsChildVisible())
                ShowChild(child, true);
            ActivateChild(child);
            return;
        }
}

void CMainFrame::UpdateCaption()
{
    CChildFrame* child = ActiveChild();
    wxString title = KibText(IDS_APP_TITLE);
    if (child)
        title += " - [" + Display(child->GetCaption()) + "]";
    if (GetTitle() != title)
        SetTitle(title);
}

// --- The documents' notices ------------------------------------------------

namespace {

CChildFrame* FrameOfView(CKibView* view)
{
    return view ? dynamic_cast<CChildFrame*>(view->GetParent()) : nullptr;
}

} // namespace

void CMainFrame::OnDocumentOpened(CKibDoc& doc)
{
    if (!doc.GetPathName().empty())
        m_docOpened.Set();
    CChildFrame* child = NewChild(&doc);
    child->GetActiveView()->OnInitialUpdate();
}

void CMainFrame::OnDocumentRenamed(CKibDoc& doc)
{
    for (CKibView* view : doc.Views())
        if (CChildFrame* child = FrameOfView(view)) {
            child->RebuildCaption();
            child->TitleBar().Invalidate();
        }
}

void CMainFrame::NumberWindows(CKibDoc& doc)
{
    // ":1", ":2" only while more than one window shows the document.
    int n = 0;
    int count = static_cast<int>(doc.Views().size());
    for (CKibView* view : doc.Views())
        if (CChildFrame* child = FrameOfView(view)) {
            child->SetWindowNumber(count > 1 ? ++n : 0);
            child->RebuildCaption();
            child->TitleBar().Invalidate();
        }
}

void CMainFrame::OnDocumentActivated(CKibDoc& doc)
{
    if (CChildFrame* child = FrameOfView(doc.GetFirstView()))
        child->ActivateFrame(m_settings.m_openMaximized != 0);
}

void CMainFrame::OnDocumentClosing(CKibDoc& doc)
{
    // Every window on the document closes; its view leaves the document's
    // list as it goes.
    std::vector<CKibView*> views = doc.Views();
    for (CKibView* view : views) {
        CChildFrame* child = FrameOfView(view);
        if (!child)
            continue;
        int index = m_client ? m_client->GetPageIndex(child) : wxNOT_FOUND;
        if (index != wxNOT_FOUND)
            m_client->DeletePage(static_cast<size_t>(index));
        else
            delete child;
    }
}

void CMainFrame::OnDocumentRemoved()
{
    UpdateMenuBar();
}

void CMainFrame::OnAllClosing(CDocManager& docs)
{
    BeginDocumentBatch();
    // Tab by tab from the first, made the shown one: the notebook then finds
    // each next tab at the start of the strip, without measuring or
    // scrolling along it. Hidden meanwhile, it does not lay out, paint and
    // focus the window shown next after every removal either.
    wxAuiNotebook* tabs = m_client;
    if (!tabs)
        return;
    bool shown = tabs->IsShown();
    if (tabs->GetPageCount() > 1)
        tabs->Hide();
    if (tabs->GetPageCount() > 0)
        tabs->ChangeSelection(0);
    while (size_t count = tabs->GetPageCount()) {
        auto* child = dynamic_cast<CChildFrame*>(tabs->GetPage(0));
        if (!child || !child->GetDocument())
            break;
        docs.CloseDocument(child->GetDocument());
        if (tabs->GetPageCount() >= count)
            break;
    }
    if (shown && !tabs->IsShown())
        tabs->Show();
}

void CMainFrame::OnAllClosed()
{
    EndDocumentBatch();
}

CKibView* CMainFrame::OpenFileView(const std::string& path)
{
    for (CChildFrame* child : m_zOrder) {
        CKibView* view = child->GetActiveView();
        if (child->IsChildVisible() && view && view->GetDocument() &&
            view->GetDocument()->GetPathName() == path) {
            m_docOpened.Set();
            return view;
        }
    }
    CKibDoc* doc = m_app ? m_app->Docs().OpenDocumentFile(path) : nullptr;
    return doc ? doc->GetFirstView() : nullptr;
}

// --- Routing ----------------------------------------------------------------

bool CMainFrame::RouteCommand(int command)
{
    // An output pane with the focus copies its own text.
    if (command == ID_EDIT_COPY || command == ID_EDIT_SELECT_ALL) {
        if (auto* pane = dynamic_cast<COutputPane*>(FindFocus())) {
            if (command == ID_EDIT_COPY)
                pane->Copy();
            else
                pane->SelectAll();
            return true;
        }
    }
    CChildFrame* child = ActiveChild();
    CKibView* view = child ? child->GetActiveView() : nullptr;
    CKibDoc* doc = child ? child->GetDocument() : nullptr;
    if (view && view->HandleCommand(command))
        return true;
    if (doc && doc->HandleCommand(command))
        return true;
    if (child && child->HandleCommand(command))
        return true;
    if (HandleCommand(command))
        return true;
    return m_app && m_app->HandleCommand(command);
}

bool CMainFrame::RouteUpdate(int command, CCommandState& state, CChildFrame* context,
                             bool disableIfNoHandler)
{
    CChildFrame* child = context ? context : ActiveChild();
    CKibView* view = child ? child->GetActiveView() : nullptr;
    CKibDoc* doc = child ? child->GetDocument() : nullptr;
    // Each stop starts from the state asked with: one that does not handle
    // the command may still have touched its copy.
    auto ask = [&](auto* target) {
        if (!target)
            return false;
        CCommandState s = state;
        if (!target->QueryCommand(command, s))
            return false;
        state = s;
        return true;
    };
    if (ask(view) || ask(doc) || ask(child) || ask(this) || ask(m_app))
        return true;
    if (disableIfNoHandler)
        state.enabled = false;
    return false;
}

void CMainFrame::OnMenu(wxCommandEvent& event)
{
    int command = FromWxId(event.GetId());
    CCommandControlScope sender(event.GetEventObject());
    if (command >= ID_TOOL_FIRST && RouteCommand(command))
        return;
    event.Skip();
}

void CMainFrame::OnUpdateUI(wxUpdateUIEvent& event)
{
    int command = FromWxId(event.GetId());
    if (command < ID_TOOL_FIRST) {
        event.Skip();
        return;
    }
    CCommandState state;
    state.enabled = true;
    RouteUpdate(command, state);
    event.Enable(state.enabled);
    if (event.IsCheckable() || IsCheckCommand(command))
        event.Check(state.checked);
    if (state.setText)
        event.SetText(MenuLabel(command, wxString::FromUTF8(state.text)));
}

// --- Menus ------------------------------------------------------------------

void CMainFrame::DoGiveHelp(const wxString& text, bool show)
{
    if (!GetStatusBar())
        return;
    SetStatusText(show && !text.empty() ? text : KibText(IDS_IDLE_MESSAGE), PANE_MESSAGE);
}

// --- Bars -------------------------------------------------------------------

bool UpdateHiddenByChildren(wxWindow& window)
{
    wxRegion rest(window.GetUpdateRegion());
    if (rest.IsEmpty())
        return false; // drawn outside a paint: no region to go by
    for (wxWindow* child : window.GetChildren())
        if (child->IsShown() && !child->IsTopLevel())
            rest.Subtract(child->GetRect());
    return rest.IsEmpty();
}

void RenderOnlyUncovered(wxAuiManager& manager)
{
    // GTK draws a window under every child it repaints, and the manager
    // then draws all its captions, sashes and borders: for a typed
    // character's line too. Under opaque children none of it shows.
    manager.Bind(wxEVT_AUI_RENDER, [&manager](wxAuiManagerEvent& event) {
        wxWindow* window = manager.GetManagedWindow();
        if (!window || !UpdateHiddenByChildren(*window))
            event.Skip();
    });
    // Even a paint that draws nothing costs the paint context, whose set-up
    // asks the theme for the window's colours and font: a third of a typed
    // character's time. Handlers bound here run before the manager's own.
    manager.Bind(wxEVT_PAINT, [&manager](wxPaintEvent& event) {
        wxWindow* window = manager.GetManagedWindow();
        if (!window || !UpdateHiddenByChildren(*window))
            event.Skip();
    });
}

wxStatusBar* CMainFrame::OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name)
{
    auto* bar = new CIndicatorStatusBar(this, id, style, name, PANE_MESSAGE);
    bar->SetFieldsCount(number);
    return bar;
}

COpenFilesTree* CMainFrame::OpenFilesTree() const
{
    return m_workspaceBar ? m_workspaceBar->GetOpenFilesTree() : nullptr;
}

bool CMainFrame::IsBarShown(wxWindow* bar) const
{
    if (!bar)
        return false;
    if (GetStatusBar() && bar == GetStatusBar())
        return GetStatusBar()->IsShown();
    wxAuiPaneInfo& pane = const_cast<wxAuiManager&>(m_aui).GetPane(bar);
    return pane.IsOk() && pane.IsShown();
}

void CMainFrame::ShowBar(wxWindow* bar, bool show)
{
    if (!bar)
        return;
    if (bar == GetStatusBar()) {
        bar->Show(show);
        SendSizeEvent();
        return;
    }
    wxAuiPaneInfo& pane = m_aui.GetPane(bar);
    if (pane.IsOk()) {
        pane.Show(show);
        m_aui.Update();
    }
}

wxString CMainFrame::StatusText(int pane) const
{
    return GetStatusBar() ? GetStatusBar()->GetStatusText(pane) : wxString();
}

namespace {

// The lock keys as GDK's keymap keeps them from the keyboard's own reports;
// wxGetKeyState asks the X server each time, three round trips in every
// idle pass, after every key.
bool LockKeyOn(wxKeyCode key)
{
#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
    if (GdkDisplay* display = gdk_display_get_default()) {
        if (GdkKeymap* keymap = gdk_keymap_get_for_display(display)) {
            switch (key) {
            case WXK_CAPITAL: return gdk_keymap_get_caps_lock_state(keymap);
            case WXK_NUMLOCK: return gdk_keymap_get_num_lock_state(keymap);
            case WXK_SCROLL: return gdk_keymap_get_scroll_lock_state(keymap);
            default: break;
            }
        }
    }
#endif
    return wxGetKeyState(key);
}

} // namespace

void CMainFrame::UpdateStatusPanes()
{
    wxStatusBar* status = GetStatusBar();
    if (!status)
        return;
    auto set = [&](int pane, const wxString& text) {
        if (m_lastStatus[pane] != text) {
            m_lastStatus[pane] = text;
            status->SetStatusText(text, pane);
        }
    };
    auto query = [&](int command) {
        CCommandState s;
        s.enabled = true;
        if (!RouteUpdate(command, s) || !s.enabled || !s.setText)
            return wxString();
        return wxString::FromUTF8(s.text);
    };
    set(PANE_LINE, query(ID_INDICATOR_LINE));
    set(PANE_COLUMN, query(ID_INDICATOR_COL));
    CCommandState ovr;
    bool overwrite = (RouteUpdate(ID_INDICATOR_OVR, ovr) && ovr.enabled) ||
                     (RouteUpdate(ID_EDIT_SWITCH_OVRMODE, ovr = CCommandState{}) && ovr.checked);
    set(PANE_OVR, overwrite ? KibText(IDS_INDICATOR_OVR) : wxString());
    set(PANE_CAPS, LockKeyOn(WXK_CAPITAL) ? KibText(IDS_INDICATOR_CAPS) : wxString());
    set(PANE_NUM, LockKeyOn(WXK_NUMLOCK) ? KibText(IDS_INDICATOR_NUM) : wxString());
    set(PANE_SCRL, LockKeyOn(WXK_SCROLL) ? KibText(IDS_INDICATOR_SCRL) : wxString());
    CKibView* view = ActiveView();
    CKibDoc* doc = view ? view->GetDocument() : nullptr;
    set(PANE_ENCODING, doc ? wxString::FromUTF8(EncodingStatusText(doc->Buffer().Encoding(), doc->Buffer().HasBom()))
                           : wxString());
}

const char* EncodingStatusText(TextEncoding encoding, bool bom)
{
    if (encoding == TextEncoding::Cp1252)
        return "Windows-1252";
    return bom ? "UTF-8 (BOM)" : "UTF-8";
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    if (m_app && m_app->Docs().RecentFiles().Generation() != m_recentGeneration)
        RefreshMenus(true);
    for (CChildFrame* child : std::vector<CChildFrame*>(m_zOrder))
        child->OnIdleUpdate();
    UpdateStatusPanes();
    UpdateCaption();
    event.Skip();
}

// --- Full screen ------------------------------------------------------------

void CMainFrame::ToggleFullScreen()
{
    if (m_fullScreen)
        LeaveFullScreen();
    else
        EnterFullScreen();
}

void CMainFrame::RememberBarForFullScreen(int index, int keepSetting, wxWindow* bar, bool)
{
    if (keepSetting != 0) {
        m_hiddenByFullScreen[index] = false;
        return;
    }
    m_hiddenByFullScreen[index] = IsBarShown(bar);
    if (m_hiddenByFullScreen[index]) {
        if (bar == GetStatusBar())
            bar->Show(false);
        else
            m_aui.GetPane(bar).Hide();
    }
}

void CMainFrame::EnterFullScreen()
{
    CChildFrame* child = ActiveChild();
    if (!child)
        return;
    RememberBarForFullScreen(0, m_settings.m_fullScreenShowToolbar, m_toolBar, false);
    RememberBarForFullScreen(1, m_settings.m_fullScreenShowStatus, GetStatusBar(), true);
    RememberBarForFullScreen(2, m_settings.m_fullScreenShowOutput, m_outputBar, false);
    RememberBarForFullScreen(3, m_settings.m_fullScreenShowWorkspace, m_workspaceBar, false);

    m_fullScreenBar = new wxFrame(this, wxID_ANY, KibText(IDS_FULLSCREEN_TOOLBAR), wxPoint(300, 200),
                                  wxDefaultSize,
                                  wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT | wxCAPTION |
                                      wxFRAME_NO_TASKBAR);
    auto* tb = new wxToolBar(m_fullScreenBar, IDR_FULLSCREEN_TOOLBAR, wxDefaultPosition, wxDefaultSize,
                             wxTB_FLAT | wxTB_HORIZONTAL);
    for (int id : ToolbarResource(IDR_FULLSCREEN_TOOLBAR))
        tb->AddTool(ToWxId(id), wxEmptyString, ToolbarBitmap(id), Text(CommandPrompt(id)));
    tb->Realize();
    tb->Bind(wxEVT_TOOL, [this](wxCommandEvent& e) {
        int command = FromWxId(e.GetId());
        CallAfter([this, command] { RouteCommand(command); });
    });
    m_fullScreenBar->SetClientSize(tb->GetBestSize());
    m_fullScreenBar->Show();

    m_rectBeforeFullScreen = GetRect();
    ShowFullScreen(true, wxFULLSCREEN_NOCAPTION | wxFULLSCREEN_NOBORDER);
    wxRect screen = wxDisplay(static_cast<unsigned>(std::max(0, wxDisplay::GetFromWindow(this)))).GetGeometry();
    SetSize(screen.x - 4, screen.y - 4, screen.width + 8, screen.height + 8);
    m_childWasMaximized = child->IsMaximized();
    child->SetMaximized(true);
    m_fullScreen = true;
    m_aui.Update();
    SendSizeEvent();
}

void CMainFrame::LeaveFullScreen()
{
    if (!m_fullScreen)
        return;
    if (m_fullScreenBar) {
        m_fullScreenBar->Destroy();
        m_fullScreenBar = nullptr;
    }
    ShowFullScreen(false);
    wxWindow* bars[4] = {m_toolBar, GetStatusBar(), m_outputBar, m_workspaceBar};
    for (int i = 0; i < 4; ++i) {
        if (!m_hiddenByFullScreen[i] || !bars[i])
            continue;
        if (bars[i] == GetStatusBar())
            bars[i]->Show(true);
        else
            m_aui.GetPane(bars[i]).Show();
        m_hiddenByFullScreen[i] = false;
    }
    SetSize(m_rectBeforeFullScreen);
    m_aui.Update();
    SendSizeEvent();
    if (CChildFrame* child = ActiveChild())
        child->SetMaximized(m_childWasMaximized);
    m_fullScreen = false;
}

bool CMainFrame::PreTranslateMessage(wxKeyEvent& event)
{
    if (m_fullScreen && event.GetKeyCode() == WXK_ESCAPE)
        LeaveFullScreen();
    return false;
}

void CMainFrame::OnCharHook(wxKeyEvent& event)
{
    PreTranslateMessage(event);
    event.Skip();
}

// --- Shut-down --------------------------------------------------------------

void CMainFrame::StopFileWatcher()
{
    CFileMonitor::Instance().StopFileWatcher();
}

bool CMainFrame::WriteOpenFilesList()
{
    std::vector<OpenFileSlot> windows;
    for (CChildFrame* child : m_zOrder) {
        CKibView* view = child->GetActiveView();
        if (child->IsChildVisible() && view && view->GetDocument())
            windows.emplace_back(view->GetDocument()->GetPathName());
        else
            windows.emplace_back(std::nullopt);
    }
    if (m_app && m_app->IsReopening())
        windows = WithPendingReopen(windows, m_app->PendingReopenFiles());
    if (m_app)
        windows = WithHeldBack(windows, m_app->HeldBackReopenFiles());
    CParamSaveReport report;
    bool ok = ::WriteOpenFilesList(OpenFilesFileName(), windows, &report);
    m_settingsNotice.Report(this, OpenFilesFileName(), report);
    return ok;
}

void CMainFrame::SaveLayout()
{
    if (m_fullScreen)
        LeaveFullScreen();
    profile::WriteProfileString(kLayoutSection, kPerspectiveValue, m_aui.SavePerspective().utf8_string());
    TrackNormalRect();
    const wxRect& r = m_normalRect;
    profile::WriteProfileInt(kLayoutSection, "WindowX", r.x);
    profile::WriteProfileInt(kLayoutSection, "WindowY", r.y);
    profile::WriteProfileInt(kLayoutSection, "WindowWidth", r.width);
    profile::WriteProfileInt(kLayoutSection, "WindowHeight", r.height);
    profile::WriteProfileInt(kLayoutSection, "Maximized", IsMaximized() ? 1 : 0);
    profile::WriteProfileInt(kLayoutSection, "StatusBar", GetStatusBar() && GetStatusBar()->IsShown() ? 1 : 0);
}

void CMainFrame::RestoreLayout()
{
    std::string perspective = profile::GetProfileString(kLayoutSection, kPerspectiveValue);
    if (!perspective.empty() && m_aui.LoadPerspective(wxString::FromUTF8(perspective), false)) {
        // Captions come from this program, not from the stored layout.
        m_aui.GetPane(m_workspaceBar).Caption(KibText(IDS_BAR_WORKSPACE));
        m_aui.GetPane(m_outputBar).Caption(KibText(IDS_BAR_OUTPUT));
        m_aui.GetPane(m_toolBar).Caption(KibText(IDS_TOOLBAR_STANDARD));
        m_aui.GetPane(m_client).Show();
    }
    int w = profile::GetProfileInt(kLayoutSection, "WindowWidth", 0);
    int h = profile::GetProfileInt(kLayoutSection, "WindowHeight", 0);
    if (w >= 200 && h >= 150) {
        int x = profile::GetProfileInt(kLayoutSection, "WindowX", 0);
        int y = profile::GetProfileInt(kLayoutSection, "WindowY", 0);
        wxRect r(x, y, w, h);
        // Only a place that is on some screen.
        if (wxDisplay::GetFromPoint(r.GetTopLeft() + wxPoint(20, 20)) != wxNOT_FOUND) {
            SetSize(r);
            m_normalRect = r;
        }
    }
    if (m_normalRect.IsEmpty())
        m_normalRect = GetRect();
    if (profile::GetProfileInt(kLayoutSection, "Maximized", 0))
        Maximize();
    if (!profile::GetProfileInt(kLayoutSection, "StatusBar", 1) && GetStatusBar())
        GetStatusBar()->Show(false);
}

// GetRect of a maximised window is the screen; the place it restores to is
// only known from before.
void CMainFrame::TrackNormalRect()
{
    if (!IsMaximized() && !IsIconized() && !IsFullScreen() && !m_fullScreen)
        m_normalRect = GetRect();
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    StopFileWatcher();
    WriteOpenFilesList();
    SaveLayout();
    if (m_app)
        m_app->SaveCustomState();
    if (m_app && !m_app->Docs().SaveAllModified()) {
        if (event.CanVeto()) {
            // Kib stays open: its files are watched again.
            for (CKibDoc* doc : m_app->Docs().Documents())
                doc->RenewFileWatch();
            event.Veto();
            return;
        }
    }
    m_closing = true;
    if (m_app) {
        m_app->StopReopening();
        m_app->Docs().CloseAllDocuments();
    }
    Destroy();
}

// --- Commands of the frame --------------------------------------------------

void CMainFrame::SaveAll()
{
    for (CChildFrame* child : std::vector<CChildFrame*>(m_zOrder)) {
        if (!child->IsChildVisible() || !child->GetActiveView())
            continue;
        CKibDoc* doc = child->GetDocument();
        if (!doc)
            continue;
        if (!doc->GetPathName().empty())
            doc->OnSaveDocument(doc->GetPathName());
        else if (!doc->SaveModified())
            break;
    }
}

void CMainFrame::ToggleAutoIndent()
{
    m_settings.m_autoIndent = m_settings.m_autoIndent ? 0 : 1;
    for (CChildFrame* child : m_zOrder)
        if (child->IsChildVisible() && child->GetActiveView())
            child->GetActiveView()->SetAutoIndentSetting(m_settings.m_autoIndent != 0);
}

void CMainFrame::OpenWithShell(const std::string& path)
{
    ShellOpen(path);
}

const CMainFrame::Commands& CMainFrame::CommandTable()
{
    using Row = Commands::Row;
    using F = CMainFrame;
    // A bar's menu item toggles it and is checked while it shows.
    static constexpr auto toggleBar = [](F& f, int c) {
        wxWindow* bar = f.BarOf(c);
        f.ShowBar(bar, !f.IsBarShown(bar));
    };
    static constexpr auto barShown = [](F& f, int c, CCommandState& s) { s.checked = f.IsBarShown(f.BarOf(c)); };
    static constexpr auto tabLocation = [](F& f, int c) {
        if (f.m_app)
            f.m_app->SetMdiTabLocation(c == ID_MDITAB_TOP ? 1 : 0);
        f.EnableDocumentTabs(f.m_settings.m_editorTabs != 0, c == ID_MDITAB_TOP ? 1 : 0);
    };
    static constexpr auto tabsOn = [](F& f, int) { return f.m_tabsOn; };
    static constexpr auto tabLocationShown = [](F& f, int c, CCommandState& s) {
        s.checked = f.m_tabLocation == (c == ID_MDITAB_TOP ? 1 : 0);
    };
    static constexpr auto anyChild = [](F& f, int) { return f.ActiveChild() != nullptr; };
    static constexpr auto split = [](F& f, int c) {
        int sel = f.m_client->GetSelection();
        if (sel != wxNOT_FOUND && f.m_client->GetPageCount() > 1)
            f.m_client->Split(static_cast<size_t>(sel), c == ID_WINDOW_TILE_HORZ ? wxBOTTOM : wxRIGHT);
    };
    static constexpr auto twoPages = [](F& f, int) { return f.m_client && f.m_client->GetPageCount() > 1; };

    static const Commands table = {
        {ID_APP_EXIT, [](F& f, int) { f.Close(); }, Row::Always},
        {ID_FILE_SAVE_ALL, [](F& f, int) { f.SaveAll(); }, Row::Always},
        {ID_AUTOINDENT, [](F& f, int) { f.ToggleAutoIndent(); }, Row::Always,
         [](F& f, int, CCommandState& s) { s.checked = f.m_settings.m_autoIndent != 0; }},
        {ID_VIEW_TOOLBAR, toggleBar, Row::Always, barShown},
        {ID_VIEW_STATUS_BAR, toggleBar, Row::Always, barShown},
        {ID_VIEW_WORKSPACE, toggleBar, Row::Always, barShown},
        {ID_VIEW_OUTPUT, toggleBar, Row::Always, barShown},
        {ID_VIEW_FULLSCREEN, [](F& f, int) { f.ToggleFullScreen(); }, Row::Always},
        {ID_VIEW_CUSTOMIZE, [](F& f, int) { f.CustomizeBars(); }, Row::Always},
        // No user-defined tool bar exists: shown, never enabled.
        {ID_VIEW_USER_TOOLBAR1, ID_VIEW_USER_TOOLBAR10, nullptr, [](F&, int) { return false; }},
        {ID_JAVA_CONSOLE, [](F&, int) { ::OpenTerminal(); }, Row::Always},
        {ID_HELP_FINDER, [](F& f, int) { f.OpenWithShell(platform::JoinPath(f.m_appDir, "dokumentation.pdf")); },
         Row::Always},
        {ID_HELP_CONTRIBUTE,
         [](F& f, int) { f.OpenWithShell(platform::JoinPath(f.m_appDir, "unterstuetzung.html")); }, Row::Always},
        {ID_HELP_JDKDOCS,
         [](F& f, int) {
             if (!f.m_settings.m_docuPath.empty())
                 f.OpenWithShell(f.m_settings.m_docuPath);
         },
         [](F& f, int) { return !f.m_settings.m_docuPath.empty(); }},
        {ID_HELP_UPDATE, [](F& f, int) { CheckForNewVersion(&f, false, true); }, Row::Always},
        {ID_STARTFILE_CURRENT, [](F& f, int) { f.m_settings.m_curStartFile = -1; }, Row::Always,
         [](F& f, int, CCommandState& s) { s.checked = f.m_settings.m_curStartFile < 0; }},
        {ID_STARTFILE_FIRST, ID_STARTFILE_LAST,
         [](F& f, int c) {
             int index = c - ID_STARTFILE_FIRST;
             if (index < static_cast<int>(f.m_settings.m_startFiles.size()))
                 f.m_settings.m_curStartFile = index;
         },
         Row::Always,
         [](F& f, int c, CCommandState& s) { s.checked = f.m_settings.m_curStartFile == c - ID_STARTFILE_FIRST; }},
        {ID_MDITAB_CLOSE,
         [](F& f, int) {
             if (CChildFrame* target = f.m_tabWindow)
                 f.CallAfter([&f, target] { f.CloseChild(target); });
         },
         [](F& f, int) { return f.m_tabWindow != nullptr; }},
        {ID_MDITAB_TOP, tabLocation, tabsOn, tabLocationShown},
        {ID_MDITAB_BOTTOM, tabLocation, tabsOn, tabLocationShown},
        {ID_WINDOW_NEW, [](F& f, int) { f.NewWindowOnActiveDocument(); }, anyChild},
        {ID_WINDOW_TILE_HORZ, split, twoPages},
        {ID_WINDOW_TILE_VERT, split, twoPages},
        {ID_WINDOW_CASCADE, [](F& f, int) { f.JoinTabStrips(); }, anyChild},
        // The notebook has no minimised windows to arrange.
        {ID_WINDOW_ARRANGE, [](F&, int) {}, Row::Always},
    };
    return table;
}

wxWindow* CMainFrame::BarOf(int command) const
{
    switch (command) {
    case ID_VIEW_TOOLBAR: return m_toolBar;
    case ID_VIEW_STATUS_BAR: return GetStatusBar();
    case ID_VIEW_WORKSPACE: return m_workspaceBar;
    case ID_VIEW_OUTPUT: return m_outputBar;
    default: return nullptr;
    }
}

void CMainFrame::NewWindowOnActiveDocument()
{
    CChildFrame* active = ActiveChild();
    if (!active || !active->GetDocument() || !m_app)
        return;
    CChildFrame* frame = NewChild(active->GetDocument());
    if (frame->GetActiveView())
        frame->GetActiveView()->OnInitialUpdate();
    frame->ActivateFrame(m_settings.m_openMaximized != 0);
}

void CMainFrame::JoinTabStrips()
{
    // One tab strip again: take every page out and put it back.
    wxWindow* active = m_client->GetCurrentPage();
    std::vector<std::pair<wxWindow*, wxString>> pages;
    while (m_client->GetPageCount() > 0) {
        pages.emplace_back(m_client->GetPage(0), m_client->GetPageText(0));
        m_client->RemovePage(0);
    }
    for (auto& [page, text] : pages)
        m_client->AddPage(page, text, page == active);
}

void CMainFrame::CustomizeBars()
{
    wxWindow* bars[] = {m_toolBar, m_workspaceBar, m_outputBar, GetStatusBar()};
    std::vector<IUserDialogs::BarChoice> choices = {
        {KibText(IDS_TOOLBAR_STANDARD), IsBarShown(m_toolBar)},
        {KibText(IDS_BAR_WORKSPACE), IsBarShown(m_workspaceBar)},
        {KibText(IDS_BAR_OUTPUT), IsBarShown(m_outputBar)},
        {wxString::FromUTF8("Statusleiste"), IsBarShown(GetStatusBar())}};
    if (UserDialogs().Customize(this, choices))
        for (size_t i = 0; i < choices.size(); ++i)
            if (choices[i].shown != IsBarShown(bars[i]))
                ShowBar(bars[i], choices[i].shown);
}

bool CMainFrame::HandleCommand(int c)
{
    return HandleFindInFilesCommand(*this, c) || HandleStartFileCommand(*this, c) || HandleToolCommand(*this, c) ||
           HandleOptionsCommand(*this, c) ||
           CommandTable().Handle(*this, c);
}

bool CMainFrame::QueryCommand(int c, CCommandState& s)
{
    return QueryFindInFilesCommand(*this, c, s) || QueryStartFileCommand(*this, c, s) ||
           QueryToolCommand(*this, c, s) ||
           QueryOptionsCommand(*this, c, s) ||
           CommandTable().Query(*this, c, s);
}
