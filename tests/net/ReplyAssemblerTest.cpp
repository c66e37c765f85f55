#include "ReplyAssembler.h"

#include <gtest/gtest.h>

#include <string>

namespace rowstone {
namespace {

// However the network splits a body, the chunk rule gives the same text.
class ReplyPieces : public testing::TestWithParam<std::size_t> {};

TEST_P(ReplyPieces, NulCutsOnlyTheRestOfItsOwnChunk) {
    constexpr std::size_t chunk = 8;
    const std::string body = std::string("1&a=b\0xx", 8) + "cdefgh" + std::string("\0\0", 2) +
                             "ijkl" + std::string("\0", 1);
    ReplyAssembler reply(chunk, 1024);
    for (std::size_t at = 0; at < body.size(); at += GetParam()) {
        const std::string piece = body.substr(at, GetParam());
        ASSERT_TRUE(reply.Append(piece.data(), piece.size()));
    }
    EXPECT_EQ(reply.Text(), "1&a=bcdefghijkl");
}

INSTANTIATE_TEST_SUITE_P(PieceSizes, ReplyPieces, testing::Values(1, 3, 7, 8, 9, 64));

TEST(ReplyAssembler, RefusesABodyBeyondItsLimit) {
    ReplyAssembler reply(4096, 10);
    EXPECT_TRUE(reply.Append("1&abcdefg", 9));
    EXPECT_TRUE(reply.Append("h", 1));
    EXPECT_FALSE(reply.Append("i", 1));
    EXPECT_EQ(reply.Text(), "1&abcdefgh");
}

} // namespace
} // namespace rowstone
