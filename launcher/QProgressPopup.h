// The transient popup of the launch sequence: a bordered static over the launcher view that
// carries one progress or failure text while the sequence works on the UI thread.
#pragma once

#include "platform/user/CStatic.h"

class QProgressPopup : public CStatic {
public:
    QProgressPopup() = default;
    // The window, if it is still there, goes with the object.
    ~QProgressPopup() override;
};
