#include "app/ChildFrame.h"

#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/OpenFilesTree.h"
#include "resources/Artwork.h"
#include "resources/CommandIds.h"

#include <wx/aui/auibook.h>
#include <wx/sizer.h>

using namespace kib;

CChildFrame::CChildFrame(CMainFrame* mainFrame, CKibDoc* doc)
    : wxPanel(mainFrame->Client(), wxID_ANY, wxDefaultPosition, wxDefaultSize,
              wxTAB_TRAVERSAL | wxBORDER_NONE),
      m_mainFrame(mainFrame), m_doc(doc)
{
    m_titleBar.SetItems({ID_TITLE_MARKER});
    m_view = new CKibView(this, doc);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_view, 1, wxEXPAND);
    SetSizer(sizer);
    RebuildCaption();
}

CChildFrame::~CChildFrame()
{
    // The view goes with this window; let the document forget it first.
    if (m_view) {
        m_view->Destroy();
        m_view = nullptr;
    }
    if (m_mainFrame)
        m_mainFrame->OnChildDestroyed(this);
}

void CChildFrame::SetCaption(const std::string& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (!m_mainFrame || !m_mainFrame->Client())
        return;
    int index = m_mainFrame->Client()->GetPageIndex(this);
    if (index != wxNOT_FOUND) {
        wxString text = wxString::FromUTF8(caption);
        if (text.empty() && !caption.empty())
            text = wxString(caption.c_str(), wxConvISO8859_1);
        m_mainFrame->Client()->SetPageText(static_cast<size_t>(index), text);
        int image = COpenFilesTree::ImageFor(m_doc ? m_doc->GetTitle() : caption);
        if (image != m_tabImage) {
            m_tabImage = image;
            m_mainFrame->Client()->SetPageBitmap(static_cast<size_t>(index), kib::OpenFilesBitmap(image));
        }
    }
}

void CChildFrame::RebuildCaption()
{
    std::string caption = m_doc ? m_doc->GetTitle() : std::string();
    if (m_windowNumber > 0)
        caption += ":" + std::to_string(m_windowNumber);
    SetCaption(caption);
}

void CChildFrame::ActivateFrame(bool maximize)
{
    if (maximize)
        m_maximized = true;
    if (m_mainFrame)
        m_mainFrame->ActivateChild(this);
}

void CChildFrame::OnIdleUpdate()
{
    m_titleBar.Update(*this);
}

bool CChildFrame::RouteUpdate(int command, CCommandState& state)
{
    return m_mainFrame && m_mainFrame->RouteUpdate(command, state, this, false);
}

bool CChildFrame::HandleCommand(int command)
{
    return false;
}

bool CChildFrame::QueryCommand(int command, CCommandState& state)
{
    return false;
}
