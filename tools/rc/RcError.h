// A fault in a resource script, reported as "file:line: error: message" so that editors and
// build logs lead straight to the line.
#pragma once

#include <stdexcept>
#include <string>

class RcError : public std::runtime_error {
public:
    RcError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + ":" + std::to_string(line) + ": error: " + message),
          m_file(file), m_line(line) {}

    const std::string& File() const { return m_file; }
    int Line() const { return m_line; }

private:
    std::string m_file;
    int m_line;
};
