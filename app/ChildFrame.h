// A document window: one page of the main frame's document notebook, showing
// one CKibView, with a caption that carries the modified marker "*".
#pragma once

#include "app/CommandTarget.h"
#include "app/TitleBar.h"

#include <wx/panel.h>

#include <string>

class CKibDoc;
class CKibView;
class CMainFrame;

class CChildFrame : public wxPanel, public CCommandTarget {
public:
    CChildFrame(CMainFrame* mainFrame, CKibDoc* doc);
    ~CChildFrame() override;

    CKibView* GetActiveView() const { return m_view; }
    CKibDoc* GetDocument() const { return m_doc; }
    CMainFrame* MainFrame() const { return m_mainFrame; }

    // The caption (UTF-8) as shown in the document tab.
    const std::string& GetCaption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    // The caption from the document's title (and the window number).
    void RebuildCaption();
    void SetWindowNumber(int n) { m_windowNumber = n; }
    CTitleBar& TitleBar() { return m_titleBar; }

    // A hidden window stays open but is not shown and not stored at close.
    bool IsChildVisible() const { return m_childVisible; }
    void SetChildVisible(bool visible) { m_childVisible = visible; }
    bool IsMaximized() const { return m_maximized; }
    void SetMaximized(bool maximized) { m_maximized = maximized; }

    // The main frame is going: forget it.
    void DetachFromMainFrame() { m_mainFrame = nullptr; }
    // Shows the window (maximised when the settings ask for it).
    void ActivateFrame(bool maximize);
    // First the title bar, then the view's idle work.
    void OnIdleUpdate();
    // Routes an update through view, document, this window, frame, app.
    bool RouteUpdate(int command, CCommandState& state);

    // CCommandTarget
    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;

private:
    CMainFrame* m_mainFrame;
    CKibDoc* m_doc;
    CKibView* m_view = nullptr;
    CTitleBar m_titleBar;
    std::string m_caption;
    int m_windowNumber = 0;
    bool m_childVisible = true;
    bool m_maximized = false;
    int m_tabImage = -1;
};
