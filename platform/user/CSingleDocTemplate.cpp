#include "platform/user/CSingleDocTemplate.h"

#include "platform/user/CDocument.h"
#include "platform/user/CFrameWnd.h"
#include "platform/user/CWinApp.h"

CSingleDocTemplate::~CSingleDocTemplate() {
    if (m_pOnlyDoc)
        m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* doc) {
    CDocTemplate::AddDocument(doc);
    m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc) {
    CDocTemplate::RemoveDocument(doc);
    if (m_pOnlyDoc == doc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR path, BOOL makeVisible) {
    if (path || m_pOnlyDoc)
        return nullptr; // one new document; the device's programs open no document files
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE; // a failing frame must not take the document with it
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    if (!doc->OnNewDocument()) {
        frame->DestroyWindow();
        return nullptr;
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}
