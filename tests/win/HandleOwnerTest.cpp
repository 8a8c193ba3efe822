// The handle owners: each kind's own invalid value, the count of live
// handles the leak tests read, put() for handles handed back through a
// pointer, a reset that leaves the last error as the failing call left it,
// and the guards that put a DC's previous objects back.
#include "platform/ClipboardScope.h"
#include "platform/Com.h"
#include "platform/Gdi.h"
#include "platform/GlobalMemory.h"
#include "platform/KernelHandle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::wstring TempName(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

} // namespace

TEST(HandleOwner, AFileOwnerTellsAFailedCreateByInvalidHandleValue) {
    const long live = platform::UniqueFile::Live();
    platform::UniqueFile missing(::CreateFileW(TempName(L"varnel-no-such\\file").c_str(),
                                               GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                               nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::UniqueFile::Live(), live) << "a failed create is no live handle";

    const std::wstring name = TempName(L"varnel-owner-test");
    {
        platform::UniqueFile file(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        EXPECT_EQ(platform::UniqueFile::Live(), live + 1);
        platform::UniqueFile moved = std::move(file);
        EXPECT_FALSE(file);
        EXPECT_EQ(platform::UniqueFile::Live(), live + 1);
        // Held without sharing until the owner goes.
        platform::UniqueFile second(
            ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(second);
        EXPECT_EQ(::GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(platform::UniqueFile::Live(), live);
    platform::UniqueFile again(
        ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(again) << "closed when its owner went";
    again.reset();
    ::DeleteFileW(name.c_str());
}

TEST(HandleOwner, ResetKeepsTheLastError) {
    // A close that fails sets an error of its own; the owner must not let it
    // replace the error a caller is about to read.
    platform::UniqueKernelHandle bogus(reinterpret_cast<HANDLE>(std::uintptr_t(0x7FFF0)));
    ::SetLastError(ERROR_DISK_FULL);
    bogus.reset();
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_DISK_FULL));
}

TEST(HandleOwner, PutTakesAHandleHandedBackThroughAPointerAndCountsIt) {
    const long live = platform::UniqueCoTaskString::Live();
    platform::UniqueCoTaskString text;
    ASSERT_EQ(::StringFromCLSID(CLSID_NULL, text.put()), S_OK);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::wstring(text.get()), L"{00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), live + 1);
    // put() again frees the first string before it gives the place; the
    // new one counts once the owner is used.
    ASSERT_EQ(::StringFromCLSID(CLSID_NULL, text.put()), S_OK);
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), live);
    ASSERT_TRUE(text);
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), live + 1);
    text.reset();
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), live);
}

TEST(HandleOwner, GuardsPutTheDcsPreviousObjectsBack) {
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    platform::UniqueHdc dc(::CreateCompatibleDC(screen.get()));
    ASSERT_TRUE(dc);
    const HGDIOBJ ownBitmap = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
    const HGDIOBJ ownPalette = ::GetCurrentObject(dc.get(), OBJ_PAL);
    platform::UniqueHbitmap bitmap(::CreateCompatibleBitmap(screen.get(), 4, 4));
    platform::UniqueHpalette palette(::CreateHalftonePalette(screen.get()));
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(palette);
    {
        platform::SelectGuard select(dc.get(), bitmap.get());
        platform::PaletteGuard realize(dc.get(), palette.get());
        EXPECT_TRUE(select);
        EXPECT_TRUE(realize);
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PAL), palette.get());
        // Moved into a longer-lived holder, the guard restores once, there.
        platform::SelectGuard holder = std::move(select);
        EXPECT_FALSE(select);
        holder.reset();
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), ownBitmap);
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PAL), palette.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PAL), ownPalette);
    // Out of the DC, both can be deleted.
    EXPECT_TRUE(::DeleteObject(bitmap.release()));
    EXPECT_TRUE(::DeleteObject(palette.release()));
    // A null palette selects nothing and restores nothing.
    platform::PaletteGuard none(dc.get(), nullptr);
    EXPECT_FALSE(none);
}

TEST(HandleOwner, GlobalMemoryIsLockedForAScopeAndFreedUnlessGivenAway) {
    const long live = platform::UniqueHglobal::Live();
    platform::UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, 16));
    ASSERT_TRUE(memory);
    EXPECT_EQ(platform::UniqueHglobal::Live(), live + 1);
    {
        const platform::GlobalLockScope locked(memory.get());
        ASSERT_TRUE(locked);
        EXPECT_GE(locked.Size(), 16u);
        std::memcpy(locked.get(), "varnel", 7);
        EXPECT_EQ(::GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(::GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 0u) << "unlocked with its scope";
    memory.reset();
    EXPECT_EQ(platform::UniqueHglobal::Live(), live);
}

TEST(HandleOwner, TheClipboardIsOpenForTheScopeOnly) {
    for (int round = 0; round < 2; ++round) {
        const platform::ClipboardScope clipboard(nullptr);
        ASSERT_TRUE(clipboard) << "round " << round << ": left open by the round before";
        EXPECT_EQ(clipboard.Error(), DWORD(ERROR_SUCCESS));
    }
    EXPECT_FALSE(::CloseClipboard()) << "the scope left the clipboard open";
}

TEST(HandleOwner, TheComApartmentIsLeftOnlyWhenItWasEntered) {
    {
        const platform::ComApartment com = platform::ComApartment::SingleThreaded();
        ASSERT_TRUE(com);
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    }
    // Left: the thread may choose the other model now.
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
        // Refused on a multithreaded thread: this guard must not leave the
        // apartment that it did not enter.
        const platform::ComApartment refused = platform::ComApartment::SingleThreaded();
        EXPECT_FALSE(refused);
    }
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "still entered";
    ::CoUninitialize();
    ::CoUninitialize();
}
