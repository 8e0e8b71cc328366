// libFuzzer target: any bytes as a content file, through decoding, sorting and distribution.
// Checks that every item lands in the category its code names and in order.

#include "catalogue.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace catalogue;
    static Catalogue cat("/nonexistent", std::make_unique<LineCollator>(""));
    static LineCollator collator("");

    TextBuffer bytes = TextBuffer::WithSize(size);
    if (size) std::memcpy(bytes.data.get(), data, size);
    DecodedText text = DecodeCatalogueText(std::move(bytes));
    ContentPool pool;
    pool.lines = text.lines;
    for (size_t k = 0; k < text.lines.size(); ++k)
        pool.origins.push_back({0, static_cast<int>(k + 1)});
    pool.texts.push_back(std::move(text.text));
    const size_t lines = pool.lines.size();
    const auto report = cat.SortAndDistribute(std::move(pool));

    size_t items = 0;
    for (int c = 1; c <= kCategoryCount; ++c)
        items += static_cast<size_t>(cat.CategoryItemCount(c));
    if (items + report.uncategorised.size() + report.duplicates.size() != lines) std::abort();
    for (int c = 1; c <= kCategoryCount; ++c)
        for (int i = 2; i <= cat.CategoryItemCount(c); ++i) {
            const auto a = cat.CategoryItemOrigin(c, i - 1), b = cat.CategoryItemOrigin(c, i);
            if (a.line == b.line) std::abort();
        }
    return 0;
}
