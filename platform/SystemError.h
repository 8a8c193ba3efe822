// The system's own text for an error code, in the user's language.
#pragma once

#include "platform/Win.h"

#include <string>

namespace platform {

// Untrimmed; at most 256 characters; empty when the system has none.
std::wstring SystemErrorText(DWORD code);

// A graphics resource could not be had: raises the system's text for the
// code, trimmed, or "システム リソース不足です" when it has none.
[[noreturn]] void ThrowResourceError(DWORD code);

// A failed COM call (DirectWrite's, for instance) raised the same way: the
// system's text for the HRESULT, or "システム リソース不足です". Success
// passes.
void ThrowIfFailed(HRESULT result);

} // namespace platform
