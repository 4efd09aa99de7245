#include "sim/gallery/QGalleryFrame.h"

#include <memory>

#include "platform/kernel/EventLog.h"
#include "sim/gallery/GalleryRequests.h"
#include "widgets/QMessageBox.h"

namespace {

// A dialog result's name, as the last-command line shows it.
LPCTSTR ResultName(int result) {
    switch (result) {
    case IDOK:
        return L"IDOK";
    case IDCANCEL:
        return L"IDCANCEL";
    case IDABORT:
        return L"IDABORT";
    case IDRETRY:
        return L"IDRETRY";
    case IDIGNORE:
        return L"IDIGNORE";
    case IDYES:
        return L"IDYES";
    case IDNO:
        return L"IDNO";
    default:
        return L"none";
    }
}

} // namespace

QGalleryFrame::QGalleryFrame()
    : m_pages{&m_labelsPage, &m_buttonsPage, &m_menusPage, &m_messageBoxPage} {}

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
    case GalleryMessageBoxRequest::kMessage: {
        // The frame owns the request from here on.
        const std::unique_ptr<GalleryMessageBoxRequest> request(
            reinterpret_cast<GalleryMessageBoxRequest*>(lParam));
        if (request)
            RunMessageBox(request->text,
                          request->caption ? static_cast<LPCTSTR>(*request->caption) : nullptr,
                          request->type);
        return 0;
    }
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

// A close request that arrives while the box is open (the simulator quitting) closes the box
// first: the frame closes once the box's loop has returned (CFrameWnd::OnClose).
int QGalleryFrame::RunMessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
    const int result = ShowMessageBox(text, caption, type);
    ShowCommand(L"msgbox", UINT(result), ResultName(result));
    return result;
}
