// A storage card and state folder of its own for one test: files written to the card are
// reached by the device path "\Storage Card\<name>".
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/kernel/DeviceStorage.h"

class TestCard {
public:
    TestCard() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "norvane-link-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        std::filesystem::create_directories(m_root / "card");
        std::filesystem::create_directories(m_root / "state");
        DeviceStorage::Configure(m_root / "state", m_root / "card");
    }
    ~TestCard() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    TestCard(const TestCard&) = delete;
    TestCard& operator=(const TestCard&) = delete;

    // Writes the bytes to the card and returns the file's device path.
    std::wstring Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(HostPath(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return L"\\Storage Card\\" + std::wstring(name.begin(), name.end());
    }
    std::filesystem::path HostPath(const std::string& name) const { return m_root / "card" / name; }

    // Bytes that differ from block to block, so a block sent at a wrong offset shows.
    static std::vector<std::uint8_t> Pattern(std::size_t size, std::uint32_t seed = 1) {
        std::vector<std::uint8_t> bytes(size);
        std::uint32_t x = seed;
        for (std::uint8_t& b : bytes) {
            x = x * 1664525u + 1013904223u;
            b = std::uint8_t(x >> 24);
        }
        return bytes;
    }

private:
    std::filesystem::path m_root;
};
