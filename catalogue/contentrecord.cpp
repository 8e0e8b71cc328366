#include "contentrecord.h"

namespace catalogue {

ContentRecord ContentRecord::Split(std::string_view line)
{
    ContentRecord r;
    std::string_view* fields[] = {&r.code, &r.title, &r.folder, &r.description};
    size_t field = 0;
    size_t start = 0;
    for (;;) {
        const size_t at = line.find('@', start);
        const size_t end = at == std::string_view::npos ? line.size() : at;
        if (field < 4) *fields[field] = line.substr(start, end - start);
        ++field;
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
    r.fieldCount = field;
    return r;
}

} // namespace catalogue
