// The one call every screen copy goes through: a block of the screen's (or
// a window's) DC into a memory DC, its result checked. A copy that fails (the
// secure desktop, a locked or disconnected session) must never pass for a
// capture, so it is raised like a resource that cannot be had.
#pragma once

#include "platform/Win.h"

namespace platform {

// BitBlt from source (x, y) to target (0, 0), width x height; raises the
// system's text, or "システム リソース不足です" when it has none, when the
// copy fails.
void CopyScreenBlock(HDC target, int width, int height, HDC source, int x, int y, DWORD rop);

// The system call the copy is made with. Tests put a copy that fails (or
// that paints a known picture) in its place for a scope; nothing else does.
using BlockCopyCall = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);

class BlockCopyOverride {
public:
    explicit BlockCopyOverride(BlockCopyCall call);
    ~BlockCopyOverride();
    BlockCopyOverride(const BlockCopyOverride&) = delete;
    BlockCopyOverride& operator=(const BlockCopyOverride&) = delete;

private:
    BlockCopyCall previous_;
};

} // namespace platform
