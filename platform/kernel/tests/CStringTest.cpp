// The device's wide string formatting: the argument kinds of %s, %S, %c and %C (with their h,
// l and w size prefixes) as the device's C library reads them in a wide format.
#include <gtest/gtest.h>

#include "platform/kernel/CString.h"

namespace {

TEST(CStringFormat, StringAndCharacterConversionsTakeTheDevicesArgumentKinds) {
    const auto format = [](const wchar_t* pattern, auto... args) {
        CString text;
        text.Format(pattern, args...);
        return text.Str();
    };
    EXPECT_EQ(format(L"[%s|%5s|%-3s]", L"確定", L"ab", L"x"), L"[確定|   ab|x  ]");
    EXPECT_EQ(format(L"[%ls|%ws]", L"取消", L"中斷"), L"[取消|中斷]");
    EXPECT_EQ(format(L"[%S|%hs|%4S]", "narrow", "short", "ab"), L"[narrow|short|  ab]");
    EXPECT_EQ(format(L"[%c%c]", L'確', L'定'), L"[確定]");
    EXPECT_EQ(format(L"[%lc|%wc|%3c]", L'是', L'否', L'x'), L"[是|否|  x]");
    EXPECT_EQ(format(L"[%C|%hc]", int('O'), int('K')), L"[O|K]");
    EXPECT_EQ(format(L"%d%% %02d:%02d %ld %x", 50, 7, 5, 123456L, 0xABu), L"50% 07:05 123456 ab");
}

} // namespace
