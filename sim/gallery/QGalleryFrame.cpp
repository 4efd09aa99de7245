#include "sim/gallery/QGalleryFrame.h"

#include "platform/kernel/EventLog.h"

QGalleryFrame::QGalleryFrame() : m_pages{&m_labelsPage, &m_buttonsPage, &m_menusPage} {}

BOOL QGalleryFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.lpszName = kWindowName;
    return CFrameWnd::PreCreateWindow(cs);
}

LRESULT QGalleryFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    case WM_SETFOCUS:
        // The frame passes the focus on to the page shown.
        if (m_nPage >= 0)
            m_pages[std::size_t(m_nPage)]->FocusFirst();
        return 0;
    case WM_DESTROY:
        m_pScanner.reset();
        return CFrameWnd::WindowProc(message, wParam, lParam);
    default:
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
}

int QGalleryFrame::OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    for (QGalleryPage* page : m_pages)
        if (!page->CreatePage(this))
            return -1;
    ShowPage(0);
    m_pScanner = std::make_unique<QKeypadScanner>();
    m_pScanner->Start();
    return 0;
}

void QGalleryFrame::ShowPage(int index) {
    if (m_nPage >= 0)
        m_pages[std::size_t(m_nPage)]->ShowWindow(SW_HIDE);
    m_nPage = index;
    QGalleryPage* page = m_pages[std::size_t(index)];
    page->ShowWindow(SW_SHOW);
    page->FocusFirst();
    EventLog::Instance().Record("gallery.page",
                                {{"index", index}, {"title", page->Title().ToUtf8()}});
}

void QGalleryFrame::NextPage() {
    ShowPage((m_nPage + 1) % int(m_pages.size()));
}

void QGalleryFrame::ShowCommand(LPCTSTR source, UINT id, const CString& text) {
    EventLog::Instance().Record(
        "gallery.command",
        {{"source", CString(source).ToUtf8()}, {"id", id}, {"text", text.ToUtf8()}});
    CString line;
    line.Format(L"Last: %s \"%s\" (%u)", source, static_cast<LPCTSTR>(text), id);
    for (QGalleryPage* page : m_pages)
        page->SetLastCommand(line);
}
