#include "platform/user/CDocTemplate.h"

#include "platform/user/CCreateContext.h"
#include "platform/user/CDocument.h"
#include "platform/user/CFrameWnd.h"

CDocTemplate::CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(idResource), m_pDocClass(docClass), m_pFrameClass(frameClass),
      m_pViewClass(viewClass) {}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::AddDocument(CDocument* doc) {
    if (doc)
        doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
    if (doc && doc->m_pDocTemplate == this)
        doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass)
        return nullptr;
    CObject* object = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(object);
    if (!doc) {
        delete object;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!m_pFrameClass)
        return nullptr;
    CObject* object = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    // A frame that fails to load has deleted itself (PostNcDestroy).
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPED, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
    if (frame)
        frame->InitialUpdateFrame(doc, makeVisible);
}
