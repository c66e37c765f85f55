#include "LoginResult.h"

#include <gtest/gtest.h>

#include <string>

namespace rowstone {
namespace {

struct LoginCase {
    const char* name;
    std::string tail;
    LoginResult expected;
};

class LoginReply : public testing::TestWithParam<LoginCase> {};

TEST_P(LoginReply, ValuesAreTakenByPosition) {
    EXPECT_EQ(ParseLoginResult(GetParam().tail), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, LoginReply,
    testing::Values(
        LoginCase{"FourPairs", "id=7&ex=ann&pt=120&ses=Zk3q9", {7, "ann", 120, "Zk3q9"}},
        LoginCase{"KeysAreNotExamined", "a=7&b=ann&c=120&d=Zk3q9", {7, "ann", 120, "Zk3q9"}},
        LoginCase{"SessionKeyWithSeparatorsStaysWhole",
                  "id=7&ex=ann&pt=120&ses=k&e=y=&z",
                  {7, "ann", 120, "k&e=y=&z"}},
        LoginCase{"SinglePairIsTheSessionKey", "ses=abc", {0, "", 0, "abc"}},
        LoginCase{"EmptyTail", "", {0, "", 0, ""}},
        LoginCase{"NumbersReadLikeReplyNumbers", "id=12abc&ex=&pt=-5x&ses=", {12, "", -5, ""}},
        LoginCase{"NumberBeyond32Bits", "id=99999999999&ex=e&pt=1&ses=s", {INT32_MAX, "e", 1, "s"}},
        LoginCase{"ChineseExtra", "id=3&ex=张三&pt=20&ses=s", {3, "张三", 20, "s"}},
        LoginCase{"TwoPairs", "id=7&ses=s", {7, "", 0, "s"}},
        LoginCase{"ThreePairs", "id=7&ex=ann&ses=s", {7, "ann", 0, "s"}}),
    [](const testing::TestParamInfo<LoginCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace rowstone
