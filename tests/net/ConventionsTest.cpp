#include "FormBody.h"
#include "ReplyNumber.h"
#include "ReplyValue.h"
#include "ServiceAddress.h"
#include "ServiceConfig.h"
#include "ServicePaths.h"
#include "TypedText.h"
#include "Utf8Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace rowstone {
namespace {

namespace paths = service_paths;

TEST(ServiceAddress, JoinsBaseAndPath) {
    EXPECT_EQ(ServiceAddress("http://127.0.0.1:8765", paths::kLogin),
              "http://127.0.0.1:8765/app/pento/denglu.php");
    EXPECT_EQ(ServiceAddress("http://127.0.0.1:8765/", paths::kNews),
              "http://127.0.0.1:8765/app/pento/news.php");
}

TEST(ServiceAddress, FillsEveryPlaceholderInOrder) {
    EXPECT_EQ(ServiceAddress("http://h", paths::kRanking, {640, -480}),
              "http://h/app/pento/paiming.php?w=640&h=-480");
    EXPECT_EQ(ServiceAddress("http://h", paths::kModel, {5}),
              "http://h/app/pento/model/model_5.mod");
    EXPECT_EQ(ServiceAddress("http://h", paths::kRecharge, {INT32_MIN, 0}),
              "http://h/app/pento/chongzhi.php?idus=-2147483648&idage=0");
}

TEST(ServiceAddress, RefusesNumbersThatDoNotMatchThePlaceholders) {
    EXPECT_EQ(ServiceAddress("http://h", paths::kRanking, {640}), "");
    EXPECT_EQ(ServiceAddress("http://h", paths::kNews, {1}), "");
}

TEST(ServiceAddress, IsLimitedTo1024Bytes) {
    const std::string path = "/app/pento/news.php";
    const std::string fits = "http://" + std::string(1024 - 7 - path.size(), 'h');
    EXPECT_EQ(ServiceAddress(fits, path).size(), 1024u);
    EXPECT_EQ(ServiceAddress(fits + "h", path), "");
}

TEST(ServiceConfig, DefaultBaseAddressIsAWebAddress) {
    EXPECT_TRUE(kDefaultServiceUrl.starts_with("http://") ||
                kDefaultServiceUrl.starts_with("https://"));
}

struct EncodeCase {
    std::string text;
    std::string encoded;
};

class PercentEncoding : public testing::TestWithParam<EncodeCase> {};

TEST_P(PercentEncoding, EncodesEveryByteThatCouldChangeMeaning) {
    EXPECT_EQ(PercentEncode(GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PercentEncoding,
    testing::Values(EncodeCase{"ann", "ann"}, EncodeCase{"A-z_0.9~", "A-z_0.9~"},
                    EncodeCase{"a b", "a%20b"}, EncodeCase{"a&b=c", "a%26b%3Dc"},
                    EncodeCase{"1+1", "1%2B1"}, EncodeCase{"100%", "100%25"},
                    EncodeCase{"五", "%E4%BA%94"}, EncodeCase{"", ""},
                    EncodeCase{"a\r\nb", "a%0D%0Ab"}, EncodeCase{"/?#", "%2F%3F%23"}));

TEST(FormBody, JoinsPairsInOrderWithEveryValueEncoded) {
    const std::string body =
        FormBody().AddNumber("id", 7).AddText("ses", "k&e=y+%").AddNumber("pri", -20).Text();
    EXPECT_EQ(body, "id=7&ses=k%26e%3Dy%2B%25&pri=-20");
}

TEST(FormBody, BoardMovesKeepTheirSpacesAfterDecoding) {
    EXPECT_EQ(FormBody().AddText("data", "112 113 127 ").Text(), "data=112%20113%20127%20");
}

TEST(FormBody, EmptyBodyIsEmpty) {
    EXPECT_EQ(FormBody().Text(), "");
}

TEST(GetReplyValue, IsEverythingAfterTheFirstEquals) {
    EXPECT_EQ(GetReplyValue("id=5"), std::optional<std::string_view>("5"));
    EXPECT_EQ(GetReplyValue("a=b=jf"), std::optional<std::string_view>("b=jf"));
    EXPECT_EQ(GetReplyValue("r=ses&x=1"), std::optional<std::string_view>("ses&x=1"));
    EXPECT_EQ(GetReplyValue("id="), std::optional<std::string_view>(""));
    EXPECT_EQ(GetReplyValue("=ses"), std::optional<std::string_view>("ses"));
    EXPECT_EQ(GetReplyValue("ses"), std::nullopt);
    EXPECT_EQ(GetReplyValue(""), std::nullopt);
}

struct NumberCase {
    std::string text;
    std::int32_t value;
};

class ReplyNumberReading : public testing::TestWithParam<NumberCase> {};

TEST_P(ReplyNumberReading, ReadsLikeASignedDecimal) {
    EXPECT_EQ(ReadReplyNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReplyNumberReading,
    testing::Values(NumberCase{"120", 120}, NumberCase{"12abc", 12}, NumberCase{"", 0},
                    NumberCase{"abc", 0}, NumberCase{"-7", -7}, NumberCase{"+3", 3},
                    NumberCase{" \t\n\v\f\r42", 42}, NumberCase{"- 5", 0}, NumberCase{"+-5", 0},
                    NumberCase{"4 2", 4}, NumberCase{"0007", 7}, NumberCase{"3.9", 3},
                    NumberCase{"2147483647", INT32_MAX}, NumberCase{"2147483648", INT32_MAX},
                    NumberCase{"99999999999999999999999", INT32_MAX},
                    NumberCase{"-2147483648", INT32_MIN}, NumberCase{"-2147483649", INT32_MIN},
                    NumberCase{"-99999999999999999999999", INT32_MIN},
                    NumberCase{"\xE3\x80\x80"
                               "5",
                               5},
                    NumberCase{"\xE2\x80\x8B"
                               "5",
                               0}));

struct TrimCase {
    std::string text;
    std::string trimmed;
};

class TypedTextTrimming : public testing::TestWithParam<TrimCase> {};

TEST_P(TypedTextTrimming, DropsOnlyLeadingAndTrailingWhiteSpace) {
    EXPECT_EQ(TrimTypedText(GetParam().text), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedTextTrimming,
    testing::Values(TrimCase{"ann", "ann"}, TrimCase{"  ann\t\r\n", "ann"}, TrimCase{"a b", "a b"},
                    TrimCase{" a  b ", "a  b"}, TrimCase{"   ", ""}, TrimCase{"", ""},
                    // Ideographic space (as typed by a Chinese input method) and no-break space.
                    TrimCase{"\xE3\x80\x80张三\xC2\xA0", "张三"},
                    TrimCase{"\xE2\x80\x83x\xE2\x80\xA8", "x"},
                    // Zero width space is not white space.
                    TrimCase{"\xE2\x80\x8Bx", "\xE2\x80\x8Bx"}));

TEST(ReservedCharacters, AmpersandEqualsAndPlusAreReserved) {
    EXPECT_FALSE(ContainsReservedCharacter("ann lee"));
    EXPECT_FALSE(ContainsReservedCharacter("100%"));
    EXPECT_FALSE(ContainsReservedCharacter("张三"));
    EXPECT_FALSE(ContainsReservedCharacter(""));
    EXPECT_TRUE(ContainsReservedCharacter("a&b"));
    EXPECT_TRUE(ContainsReservedCharacter("a=b"));
    EXPECT_TRUE(ContainsReservedCharacter("a+b"));
    EXPECT_TRUE(ContainsReservedCharacter("+"));
}

TEST(ReservedCharacters, FeedbackSeparatorsBecomeBlanksButPlusStays) {
    EXPECT_EQ(BlankOutSeparators("a=b&c"), "a b c");
    EXPECT_EQ(BlankOutSeparators("1+1=2 好"), "1+1 2 好");
}

TEST(Utf8Text, MalformedSequencesAreReplaced) {
    EXPECT_EQ(utf8::MakeValid("五子棋"), "五子棋");
    EXPECT_EQ(utf8::MakeValid("a\xFF"
                              "b"),
              "a\xEF\xBF\xBD"
              "b");
    // Truncated three-byte sequence at the end.
    EXPECT_EQ(utf8::MakeValid("a\xE4\xBA"), "a\xEF\xBF\xBD");
    // Overlong encoding of "/" and an encoded surrogate.
    EXPECT_EQ(utf8::MakeValid("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(utf8::MakeValid("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(utf8::MakeValid("\xEF\xBF\xBD"), "\xEF\xBF\xBD");
}

} // namespace
} // namespace rowstone
