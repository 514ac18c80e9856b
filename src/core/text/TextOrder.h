#pragma once
// The order of texts that the desktop's file manager uses: ICU's collation for a locale,
// kept case-sensitive, with blanks and punctuation never ignored (so they sort before
// digits), and with only identical texts equal.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ketrilo {

class TextOrder {
public:
    // locale as ICU names it ("ja_JP", "en_US"); "" is the language-neutral root order.
    explicit TextOrder(const std::string& locale);
    ~TextOrder();
    TextOrder(const TextOrder&) = delete;
    TextOrder& operator=(const TextOrder&) = delete;

    // Bytes whose plain comparison (std::string's) is this order: the collation key of the
    // UTF-8 text, then the text itself, which settles texts the collation finds equal (a
    // byte that is not UTF-8 collates as U+FFFD). Computing a key costs about as much as
    // a few comparisons: a sort computes one per row.
    [[nodiscard]] std::string Key(std::string_view text) const;
    // The keys of count texts, text(i) the i-th, computed on several threads.
    [[nodiscard]] std::vector<std::string>
    Keys(size_t count, const std::function<std::string_view(size_t)>& text) const;

    // Negative, zero or positive as a sorts before, equal to or after b.
    [[nodiscard]] int Compare(std::string_view a, std::string_view b) const;

private:
    struct Collation;
    std::unique_ptr<Collation> m_collation;
};

// The locale whose order the user's names follow: LC_ALL, else LC_COLLATE, else LANG, with
// the encoding and modifier cut off ("ja_JP.UTF-8" gives "ja_JP"); "" for C and POSIX.
[[nodiscard]] std::string CollationLocale();

// The order for CollationLocale(), made once.
[[nodiscard]] const TextOrder& UserTextOrder();

} // namespace ketrilo
