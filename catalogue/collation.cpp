#include "collation.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <unicode/ucol.h>
#include <unicode/uiter.h>

namespace catalogue {

namespace {

// Below this, a second thread costs more than it saves.
constexpr size_t kParallelLines = 20000;

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

// The first bytes of a line's sort key, as four big-endian numbers so that most comparisons
// are a few integer compares. Making only this much of the key costs less than half of
// making all of it, and a catalogue's lines rarely agree that far; where two do, the
// collator compares the whole lines.
constexpr int32_t kPrefixBytes = 32;

struct KeyRef
{
    std::array<uint64_t, 4> prefix;
    uint32_t index;
    bool complete; // the prefix holds the whole key
};

KeyRef MakeRef(const UCollator* collator, std::string_view line, uint32_t index)
{
    uint8_t bytes[kPrefixBytes] = {};
    UCharIterator iter;
    uiter_setUTF8(&iter, line.data(), static_cast<int32_t>(line.size()));
    uint32_t state[2] = {0, 0};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucol_nextSortKeyPart(collator, &iter, state, bytes, kPrefixBytes, &status);
    if (U_FAILURE(status)) throw std::runtime_error("ICU cannot make a sort key");
    KeyRef ref{{}, index, n < kPrefixBytes};
    // Sort keys hold no zero bytes, so the zeros after a short key keep the order.
    for (size_t w = 0; w < 4; ++w) {
        uint64_t v = 0;
        for (size_t i = 0; i < 8; ++i)
            v = (v << 8) | bytes[w * 8 + i];
        ref.prefix[w] = v;
    }
    return ref;
}

void MakeRefs(const UCollator* collator, std::span<const std::string_view> lines, size_t from,
              size_t to, std::vector<KeyRef>& refs)
{
    for (size_t i = from; i < to; ++i)
        refs[i] = MakeRef(collator, lines[i], static_cast<uint32_t>(i));
}

// < 0, 0, > 0 for the lines' order, letter case ignored.
int CompareLines(const UCollator* collator, std::span<const std::string_view> lines,
                 const KeyRef& a, const KeyRef& b)
{
    if (a.prefix != b.prefix) return a.prefix < b.prefix ? -1 : 1;
    if (a.complete && b.complete) return 0;
    UErrorCode status = U_ZERO_ERROR;
    const std::string_view x = lines[a.index], y = lines[b.index];
    const auto r = ucol_strcollUTF8(collator, x.data(), static_cast<int32_t>(x.size()), y.data(),
                                    static_cast<int32_t>(y.size()), &status);
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

// The tie-break on the index makes the order total, which is what binary insertion that
// skips equal lines gives: each group of equal lines in order, its first-read line first.
struct RefLess
{
    const UCollator* collator;
    std::span<const std::string_view> lines;
    bool operator()(const KeyRef& a, const KeyRef& b) const
    {
        const int c = CompareLines(collator, lines, a, b);
        return c != 0 ? c < 0 : a.index < b.index;
    }
};

} // namespace

LineCollator::LineCollator(const std::string& icuLocale)
    : locale_(icuLocale), collator_(OpenCollator(icuLocale))
{
}

LineCollator::~LineCollator()
{
    ucol_close(collator_);
}

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

    // A big catalogue shares the work between two threads, the second with its own collator.
    std::vector<KeyRef> refs(n);
    if (n < kParallelLines) {
        MakeRefs(collator_, lines, 0, n, refs);
        std::sort(refs.begin(), refs.end(), RefLess{collator_, lines});
    } else {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* clone = ucol_clone(collator_, &status);
        if (U_FAILURE(status)) throw std::runtime_error("ICU cannot clone the collator");
        const size_t half = n / 2;
        const auto mid = refs.begin() + static_cast<std::ptrdiff_t>(half);
        std::thread worker([&] {
            MakeRefs(clone, lines, half, n, refs);
            std::sort(mid, refs.end(), RefLess{clone, lines});
        });
        MakeRefs(collator_, lines, 0, half, refs);
        std::sort(refs.begin(), mid, RefLess{collator_, lines});
        worker.join();
        ucol_close(clone);
        std::inplace_merge(refs.begin(), mid, refs.end(), RefLess{collator_, lines});
    }

    std::vector<size_t> kept;
    kept.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && CompareLines(collator_, lines, refs[i - 1], refs[i]) == 0) {
            if (dropped) dropped->emplace_back(refs[i].index, kept.back());
            continue;
        }
        kept.push_back(refs[i].index);
    }
    return kept;
}

} // namespace catalogue
