#include "core/text/TextOrder.h"

#include "core/base/ParallelShares.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <new>
#include <stdexcept>

namespace ketrilo {

struct TextOrder::Collation {
    std::unique_ptr<icu::Collator> collator;
};

TextOrder::TextOrder(const std::string& locale) : m_collation(std::make_unique<Collation>()) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale where = locale.empty() ? icu::Locale::getRoot() : icu::Locale(locale.c_str());
    m_collation->collator.reset(icu::Collator::createInstance(where, status));
    if (U_FAILURE(status) || !m_collation->collator)
        throw std::runtime_error(std::string("no collation for the locale: ") +
                                 u_errorName(status));
    // Letter case always counts; a blank or a dash is a character like any other, so that
    // right-aligned numbers (blanks, then digits) sort by value.
    m_collation->collator->setStrength(icu::Collator::TERTIARY);
    m_collation->collator->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, status);
}

TextOrder::~TextOrder() = default;

namespace {

std::string KeyBy(const icu::Collator& collator, std::string_view text) {
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    std::string key(text.size() * 2 + 16, '\0');
    int32_t length = collator.getSortKey(unicode, reinterpret_cast<uint8_t*>(key.data()),
                                         static_cast<int32_t>(key.size()));
    if (length > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<size_t>(length));
        length = collator.getSortKey(unicode, reinterpret_cast<uint8_t*>(key.data()),
                                     static_cast<int32_t>(key.size()));
    }
    // The key ends in its one zero byte, so no key's end is compared with text bytes.
    key.resize(static_cast<size_t>(length));
    key.append(text);
    return key;
}

} // namespace

std::string TextOrder::Key(std::string_view text) const {
    return KeyBy(*m_collation->collator, text);
}

std::vector<std::string>
TextOrder::Keys(size_t count, const std::function<std::string_view(size_t)>& text) const {
    std::vector<std::string> keys(count);
    RunInShares(count, 4096, [&](size_t begin, size_t end) {
        // A clone per thread shares the collation data; no thread relies on another's use
        // of one collator being safe.
        const std::unique_ptr<icu::Collator> own(m_collation->collator->clone());
        if (!own)
            throw std::bad_alloc();
        for (size_t i = begin; i < end; ++i)
            keys[i] = KeyBy(*own, text(i));
    });
    return keys;
}

int TextOrder::Compare(std::string_view a, std::string_view b) const {
    const int result = Key(a).compare(Key(b));
    return (result > 0) - (result < 0);
}

std::string CollationLocale() {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    locale = locale.substr(0, locale.find_first_of(".@"));
    return locale == "C" || locale == "POSIX" ? "" : locale;
}

const TextOrder& UserTextOrder() {
    static const TextOrder order(CollationLocale());
    return order;
}

} // namespace ketrilo
