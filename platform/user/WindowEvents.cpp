#include "platform/user/WindowEvents.h"

#include "platform/kernel/CString.h"
#include "platform/kernel/EventLog.h"

namespace {

nlohmann::json Describe(const WindowRecord& w) {
    return nlohmann::json{{"hwnd", reinterpret_cast<std::uintptr_t>(w.hwnd)},
                          {"class", CString(w.className).ToUtf8()},
                          {"id", w.id},
                          {"text", CString(w.text).ToUtf8()}};
}

} // namespace

void RecordWindowEvent(const char* kind, const WindowRecord& w) {
    EventLog::Instance().Record(kind, Describe(w));
}

void RecordKeypadDelivery(const WindowRecord& w, WPARAM key, LPARAM repeat) {
    nlohmann::json fields = Describe(w);
    fields.erase("text");
    fields["key"] = key;
    fields["repeat"] = repeat;
    EventLog::Instance().Record("keypad.delivered", std::move(fields));
}
