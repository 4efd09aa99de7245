#include "platform/kernel/EventLog.h"

#include "platform/kernel/DeviceClock.h"

EventLog& EventLog::Instance() {
    static EventLog log;
    return log;
}

void EventLog::Record(std::string kind, nlohmann::json fields) {
    const std::uint64_t now = DeviceClock::Instance().NowMs();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_entries.size() >= kMaxEntries)
        m_entries.erase(m_entries.begin(), m_entries.begin() + kMaxEntries / 10);
    m_entries.push_back(Entry{m_nextSeq++, now, std::move(kind), std::move(fields)});
}

std::vector<EventLog::Entry> EventLog::Since(std::uint64_t afterSeq) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Entry> out;
    for (const Entry& e : m_entries)
        if (e.seq > afterSeq)
            out.push_back(e);
    return out;
}

void EventLog::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
}

nlohmann::json EventLog::ToJson(const Entry& entry) {
    nlohmann::json j = {{"seq", entry.seq}, {"time_ms", entry.timeMs}, {"kind", entry.kind}};
    for (auto it = entry.fields.begin(); it != entry.fields.end(); ++it)
        j[it.key()] = it.value();
    return j;
}
