// A fresh host folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

class StorageTempDir {
public:
    StorageTempDir();
    ~StorageTempDir();
    StorageTempDir(const StorageTempDir&) = delete;
    StorageTempDir& operator=(const StorageTempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes text to a file under the folder, making its folders; returns the file's path.
    std::filesystem::path Write(const std::filesystem::path& relative,
                                const std::string& text) const;
    static std::string Read(const std::filesystem::path& file);

private:
    std::filesystem::path m_path;
};
