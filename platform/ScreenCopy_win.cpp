#include "platform/ScreenCopy.h"

#include "platform/SystemError.h"

#include <utility>

namespace platform {

namespace {

BlockCopyCall blockCopy = &::BitBlt;

} // namespace

void CopyScreenBlock(HDC target, int width, int height, HDC source, int x, int y, DWORD rop) {
    ::SetLastError(0);
    if (!blockCopy(target, 0, 0, width, height, source, x, y, rop)) {
        ThrowResourceError(::GetLastError());
    }
}

BlockCopyOverride::BlockCopyOverride(BlockCopyCall call)
    : previous_(std::exchange(blockCopy, call)) {}

BlockCopyOverride::~BlockCopyOverride() {
    blockCopy = previous_;
}

} // namespace platform
