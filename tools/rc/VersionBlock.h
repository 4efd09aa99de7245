// Builds the platform's binary version resource (VS_VERSIONINFO): nested blocks of
// {wLength, wValueLength, wType, UTF-16 key, padding, value, padding, children}, each aligned
// to 32 bits, with the fixed file information (VS_FIXEDFILEINFO) as the root's value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class VersionBlock {
public:
    struct Fixed {
        std::uint32_t fileVersionMS = 0, fileVersionLS = 0;
        std::uint32_t productVersionMS = 0, productVersionLS = 0;
        std::uint32_t fileFlagsMask = 0, fileFlags = 0, fileOS = 0, fileType = 0, fileSubtype = 0;
    };
    // A BLOCK (children, no value) or a VALUE (text, or a list of 16-bit words).
    struct Node {
        std::u32string key;
        bool isValue = false;
        bool isText = true;
        std::u32string text;
        std::vector<std::uint16_t> words;
        std::vector<Node> children;
    };

    // Throws std::length_error when a block outgrows its 16-bit length.
    static std::vector<std::uint8_t> Build(const Fixed& fixed, const std::vector<Node>& children);

private:
    explicit VersionBlock(std::vector<std::uint8_t>& out) : m_out(out) {}
    void Word(std::uint16_t value);
    void Dword(std::uint32_t value);
    void Utf16(const std::u32string& text); // with the terminating null
    void Align();
    void Patch(std::size_t at, std::size_t value);
    void WriteNode(const Node& node);

    std::vector<std::uint8_t>& m_out;
};
