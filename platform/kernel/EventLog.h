// The device's event log: what happened on the device and when, in device time (a window was
// created, a process started, a key was posted, ...). The simulator's control socket serves it
// so that tests and users can see what the launcher did without looking inside it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
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

    // Called with each entry as it is recorded, on the recording thread and in order; it must not
    // record into the log itself.
    using Listener = std::function<void(const Entry&)>;

    static EventLog& Instance();

    void Record(std::string kind, nlohmann::json fields = nlohmann::json::object());
    // Hands the listener every entry still held, then each new one, with none missed or doubled
    // in between; the number returned takes it off again.
    std::uint64_t AddListener(Listener listener);
    void RemoveListener(std::uint64_t id);
    // Entries with a sequence number above afterSeq, oldest first.
    std::vector<Entry> Since(std::uint64_t afterSeq = 0) const;
    // The sequence number of the newest entry, 0 before the first: a mark to read on from.
    std::uint64_t LastSeq() const;
    void Clear();

    static nlohmann::json ToJson(const Entry& entry);

private:
    // The oldest entries are dropped past this many, so a long run cannot grow without bound.
    static constexpr std::size_t kMaxEntries = 100000;

    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    std::uint64_t m_nextSeq = 1;
    std::map<std::uint64_t, Listener> m_listeners;
    std::uint64_t m_nextListener = 1;
};
