// The launcher view set up as its initial update sets it up, without the start-up thread, the
// slide-in, the keypad scanner or the battery timer: a test under the manual clock runs the
// start-up and the handlers itself on the test thread, so that their timing is exact.
#pragma once

#include "launcher/QCaldroAppView.h"

class ViewProbe : public QCaldroAppView {
public:
    void OnInitialUpdate() override {
        CFormView::OnInitialUpdate();
        InitialiseForm();
    }
};
