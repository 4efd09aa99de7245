// The event-log entries of one kind recorded after a mark (EventLog::LastSeq), oldest first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel/EventLog.h"

inline std::vector<EventLog::Entry> EventsOfKind(const std::string& kind, std::uint64_t afterSeq) {
    std::vector<EventLog::Entry> out;
    for (const EventLog::Entry& e : EventLog::Instance().Since(afterSeq))
        if (e.kind == kind)
            out.push_back(e);
    return out;
}
