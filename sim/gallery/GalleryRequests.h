// How the rest of the simulated device reaches the running gallery: the name of its frame window,
// and a message box to show, as another part of a program would ask for one. The request is made
// with new and posted to the frame as kMessage with the request in lParam; the frame takes it
// over, shows the box with ShowMessageBox on its UI thread and deletes the request. The poster
// deletes it only when the post fails.
#pragma once

#include <optional>

#include "platform/kernel/CString.h"
#include "platform/user/WinUser.h"

inline constexpr const wchar_t* kGalleryWindowName = L"Gallery";

struct GalleryMessageBoxRequest {
    static constexpr UINT kMessage = WM_APP + 1;

    UINT type = 0;
    CString text;
    std::optional<CString> caption; // none: a NULL caption, the application's name
};
