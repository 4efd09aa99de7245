#include "app/QCaldroAppDoc.h"

BOOL QCaldroAppDoc::OnNewDocument() {
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

void QCaldroAppDoc::Serialize(CArchive&) {}
