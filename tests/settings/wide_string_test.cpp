// WideString: the decimal reading of score texts with its 32-bit wrap, the
// bounds of charAt, setCharAt and substring, case mapping, copying and comparing.
#include "settings/wide_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <string>

namespace {

std::u16string textOf(const WideString& value) { return std::u16string(value.text()); }

TEST(WideStringDecimal, ReadsEveryUnitAsADecimalPlace) {
    struct Case {
        const char16_t* text;
        int32_t expected;
    };
    const Case cases[] = {
        {u"123", 123},        {u"-45", -45},   {u"1a2", 102},  {u"12 ", 120}, {u" 12", 12},
        {u"4-5", -405},       {u"abc", 0},     {u"-", 0},      {u"", 0},      {u"0", 0},
        {u"-0", 0},           {u"007", 7},     {u"7  ", 700},  {u"--3", -3},  {u"2147483647", INT32_MAX},
        {u"-2147483648", INT32_MIN},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(WideString(cases[i].text).decimalValue(), cases[i].expected) << "case " << i;
    }
}

TEST(WideStringDecimal, WrapsAroundModulo2To32) {
    EXPECT_EQ(WideString(u"2147483648").decimalValue(), INT32_MIN);
    EXPECT_EQ(WideString(u"4294967295").decimalValue(), -1);
    EXPECT_EQ(WideString(u"4294967296").decimalValue(), 0);
    EXPECT_EQ(WideString(u"99999999999").decimalValue(), 1215752191);
    EXPECT_EQ(WideString(u"12345678901").decimalValue(), -539222987);
    EXPECT_EQ(WideString(u"-4294967295").decimalValue(), 1);
    // 10 to the 39th is a multiple of 2^32: the leading 1 vanishes entirely.
    EXPECT_EQ(WideString(u"1000000000000000000000000000000000000005").decimalValue(), 5);
}

TEST(WideStringDecimal, PowerRaisesToExponentPlusOne) {
    EXPECT_EQ(WideString::power(-1, 10), 1);
    EXPECT_EQ(WideString::power(0, 10), 10);
    EXPECT_EQ(WideString::power(2, 10), 1000);
    EXPECT_EQ(WideString::power(9, 10), 1410065408);  // 10^10 modulo 2^32
    EXPECT_EQ(WideString::power(1, -3), 9);
    EXPECT_EQ(WideString::power(-1, 0), 1);
}

TEST(WideStringAccess, CharAtGivesZeroOutsideTheText) {
    const WideString value(u"abc");
    EXPECT_EQ(value.length(), 3);
    EXPECT_EQ(value.charAt(0), u'a');
    EXPECT_EQ(value.charAt(2), u'c');
    EXPECT_EQ(value.charAt(3), 0);
    EXPECT_EQ(value.charAt(-1), 0);
    EXPECT_EQ(value.charAt(4), 0);
    EXPECT_EQ(value.charAt(INT32_MIN), 0);
    EXPECT_EQ(value.charAt(INT32_MAX), 0);
}

TEST(WideStringAccess, SetCharAtChangesOnlyUnitsInsideTheText) {
    WideString value(u"abc");
    value.setCharAt(1, u'X');
    EXPECT_EQ(textOf(value), u"aXc");
    value.setCharAt(3, u'Y');   // the terminator stays
    value.setCharAt(-1, u'Y');
    value.setCharAt(100, u'Y');
    EXPECT_EQ(textOf(value), u"aXc");
    EXPECT_EQ(value.length(), 3);
}

TEST(WideStringAccess, SubstringChecksItsBounds) {
    const WideString value(u"hello");
    auto whole = value.substring(0, 5);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(std::u16string(whole.get()), u"hello");
    auto middle = value.substring(1, 3);
    ASSERT_NE(middle, nullptr);
    EXPECT_EQ(std::u16string(middle.get()), u"el");
    auto last = value.substring(4, 5);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(std::u16string(last.get()), u"o");

    EXPECT_EQ(value.substring(2, 2), nullptr);
    EXPECT_EQ(value.substring(3, 1), nullptr);
    EXPECT_EQ(value.substring(-1, 1), nullptr);
    EXPECT_EQ(value.substring(0, 6), nullptr);
    EXPECT_EQ(value.substring(5, 6), nullptr);
    EXPECT_EQ(WideString().substring(0, 0), nullptr);
    EXPECT_EQ(WideString().substring(0, 1), nullptr);
}

TEST(WideStringCase, MapsOnlyTheAsciiLetters) {
    WideString upper(u"xyz");
    upper.toUpper();
    EXPECT_EQ(textOf(upper), u"XYZ");

    WideString lower(u"A-Z");
    lower.toLower();
    EXPECT_EQ(textOf(lower), u"a-z");

    // The neighbours of the letter ranges and anything above 0x7F stay as they are.
    WideString edges(u"@[`{\u00C9\u00E9\u0100Az");
    edges.toUpper();
    EXPECT_EQ(textOf(edges), u"@[`{\u00C9\u00E9\u0100AZ");
    edges.toLower();
    EXPECT_EQ(textOf(edges), u"@[`{\u00C9\u00E9\u0100az");
}

TEST(WideStringText, AssignAndAppendHoldWholeTexts) {
    WideString value(u"0");
    const char16_t* twenty = u"12345678901234567890";
    EXPECT_EQ(std::u16string(value.assign(twenty)), twenty);
    EXPECT_EQ(value.length(), 20);
    EXPECT_EQ(value.decimalValue(), WideString(twenty).decimalValue());

    EXPECT_EQ(std::u16string(value.append(u"ab")), u"12345678901234567890ab");
    EXPECT_EQ(value.length(), 22);

    // Assigning or appending the held text itself.
    value.assign(u"xy");
    value.append(value.text());
    EXPECT_EQ(textOf(value), u"xyxy");
    value.assign(value.text() + 2);
    EXPECT_EQ(textOf(value), u"xy");

    value.assign(nullptr);
    EXPECT_EQ(textOf(value), u"");
    EXPECT_EQ(textOf(WideString()), u"");
    EXPECT_EQ(WideString().length(), 0);
}

TEST(WideStringText, CopiesAreIndependent) {
    WideString original(u"abc");
    WideString copy(original);
    copy.setCharAt(0, u'z');
    EXPECT_EQ(textOf(original), u"abc");
    EXPECT_EQ(textOf(copy), u"zbc");

    WideString assigned;
    assigned = original;
    original.append(u"d");
    EXPECT_EQ(textOf(assigned), u"abc");
}

TEST(WideStringText, EqualsComparesTheWholeText) {
    const WideString value(u"abc");
    EXPECT_EQ(value.equals(u"abc"), 1);
    EXPECT_EQ(value.equals(u"abcd"), 0);
    EXPECT_EQ(value.equals(u"ab"), 0);
    EXPECT_EQ(value.equals(u"abC"), 0);
    EXPECT_EQ(value.equals(WideString(u"abc")), 1);
    EXPECT_EQ(value.equals(WideString(u"abcd")), 0);
    EXPECT_EQ(WideString().equals(u""), 1);
    EXPECT_EQ(value.equals(nullptr), 0);
}

}  // namespace
