// The launcher's document: holds nothing; it joins the frame and the view.
#pragma once

#include "platform/user/CDocument.h"

class QCaldroAppDoc : public CDocument {
public:
    static constexpr const char* kRuntimeClassName = "QCaldroAppDoc";

    // TRUE exactly when the framework's new-document step succeeds.
    BOOL OnNewDocument() override;
    // Nothing to store or load.
    void Serialize(CArchive& archive) override;
};
