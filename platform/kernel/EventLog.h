// The device's event log: what happened on the device and when, in device time (a window was
// created, a process started, a key was posted, ...). The simulator's control socket serves it
// so that tests and users can see what the launcher did without looking inside it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class EventLog {
public:
    struct Entry {
        std::uint64_t seq = 0;    // 1, 2, 3, ... in order of recording
        std::uint64_t timeMs = 0; // device time
        std::string kind;         // "window.created", "process.started", ...
        nlohmann::json fields;    // an object with the event's details
    };

    static EventLog& Instance();

    void Record(std::string kind, nlohmann::json fields = nlohmann::json::object());
    // Entries with a sequence number above afterSeq, oldest first.
    std::vector<Entry> Since(std::uint64_t afterSeq = 0) const;
    void Clear();

    static nlohmann::json ToJson(const Entry& entry);

private:
    // The oldest entries are dropped past this many, so a long run cannot grow without bound.
    static constexpr std::size_t kMaxEntries = 100000;

    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    std::uint64_t m_nextSeq = 1;
};
