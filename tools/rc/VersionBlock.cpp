#include "tools/rc/VersionBlock.h"

#include <stdexcept>

namespace {
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedStructVersion = 0x00010000;
constexpr std::uint16_t kFixedSize = 13 * 4;
} // namespace

std::vector<std::uint8_t> VersionBlock::Build(const Fixed& fixed,
                                              const std::vector<Node>& children) {
    std::vector<std::uint8_t> out;
    VersionBlock writer(out);
    writer.Word(0); // wLength, patched below
    writer.Word(kFixedSize);
    writer.Word(0); // binary
    writer.Utf16(U"VS_VERSION_INFO");
    writer.Align();
    for (std::uint32_t v :
         {kFixedSignature, kFixedStructVersion, fixed.fileVersionMS, fixed.fileVersionLS,
          fixed.productVersionMS, fixed.productVersionLS, fixed.fileFlagsMask, fixed.fileFlags,
          fixed.fileOS, fixed.fileType, fixed.fileSubtype, 0u, 0u}) {
        writer.Dword(v);
    }
    for (const Node& child : children) {
        writer.Align();
        writer.WriteNode(child);
    }
    writer.Patch(0, out.size());
    return out;
}

void VersionBlock::WriteNode(const Node& node) {
    const std::size_t start = m_out.size();
    const bool isBlock = !node.isValue;
    Word(0);
    std::uint16_t valueLength = 0;
    if (!isBlock) {
        // Text values count characters with the terminating null; binary ones count bytes.
        valueLength = node.isText ? std::uint16_t(0) : std::uint16_t(node.words.size() * 2);
    }
    const std::size_t valueLengthAt = m_out.size();
    Word(valueLength);
    Word(node.isText ? 1 : 0);
    Utf16(node.key);
    Align();
    if (!isBlock) {
        if (node.isText) {
            const std::size_t before = m_out.size();
            Utf16(node.text);
            Patch(valueLengthAt, (m_out.size() - before) / 2);
        } else {
            for (std::uint16_t w : node.words) {
                Word(w);
            }
        }
    }
    for (const Node& child : node.children) {
        Align();
        WriteNode(child);
    }
    Patch(start, m_out.size() - start);
}

void VersionBlock::Word(std::uint16_t value) {
    m_out.push_back(std::uint8_t(value & 0xFF));
    m_out.push_back(std::uint8_t(value >> 8));
}

void VersionBlock::Dword(std::uint32_t value) {
    Word(std::uint16_t(value & 0xFFFF));
    Word(std::uint16_t(value >> 16));
}

void VersionBlock::Utf16(const std::u32string& text) {
    for (char32_t cp : text) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            Word(std::uint16_t(0xD800 + (cp >> 10)));
            Word(std::uint16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            Word(std::uint16_t(cp));
        }
    }
    Word(0);
}

void VersionBlock::Align() {
    while (m_out.size() % 4 != 0) {
        m_out.push_back(0);
    }
}

void VersionBlock::Patch(std::size_t at, std::size_t value) {
    if (value > 0xFFFF) {
        throw std::length_error("version block longer than 65535 bytes");
    }
    m_out[at] = std::uint8_t(value & 0xFF);
    m_out[at + 1] = std::uint8_t(value >> 8);
}
