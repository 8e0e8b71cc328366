#include "collation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace catalogue {

namespace {

UCollator* OpenCollator(const std::string& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open(locale.empty() ? "root" : locale.c_str(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        c = ucol_open("root", &status);
    }
    if (U_FAILURE(status)) throw std::runtime_error("ICU cannot open a collator");
    // Secondary strength: letters and accents count, letter case does not, for the order and
    // for the test of equal lines alike.
    ucol_setStrength(c, UCOL_SECONDARY);
    return c;
}

// UTF-8 to UTF-16 into a buffer reused from line to line.
void ToUtf16(std::string_view s, std::u16string& out)
{
    out.resize(s.size()); // UTF-8 never takes fewer bytes than UTF-16 takes units
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, s.data(),
                         static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
}

// Sort keys of a range of lines, packed into one buffer. The buffer is grown by hand: a
// std::vector would zero every byte it is asked for, and that touches far more memory than
// the keys need.
struct KeyBlock {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
    size_t capacity = 0;
    std::vector<size_t> offsets; // one past the end of each key

    void Reserve(size_t n)
    {
        if (n <= capacity) return;
        const size_t grown = std::max(n, capacity * 2);
        auto bigger = std::make_unique_for_overwrite<uint8_t[]>(grown);
        if (size) std::memcpy(bigger.get(), bytes.get(), size);
        bytes = std::move(bigger);
        capacity = grown;
    }
};

KeyBlock MakeKeys(const UCollator* collator, std::span<const std::string_view> lines,
                  size_t from, size_t to)
{
    KeyBlock block;
    block.offsets.reserve(to - from);
    size_t textBytes = 0;
    for (size_t i = from; i < to; ++i) textBytes += lines[i].size();
    // A key at secondary strength takes a little more than the line's UTF-8 for Cyrillic text.
    block.Reserve(textBytes + textBytes / 2 + (to - from) * 8 + 64);
    std::u16string text;
    for (size_t i = from; i < to; ++i) {
        ToUtf16(lines[i], text);
        const auto length = static_cast<int32_t>(text.size());
        for (size_t room = text.size() * 2 + 16;;) {
            block.Reserve(block.size + room);
            const int32_t need = ucol_getSortKey(collator, text.data(), length,
                                                 block.bytes.get() + block.size,
                                                 static_cast<int32_t>(room));
            if (static_cast<size_t>(need) <= room) {
                block.size += static_cast<size_t>(need);
                break;
            }
            room = static_cast<size_t>(need);
        }
        block.offsets.push_back(block.size);
    }
    return block;
}

// A key's first sixteen bytes, read as two big-endian numbers, settle most comparisons without
// a call to memcmp. Keys end with their only zero byte, so padding a short key with zeros
// keeps the order.
struct KeyRef {
    uint64_t high;
    uint64_t low;
    const uint8_t* key;
    uint32_t length;
    uint32_t index;
};

uint64_t BigEndian(const uint8_t* key, size_t length, size_t from)
{
    uint64_t p = 0;
    for (size_t i = from; i < from + 8; ++i) p = (p << 8) | (i < length ? key[i] : 0);
    return p;
}

KeyRef MakeRef(const uint8_t* key, size_t length, uint32_t index)
{
    return {BigEndian(key, length, 0), BigEndian(key, length, 8), key,
            static_cast<uint32_t>(length), index};
}

bool KeyLess(const KeyRef& a, const KeyRef& b)
{
    if (a.high != b.high) return a.high < b.high;
    if (a.low != b.low) return a.low < b.low;
    const int c = std::memcmp(a.key, b.key, std::min(a.length, b.length));
    if (c != 0) return c < 0;
    if (a.length != b.length) return a.length < b.length;
    return a.index < b.index; // equal lines keep reading order: the first read survives
}

bool KeyEqual(const KeyRef& a, const KeyRef& b)
{
    return a.high == b.high && a.low == b.low && a.length == b.length &&
           std::memcmp(a.key, b.key, a.length) == 0;
}

} // namespace

LineCollator::LineCollator(const std::string& icuLocale)
    : locale_(icuLocale), collator_(OpenCollator(icuLocale))
{
}

LineCollator::~LineCollator() { ucol_close(collator_); }

std::string LineCollator::LocaleFromEnvironment()
{
    const char* value = nullptr;
    for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) {
            value = v;
            break;
        }
    }
    if (!value) return {};
    std::string locale(value);
    // "ru_RU.UTF-8@euro" → "ru_RU": ICU wants neither the code set nor the modifier.
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") return {};
    return locale;
}

int LineCollator::Compare(std::string_view a, std::string_view b) const
{
    UErrorCode status = U_ZERO_ERROR;
    const auto r = ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                    static_cast<int32_t>(b.size()), &status);
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

std::vector<size_t> LineCollator::SortUnique(std::span<const std::string_view> lines,
                                             std::vector<std::pair<size_t, size_t>>* dropped) const
{
    const size_t n = lines.size();
    if (n > UINT32_MAX) throw std::length_error("too many catalogue lines");

    // Sort keys turn each comparison into a memcmp; making them is most of the work, so a big
    // catalogue shares it between two threads, each with its own collator.
    std::vector<KeyBlock> blocks;
    const size_t threads = n >= 20000 ? 2 : 1;
    if (threads == 1) {
        blocks.push_back(MakeKeys(collator_, lines, 0, n));
    } else {
        blocks.resize(threads);
        UErrorCode status = U_ZERO_ERROR;
        UCollator* clone = ucol_clone(collator_, &status);
        if (U_FAILURE(status)) throw std::runtime_error("ICU cannot clone the collator");
        const size_t half = n / 2;
        std::thread worker([&] { blocks[1] = MakeKeys(clone, lines, half, n); });
        blocks[0] = MakeKeys(collator_, lines, 0, half);
        worker.join();
        ucol_close(clone);
    }

    std::vector<KeyRef> refs;
    refs.reserve(n);
    uint32_t index = 0;
    for (const KeyBlock& b : blocks) {
        size_t begin = 0;
        for (size_t end : b.offsets) {
            refs.push_back(MakeRef(b.bytes.get() + begin, end - begin, index++));
            begin = end;
        }
    }

    // The tie-break on the index makes the order total, which is what binary insertion that
    // skips equal lines gives: each group of equal lines in key order, its first-read line first.
    if (threads == 1) {
        std::sort(refs.begin(), refs.end(), KeyLess);
    } else {
        const auto mid = refs.begin() + static_cast<std::ptrdiff_t>(refs.size() / 2);
        std::thread worker([&] { std::sort(mid, refs.end(), KeyLess); });
        std::sort(refs.begin(), mid, KeyLess);
        worker.join();
        std::inplace_merge(refs.begin(), mid, refs.end(), KeyLess);
    }

    std::vector<size_t> kept;
    kept.reserve(n);
    for (size_t i = 0; i < refs.size(); ++i) {
        if (i > 0 && KeyEqual(refs[i], refs[i - 1])) {
            if (dropped) dropped->emplace_back(refs[i].index, kept.back());
            continue;
        }
        kept.push_back(refs[i].index);
    }
    return kept;
}

} // namespace catalogue
