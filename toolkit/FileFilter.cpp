#include "toolkit/FileFilter.h"

namespace toolkit {

std::vector<FileType> ParseFileFilter(std::wstring_view filter) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= filter.size() && !filter.empty()) {
        const std::size_t bar = filter.find(L'|', start);
        const std::size_t end = bar == std::wstring_view::npos ? filter.size() : bar;
        parts.emplace_back(filter.substr(start, end - start));
        if (bar == std::wstring_view::npos) {
            break;
        }
        start = bar + 1;
    }
    std::vector<FileType> types;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        types.push_back({parts[i], parts[i + 1]});
    }
    return types;
}

} // namespace toolkit
