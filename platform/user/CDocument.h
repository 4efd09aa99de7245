// The framework's document: the data a program's views show. The launcher's document holds
// nothing; the framework needs one to join its frame and view.
#pragma once

#include <vector>

#include "platform/user/CCmdTarget.h"

class CArchive;
class CDocTemplate;
class CView;

class CDocument : public CCmdTarget {
public:
    static constexpr const char* kRuntimeClassName = "CDocument";

    CDocument() = default;
    // Leaves its template.
    ~CDocument() override;

    // A new, empty document: DeleteContents and a cleared modified flag; TRUE.
    virtual BOOL OnNewDocument();
    virtual void Serialize(CArchive& archive);
    virtual void DeleteContents();
    // Closes every frame that shows the document, then deletes it when m_bAutoDelete.
    virtual void OnCloseDocument();

    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    virtual BOOL IsModified() { return m_bModified; }

    void AddView(CView* view);
    // When the last view goes and m_bAutoDelete is set, the document closes (and is deleted).
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return m_views; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    BOOL m_bAutoDelete = TRUE;
    CDocTemplate* m_pDocTemplate = nullptr;

private:
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;
};
