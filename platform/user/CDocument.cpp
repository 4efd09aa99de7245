#include "platform/user/CDocument.h"

#include <algorithm>

#include "platform/user/CDocTemplate.h"
#include "platform/user/CFrameWnd.h"
#include "platform/user/CView.h"

CDocument::~CDocument() {
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::Serialize(CArchive&) {}

void CDocument::DeleteContents() {}

void CDocument::OnCloseDocument() {
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE; // the frames' destruction must not delete the document midway
    while (!m_views.empty()) {
        CView* view = m_views.front();
        CWnd* frame = view->GetParentFrame();
        if (frame && frame->m_hWnd)
            frame->DestroyWindow();
        else
            view->DestroyWindow();
        std::erase(m_views, view); // gone with its window, or left for good
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::AddView(CView* view) {
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
        m_views.push_back(view);
        view->m_pDocument = this;
    }
}

void CDocument::RemoveView(CView* view) {
    const auto removed = std::erase(m_views, view);
    if (view && view->m_pDocument == this)
        view->m_pDocument = nullptr;
    // A document lives as long as something shows it.
    if (removed && m_views.empty() && m_bAutoDelete)
        OnCloseDocument();
}
