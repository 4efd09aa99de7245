// The device's UTF-16 text as bytes between programs: encoding with its terminator, and decoding
// bounded by the byte count whatever the bytes hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel/CodePage.h"

namespace {

TEST(Utf16Le, EncodesUnitsLittleEndianWithSurrogatePairsAndATerminator) {
    EXPECT_EQ(WideToUtf16Le(L"A確"), (std::vector<BYTE>{0x41, 0, 0xBA, 0x78, 0, 0}));
    EXPECT_EQ(WideToUtf16Le(L"\U0001F600"), (std::vector<BYTE>{0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
    EXPECT_EQ(WideToUtf16Le(L""), (std::vector<BYTE>{0, 0}));
}

TEST(Utf16Le, DecodesUpToTheTerminatorOrTheLastWholeUnitOfTheCount) {
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        std::size_t count;
        std::wstring text;
    };
    const Case cases[] = {
        {"ends at the terminator", {0x41, 0, 0, 0, 0x42, 0}, 6, L"A"},
        {"no terminator inside the count", {0x41, 0, 0x42, 0, 0x43, 0}, 4, L"AB"},
        {"odd count leaves the half unit", {0x41, 0, 0x42, 0}, 3, L"A"},
        {"count 0 with data", {0x41, 0}, 0, L""},
        {"surrogate pair", {0x3D, 0xD8, 0x00, 0xDE}, 4, L"\U0001F600"},
        {"pair cut by the count", {0x3D, 0xD8, 0x00, 0xDE}, 2, L"\uFFFD"},
        {"lone low surrogate", {0x00, 0xDE, 0x41, 0}, 4, L"\uFFFDA"},
        {"high surrogate before a letter", {0x3D, 0xD8, 0x41, 0}, 4, L"\uFFFDA"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf16LeToWide(c.bytes.data(), c.count), c.text) << c.what;
    EXPECT_EQ(Utf16LeToWide(nullptr, 8), L"");
}

TEST(Utf16Le, DecodingInvertsEncoding) {
    const std::wstring text = L"Zentra 確定 \U0001F600";
    const std::vector<BYTE> bytes = WideToUtf16Le(text);
    EXPECT_EQ(Utf16LeToWide(bytes.data(), bytes.size()), text);
}

} // namespace
