#include "FormFields.h"

#include <gtest/gtest.h>

namespace rowstone::service {
namespace {

TEST(FormFields, DecodesEscapesAndBlanks) {
    FormFields fields;
    ASSERT_TRUE(fields.Decode("name=a+b%26c%3Dd%2B&ses=k%25&empty=&bare"));
    EXPECT_EQ(fields.Text("name"), "a b&c=d+");
    EXPECT_EQ(fields.Text("ses"), "k%");
    EXPECT_EQ(fields.Text("empty"), "");
    EXPECT_EQ(fields.Text("bare"), "");
    EXPECT_FALSE(fields.Text("missing"));
}

TEST(FormFields, RefusesMalformedBodies) {
    for (const char* body : {"a=%", "a=%4", "a=%zz", "a=1&a=2"}) {
        FormFields fields;
        EXPECT_FALSE(fields.Decode(body)) << body;
    }
    std::string many;
    for (size_t i = 0; i <= FormFields::kMaxFields; ++i) {
        many += "k" + std::to_string(i) + "=1&";
    }
    FormFields fields;
    EXPECT_FALSE(fields.Decode(many));
}

TEST(FormFields, ReadsOnlyWholeNumbersInRange) {
    FormFields fields;
    ASSERT_TRUE(fields.Decode("a=12&b=-3&c=12abc&d=&e=%2B7&f=99999999999999999999"));
    EXPECT_EQ(fields.Integer("a", 0, 100), 12);
    EXPECT_EQ(fields.Integer("b", -3, 1), -3);
    EXPECT_FALSE(fields.Integer("b", 0, 1));
    EXPECT_FALSE(fields.Integer("c", 0, 100));
    EXPECT_FALSE(fields.Integer("d", 0, 100));
    EXPECT_EQ(fields.Integer("e", 0, 100), 7);
    EXPECT_FALSE(fields.Integer("f", 0, INT64_MAX));
}

} // namespace
} // namespace rowstone::service
