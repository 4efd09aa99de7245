#include "platform/kernel/CString.h"
#include "platform/kernel/Resources.h"

// Loads from the framework's resource module, as the platform's CString::LoadString does; the
// string keeps its old text when the id has no entry.
BOOL CString::LoadString(UINT id) {
    const std::optional<std::wstring_view> text = FindStringResource(AfxGetResourceHandle(), id);
    if (!text) {
        return FALSE;
    }
    m_text.assign(text->begin(), text->end());
    return TRUE;
}
