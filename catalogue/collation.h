#pragma once
// The order of the catalogue: whole lines compared linguistically for the user's locale with
// letter case ignored, equal lines kept once (the first read, with its own spelling).

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct UCollator;

namespace catalogue {

class LineCollator
{
public:
    // An ICU locale name such as "ru_RU"; empty means ICU's root collation.
    explicit LineCollator(const std::string& icuLocale);
    ~LineCollator();
    LineCollator(const LineCollator&) = delete;
    LineCollator& operator=(const LineCollator&) = delete;

    // The locale the user's environment names (LC_ALL, then LC_COLLATE, then LANG), in ICU's
    // form; empty when it names none, or C or POSIX. ICU's en_US_POSIX would order letters by
    // case, so those get the root collation instead.
    static std::string LocaleFromEnvironment();

    const std::string& Locale() const { return locale_; }

    // < 0, 0, > 0 as a compares to b (UTF-8).
    int Compare(std::string_view a, std::string_view b) const;

    // The indices of the lines that survive, in ascending order; the same result as inserting
    // the lines one by one in a sorted list that skips equal lines. For each dropped line,
    // `dropped` (if given) receives the pair (dropped index, kept index).
    std::vector<size_t> SortUnique(std::span<const std::string_view> lines,
                                   std::vector<std::pair<size_t, size_t>>* dropped = nullptr) const;

private:
    std::string locale_;
    UCollator* collator_ = nullptr;
};

} // namespace catalogue
