// The template of a program that shows one document at a time in one main frame.
#pragma once

#include "platform/user/CDocTemplate.h"

class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    // Makes the document, the frame with its view (which becomes the application's main
    // window when there is none yet), runs OnNewDocument, then the views' initial update.
    CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;

    CDocument* m_pOnlyDoc = nullptr;
};
