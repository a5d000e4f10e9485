// The single main window: menu bars 128/129, the standard tool bar, the
// status bar, the docking bars "Workspace" and "Output", the document
// notebook, full-screen mode, and the in-memory settings. It also routes
// every command: active view, its document, its window, this frame, the
// application — the first handler wins.
#pragma once

#include "app/CommandTarget.h"
#include "app/DocumentListener.h"
#include "app/DocumentNotebook.h"
#include "app/ManualResetEvent.h"
#include "app/SettingsFileNotice.h"
#include "settings/Settings.h"
#include "text/TextEncoding.h"

#include <wx/aui/aui.h>
#include <wx/frame.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class CKibApp;
class CKibDoc;
class CKibView;
class CChildFrame;
class COutputBar;
class COutputPane;
class CWorkspaceBar;
class COpenFilesTree;
class wxAuiNotebook;
class wxAuiNotebookEvent;
class wxMenu;
class wxStatusBar;

namespace toolchain {
class CWarmCompiler;
}

class CMainFrame : public wxFrame, public CCommandTarget, public CDocumentListener {
public:
    // Status-bar panes.
    enum { PANE_MESSAGE, PANE_LINE, PANE_COLUMN, PANE_OVR, PANE_CAPS, PANE_NUM, PANE_SCRL, PANE_ENCODING, PANE_COUNT };

    CMainFrame(CKibApp* app, const std::string& appDirectory);
    ~CMainFrame() override;

    // The frame of the run, or null before creation and after destruction.
    static CMainFrame* Instance();

    // The creation steps: settings, menus, bars, docking, splash, style.
    // False when a bar could not be made.
    bool CreateFrame();
    // Document tabs on or off at the application's tab location.
    void EnableDocumentTabs(bool on, int location);
    bool DocumentTabsShown() const { return m_tabsOn; }
    int DocumentTabLocation() const { return m_tabLocation; }

    // --- Settings.
    CSettings& Settings() { return m_settings; }
    // Kib's one warm compile server (null when switched off in the user's store).
    toolchain::CWarmCompiler* WarmCompiler() { return m_warmCompiler.get(); }
    const std::string& AppDirectory() const { return m_appDir; }
    // The screen's vertical pixels per inch that the stored font heights use.
    int PixelsPerInch() const { return m_ppi; }
    std::string ParamFileName() const;
    std::string OpenFilesFileName() const;
    void LoadSettings();
    void SaveSettings();
    // After the options dialog: output font, views, then save.
    void ApplyOptionsToViews();
    // Visual style 0-3 (4 keeps it); any other number only beeps.
    void ApplySkin(int skin);
    int CurrentSkin() const { return m_skin; }

    // --- Document windows.
    wxAuiNotebook* Client() const { return m_client; }
    // Between these (they nest) the notebook and the open-files tree do no
    // layout, so that opening or closing many windows costs one layout.
    void BeginDocumentBatch();
    void EndDocumentBatch();
    // A new window on doc (also for "Neues Fenster"), added to the notebook.
    CChildFrame* NewChild(CKibDoc* doc);
    void AddChild(CChildFrame* child);
    void OnChildDestroyed(CChildFrame* child);
    // Topmost (most recently active) first, hidden windows included.
    const std::vector<CChildFrame*>& ChildrenInWindowOrder() const { return m_zOrder; }
    CChildFrame* ActiveChild() const;
    CKibView* ActiveView() const;
    void ActivateChild(CChildFrame* child);
    // The close request of one window (asks when it shows a document's last view).
    bool CloseChild(CChildFrame* child);
    // Hides or shows a window without closing it.
    void ShowChild(CChildFrame* child, bool show);
    void OnViewFocused(CKibView* view);
    // Brings the document's first window to the front (open-files list).
    void ActivateDocument(CKibDoc* doc);
    void UpdateCaption();

    // The editor view of a file; opens it when needed (case-sensitive path
    // comparison). Signals the document-opened event when it finds it open.
    CKibView* OpenFileView(const std::string& path);
    CManualResetEvent& DocumentOpenedEvent() { return m_docOpened; }

    // --- Routing.
    bool RouteCommand(int command);
    // context: the window whose view and document come first (the active
    // one when null). With disableIfNoHandler a command nobody handles is
    // disabled; the caption marker's update passes false.
    bool RouteUpdate(int command, CCommandState& state, CChildFrame* context = nullptr,
                     bool disableIfNoHandler = true);

    // --- Menus.
    // Fills the parts of a popup that change (tool bars, start files,
    // date/time, tools, text blocks) before it is shown.
    void PreparePopupMenu(wxMenu* menu);
    bool UsingDocumentMenu() const;
    // The tool list changed: the Tools menus are filled again.
    void ToolsChanged();
    void UpdateMenuBar();
    // Right click on the tab strip: remembers the tab's window (or none).
    void SetTabWindow(CChildFrame* child) { m_tabWindow = child; }
    void ShowTabContextMenu(CChildFrame* hit, const wxPoint& screenPos);

    // --- Bars.
    COutputBar* OutputBar() const { return m_outputBar; }
    CWorkspaceBar* WorkspaceBar() const { return m_workspaceBar; }
    COpenFilesTree* OpenFilesTree() const;
    wxWindow* StandardToolBar() const { return m_toolBar; }
    bool IsBarShown(wxWindow* bar) const;
    void ShowBar(wxWindow* bar, bool show);
    wxString StatusText(int pane) const;
    void UpdateStatusPanes();

