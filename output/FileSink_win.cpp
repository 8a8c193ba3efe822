#include "output/FileSink.h"

#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"

#include <algorithm>

namespace output {

std::wstring FullPathOf(const std::wstring& name) {
    const DWORD length = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return name;
    }
    std::wstring path(length, L'\0');
    const DWORD written = ::GetFullPathNameW(name.c_str(), length, path.data(), nullptr);
    path.resize(written < length ? written : 0);
    return path.empty() ? name : path;
}

FileSink::FileSink(const std::wstring& name) {
    file_.reset(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        const DWORD code = ::GetLastError();
        throw platform::Error(
            platform::CannotCreateFileText(FullPathOf(name), platform::SystemErrorText(code)));
    }
}

FileSink::~FileSink() = default;

void FileSink::Write(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file_.get(), data, chunk, &written, nullptr) || written == 0) {
            throw platform::Error(platform::StreamWriteErrorText());
        }
        data += written;
        size -= written;
    }
}

} // namespace output
