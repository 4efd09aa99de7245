// Entries of the device's event log about windows, so that a test or a user sees which windows
// came and went and which window a key reached.
#pragma once

#include "platform/user/WindowRecord.h"

void RecordWindowEvent(const char* kind, const WindowRecord& w);
void RecordKeypadDelivery(const WindowRecord& w, WPARAM key, LPARAM repeat);
