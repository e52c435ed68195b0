// UTF-8 and the program's UTF-16: well-formed text decodes as itself, and
// every malformed form (overlong, encoded surrogates, past U+10FFFF, cut
// short, stray bytes) keeps its bytes as U+DC80..U+DCFF and comes back exact.
#include <gtest/gtest.h>

#include <string>

#include "platform/text_encoding.h"

namespace {

TEST(TextEncoding, DecodesWhatIsWellFormedAndCarriesTheRestAsItsBytes) {
    struct Row {
        const char* what;
        std::string bytes;
        std::u16string units;
    };
    const Row rows[] = {
        {"ASCII", "/games/fish", u"/games/fish"},
        {"two bytes", "caf\xC3\xA9", u"caf\u00E9"},
        {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
        {"the last before surrogates", "\xED\x9F\xBF", u"\uD7FF"},
        {"the first after surrogates", "\xEE\x80\x80", u"\uE000"},
        {"four bytes", "\xF0\x9F\x90\x9F", u"\U0001F41F"},
        {"the last code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"U+FFFD itself", "\xEF\xBF\xBD", u"\uFFFD"},
        {"overlong NUL", "ab\xC0\x80" "cd", u"ab\xDCC0\xDC80" "cd"},
        {"overlong slash, two bytes", "\xC1\xAF", u"\xDCC1\xDCAF"},
        {"overlong slash, three bytes", "\xE0\x80\xAF", u"\xDCE0\xDC80\xDCAF"},
        {"overlong, four bytes", "\xF0\x8F\xBF\xBF", u"\xDCF0\xDC8F\xDCBF\xDCBF"},
        {"encoded high surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
        {"encoded low surrogate", "\xED\xBF\xBF", u"\xDCED\xDCBF\xDCBF"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
        {"F5 lead", "\xF5\x80\x80\x80", u"\xDCF5\xDC80\xDC80\xDC80"},
        {"five-byte form", "\xF8\x88\x80\x80\x80", u"\xDCF8\xDC88\xDC80\xDC80\xDC80"},
        {"Latin-1", "caf\xE9", u"caf\xDCE9"},
        {"byte FF", "x\xFF", u"x\xDCFF"},
        {"lone continuation", "\x80", u"\xDC80"},
        {"cut short at the end", "x\xE2\x82", u"x\xDCE2\xDC82"},
        {"cut short before ASCII", "\xE2\x82y", u"\xDCE2\xDC82y"},
        {"cut short before a lead", "\xC3\xC3\xA9", u"\xDCC3\u00E9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(plat::fromUtf8(row.bytes), row.units);
        EXPECT_EQ(plat::toUtf8(row.units.c_str()), row.bytes);
    }
}

TEST(TextEncoding, SurrogatesThatCarryNoByteBecomeTheReplacementCharacter) {
    EXPECT_EQ(plat::toUtf8(u"a\xD800" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(plat::toUtf8(u"\xDC7F"), "\xEF\xBF\xBD");
    EXPECT_EQ(plat::toUtf8(u"\xDD00"), "\xEF\xBF\xBD");
    EXPECT_EQ(plat::toUtf8(u"\xD83D"), "\xEF\xBF\xBD");
    EXPECT_EQ(plat::toUtf8(nullptr), "");
}

}  // namespace
