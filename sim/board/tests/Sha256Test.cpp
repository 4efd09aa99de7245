#include <string>

#include <gtest/gtest.h>

#include "sim/board/Sha256.h"

namespace {

// Digests from FIPS 180-4's examples and the common test vectors, across the padding
// boundaries (55, 56 and 64 bytes need one or two final blocks).
TEST(Sha256Test, KnownDigests) {
    const struct {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            Sha256::Hex(reinterpret_cast<const std::uint8_t*>(c.input.data()), c.input.size()),
            c.digest)
            << c.input.size() << " bytes";
}

TEST(Sha256Test, PiecewiseUpdatesGiveTheSameDigest) {
    const std::string input(1000, 'x');
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.data());
    Sha256 whole;
    whole.Update(bytes, input.size());
    Sha256 pieces;
    for (std::size_t at = 0, step = 1; at < input.size(); at += step, step = step * 2 + 1)
        pieces.Update(bytes + at, std::min(step, input.size() - at));
    EXPECT_EQ(whole.Finish(), pieces.Finish());
}

} // namespace
