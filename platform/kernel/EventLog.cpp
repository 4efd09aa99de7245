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
    for (const auto& [id, listener] : m_listeners)
        listener(m_entries.back());
}

std::uint64_t EventLog::AddListener(Listener listener) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Entry& e : m_entries)
        listener(e);
    const std::uint64_t id = m_nextListener++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void EventLog::RemoveListener(std::uint64_t id) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listeners.erase(id);
}

std::vector<EventLog::Entry> EventLog::Since(std::uint64_t afterSeq) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Entry> out;
    for (const Entry& e : m_entries)
        if (e.seq > afterSeq)
            out.push_back(e);
    return out;
}

std::uint64_t EventLog::LastSeq() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.empty() ? 0 : m_entries.back().seq;
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
