// A save dialog's filter text: display-name and pattern pairs separated by
// "|", each pair one file type of the dialog.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

struct FileType {
    std::wstring name;
    std::wstring pattern;
};

// "BMP files (*.bmp)|*.BMP" gives one type; a trailing name without a
// pattern is dropped.
std::vector<FileType> ParseFileFilter(std::wstring_view filter);

} // namespace toolkit
