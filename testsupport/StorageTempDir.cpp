#include "testsupport/StorageTempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

StorageTempDir::StorageTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "norvane-storage-XXXXXX");
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    // Canonical, so that paths the storage resolves compare equal to paths built here.
    m_path = std::filesystem::canonical(pattern);
}

StorageTempDir::~StorageTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::filesystem::path StorageTempDir::Write(const std::filesystem::path& relative,
                                            const std::string& text) const {
    const std::filesystem::path file = m_path / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

std::string StorageTempDir::Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
