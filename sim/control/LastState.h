// Where the most recently started simulator keeps its state: norvane-sim records its state
// directory in /tmp/norvane-<uid>/last-state, so norvane-ctl finds it without --state. The
// environment variable NORVANE_LAST_STATE moves the record to another file, or, empty, turns it
// off.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

class LastState {
public:
    // The record's file; empty when no record is kept.
    static std::filesystem::path RecordFile();
    // The recorded state directory, when there is one.
    static std::optional<std::filesystem::path> Read();
    // Records stateDir (atomically). Empty on success, else the error.
    static std::string Write(const std::filesystem::path& stateDir);
    // Removes the record when it still names stateDir.
    static void ForgetIfCurrent(const std::filesystem::path& stateDir);
};
