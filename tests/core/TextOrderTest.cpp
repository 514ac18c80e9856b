#include "core/text/TextOrder.h"

#include <gtest/gtest.h>
#include <unicode/coll.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace ketrilo {
namespace {

// Accents, full-width and half-width forms, kana of both kinds, kanji, digits of both
// widths, padded numbers and the case of letters.
const std::vector<std::string> Names = {
    "file",     "file9",    "file10",   "File9",  "ｆｉｌｅ",  "Ｆｉｌｅ", "ﾌｧｲﾙ",
    "ファイル", "ふぁいる", "été",      "Été",    "ete",       "etf",      "Ete",
    "zebra",    "Ångström", "angstrom", "     9", "    10",    "１０",     "９",
    "10",       "9",        "あ",       "ア",     "亜",        "a b",      "a-b",
    "ab",       "naïve",    "naive",    "Zebra",  "ｚｅｂｒａ"};

std::vector<std::string> SortedByKey(const TextOrder& order) {
    std::vector<std::string> names = Names;
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return order.Key(a) < order.Key(b);
    });
    return names;
}

icu::UnicodeString Unicode(const std::string& text) {
    return icu::UnicodeString::fromUTF8(text);
}

// For each locale, our sort is one that ICU's own collator for that locale gives: no
// neighbour is out of ICU's order. (Where ICU finds two names equal, as the Japanese order
// does for the widths and for hiragana and katakana, the text's bytes decide.)
TEST(TextOrder, SortsAsIcuDoesForJapaneseAndEnglish) {
    for (const char* locale : {"ja_JP", "en_US"}) {
        UErrorCode status = U_ZERO_ERROR;
        const std::unique_ptr<icu::Collator> icu(
            icu::Collator::createInstance(icu::Locale(locale), status));
        ASSERT_TRUE(U_SUCCESS(status)) << locale;
        const std::vector<std::string> sorted = SortedByKey(TextOrder(locale));
        for (size_t i = 1; i < sorted.size(); ++i) {
            EXPECT_NE(icu->compare(Unicode(sorted[i - 1]), Unicode(sorted[i]), status),
                      UCOL_GREATER)
                << locale << ": " << sorted[i - 1] << " | " << sorted[i];
        }
    }
}

TEST(TextOrder, KeepsWhatTheColumnsRelyOn) {
    const TextOrder english("en_US");
    const auto before = [&](const std::string& a, const std::string& b) {
        return english.Compare(a, b) < 0 && english.Compare(b, a) > 0;
    };
    EXPECT_TRUE(before("     9", "    10")); // right-aligned numbers by value
    EXPECT_TRUE(before("a b", "a-b"));       // blanks first, never ignored
    EXPECT_TRUE(before("a-b", "a0"));        // punctuation before digits
    EXPECT_TRUE(before("file10", "file9"));  // names are texts, not numbers
    EXPECT_TRUE(before("file9", "File9"));   // letter case counts
    EXPECT_TRUE(before("ete", "été"));       // an accent sorts with its letter
    EXPECT_TRUE(before("été", "etf"));
    EXPECT_TRUE(before("abc", "abcd"));
    EXPECT_TRUE(before("zebra", "あ"));
    // Texts the collation cannot tell apart are still not equal: not UTF-8, or an
    // ignorable control character.
    EXPECT_TRUE(before("a\xEF\xBF\xBD", "a\xFF"));
    EXPECT_TRUE(before("a\x01"
                       "b",
                       "ab"));
    EXPECT_EQ(english.Compare("same", "same"), 0);
    // Full-width letters and half-width kana sort beside their usual forms.
    const std::vector<std::string> japanese = SortedByKey(TextOrder("ja_JP"));
    const auto at = [&](const std::string& name) {
        return std::find(japanese.begin(), japanese.end(), name) - japanese.begin();
    };
    EXPECT_EQ(std::abs(at("file") - at("ｆｉｌｅ")), 1);
    EXPECT_LT(std::abs(at("ファイル") - at("ﾌｧｲﾙ")), 3);
}

// A sort computes its keys on several threads: each must be the key of its own text.
TEST(TextOrder, KeysOnSeveralThreadsAreEachTextsKey) {
    const TextOrder order("ja_JP");
    std::vector<std::string> texts;
    for (int i = 0; i < 20000; ++i)
        texts.push_back((i % 3 == 0 ? "\xE3\x81\x82" : "file") + std::to_string(i * 7919 % 20000));
    const std::vector<std::string> keys =
        order.Keys(texts.size(), [&](size_t i) -> std::string_view { return texts[i]; });
    ASSERT_EQ(keys.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(keys[i], order.Key(texts[i])) << texts[i];
}

TEST(TextOrder, TheUsersLocaleComesFromTheEnvironment) {
    const auto localeWith = [](const char* all, const char* collate, const char* lang) {
        const auto set = [](const char* name, const char* value) {
            value != nullptr ? setenv(name, value, 1) : unsetenv(name);
        };
        set("LC_ALL", all);
        set("LC_COLLATE", collate);
        set("LANG", lang);
        return CollationLocale();
    };
    EXPECT_EQ(localeWith(nullptr, nullptr, "ja_JP.UTF-8"), "ja_JP");
    EXPECT_EQ(localeWith(nullptr, "de_DE@euro", "ja_JP.UTF-8"), "de_DE");
    EXPECT_EQ(localeWith("en_US.UTF-8", "de_DE", "ja_JP"), "en_US");
    EXPECT_EQ(localeWith("", "", "C.UTF-8"), "");
    EXPECT_EQ(localeWith(nullptr, nullptr, nullptr), "");
    unsetenv("LANG");
}

} // namespace
} // namespace ketrilo
