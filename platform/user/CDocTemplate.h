// A document template joins a document class with the frame and view classes that show it,
// and makes all three when a document is opened.
#pragma once

#include "platform/user/CCmdTarget.h"
#include "platform/user/CRuntimeClass.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
public:
    CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                 CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    // path NULL: a new document. Returns the document, or NULL when the document, its frame or
    // its view could not be made (nothing is left behind then).
    virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) = 0;
    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);

    virtual CDocument* CreateNewDocument();
    // A frame (loaded with the template's resource id) whose view shows doc; NULL on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    // Sends the frame's views their initial update and shows the frame.
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
};
