// A file the save commands write through: created anew with no sharing, so
// no other program opens it while it is written, and every write checked.
#pragma once

#include "output/ByteSink.h"
#include "platform/KernelHandle.h"

#include <string>

namespace output {

class FileSink : public ByteSink {
public:
    // Creates (or empties) the named file. Throws the "cannot create" error
    // with the full path and the system's text.
    explicit FileSink(const std::wstring& name);
    ~FileSink() override;

    // Writes all bytes, again for the rest of a partial write; a failed
    // write, or one that makes no progress, throws the stream write error.
    void Write(const std::uint8_t* data, std::size_t size) override;

private:
    platform::UniqueFile file_;
};

// The name expanded to a full path, as the error messages show it.
std::wstring FullPathOf(const std::wstring& name);

} // namespace output