    // --- Full screen.
    void ToggleFullScreen();
    bool IsFullScreenMode() const { return m_fullScreen; }
    wxWindow* FullScreenToolBar() const { return m_fullScreenBar; }

    // --- Shut-down pieces (in the order the close handler runs them).
    void StopFileWatcher();
    bool WriteOpenFilesList();
    void SaveLayout();
    void RestoreLayout();

    // Commands of this frame.
    void SaveAll();
    void ToggleAutoIndent();

    // Id, action and enabling rule of each command, row by row.
    using Commands = CCommandTable<CMainFrame>;
    static const Commands& CommandTable();
    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;

    // CDocumentListener: a document's windows, captions and window numbers.
    void OnDocumentOpened(CKibDoc& doc) override;
    void OnDocumentRenamed(CKibDoc& doc) override;
    void OnDocumentActivated(CKibDoc& doc) override;
    void OnDocumentClosing(CKibDoc& doc) override;
    void OnDocumentRemoved() override;
    void OnAllClosing(CDocManager& docs) override;
    void OnAllClosed() override;

    // Escape leaves full-screen mode; true when the key must go no further
    // (it always goes on).
    bool PreTranslateMessage(wxKeyEvent& event);

protected:
    wxStatusBar* OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name) override;

private:
    // Bytes stored by the program (UTF-8, or a single-byte name) as shown.
    static wxString Display(const std::string& bytes);
    void BuildStatusBar();
    void BuildToolBar();
    void CreateBars();
    void ShowMenuBarFor(bool document);
    void RegisterSpecialMenus(wxMenuBar* bar, int res);
    void FillSpecialMenu(wxMenu* menu, int kind);
    // Fills the menus that change; recentOnly: the recent-file entries.
    void RefreshMenus(bool recentOnly);
    void FillToolbarsMenu(wxMenu* menu);
    void FillStartFileMenu(wxMenu* menu);
    void FillDateTimeMenu(wxMenu* menu);
    void FillToolsMenu(wxMenu* menu);
    void FillInsertMenu(wxMenu* menu);
    void FillRecentFiles(wxMenu* menu);
    void EnterFullScreen();
    void LeaveFullScreen();
    void RememberBarForFullScreen(int index, int keepSetting, wxWindow* bar, bool statusBar);
    void OpenWithShell(const std::string& path);
    // The window numbers (":1", ":2") of the captions of doc's windows.
    void NumberWindows(CKibDoc& doc);

    // The bar a view command shows or hides.
    wxWindow* BarOf(int command) const;
    void NewWindowOnActiveDocument();
    // Cascade: every page back in one tab strip.
    void JoinTabStrips();
    // The dialog that shows and hides the bars.
    void CustomizeBars();

    void OnMenu(wxCommandEvent& event);
    void OnUpdateUI(wxUpdateUIEvent& event);
    void OnMenuOpen(wxMenuEvent& event);
    void OnClose(wxCloseEvent& event);
    void TrackNormalRect();
    void OnIdle(wxIdleEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnPageChanged(wxAuiNotebookEvent& event);
    void OnPageClose(wxAuiNotebookEvent& event);
    void OnTabRightUp(wxAuiNotebookEvent& event);
    void OnClientContextMenu(wxContextMenuEvent& event);
    void DoGiveHelp(const wxString& text, bool show) override;

    CKibApp* m_app;
    std::string m_appDir;
    CSettings m_settings;
    std::unique_ptr<toolchain::CWarmCompiler> m_warmCompiler;
    CSettingsFileNotice m_settingsNotice;
    int m_ppi = 96;
    int m_skin = 0;

    wxAuiManager m_aui;
    CDocumentNotebook* m_client = nullptr;
    wxWindow* m_toolBar = nullptr;
    COutputBar* m_outputBar = nullptr;
    CWorkspaceBar* m_workspaceBar = nullptr;
    wxMenuBar* m_mainMenu = nullptr;
    wxMenuBar* m_docMenu = nullptr;
    bool m_tabsOn = true;
    int m_tabLocation = 0;

    enum SpecialMenu { MENU_TOOLBARS, MENU_STARTFILE, MENU_DATETIME, MENU_TOOLS, MENU_INSERT, MENU_FILE };
    std::map<wxMenu*, SpecialMenu> m_specialMenus;
    unsigned m_recentGeneration = 0;

    std::vector<CChildFrame*> m_zOrder;
    CChildFrame* m_tabWindow = nullptr;
    CManualResetEvent m_docOpened;
    bool m_closing = false;
    // The frame's place while neither maximised, minimised nor full screen:
    // what the layout stores, so that a window closed maximised comes back
    // maximised and restores to this place.
    wxRect m_normalRect;
    int m_batch = 0;
    CChildFrame* m_activateAfterBatch = nullptr;

    // Full screen.
    bool m_fullScreen = false;
    wxRect m_rectBeforeFullScreen;
    bool m_hiddenByFullScreen[4] = {};
    bool m_childWasMaximized = false;
    wxFrame* m_fullScreenBar = nullptr;
    bool m_statusShown = true;

    wxString m_lastStatus[PANE_COUNT];
    int m_menuDepth = 0;
};

// The status bar's name of a document's encoding: "UTF-8", "UTF-8 (BOM)" or
// "Windows-1252".
const char* EncodingStatusText(TextEncoding encoding, bool bom);

// Whether the pending paint of window lies wholly under its shown children.
bool UpdateHiddenByChildren(wxWindow& window);
// The manager draws its parts only where its window's update shows them.
void RenderOnlyUncovered(wxAuiManager& manager);
