// The handle owners: each kind's own invalid value, the count of live
// handles the leak tests read, put() for handles handed back through a
// pointer, a reset that leaves the last error as the failing call left it,
// the borrowed DC that goes back with its own window, the guards that put a
// DC's previous objects back, the mouse capture, the clipboard, the global
// memory lock and the COM apartment, each given back once, wherever moved.
#include "platform/ClipboardScope.h"
#include "platform/Com.h"
#include "platform/Error.h"
#include "platform/Gdi.h"
#include "platform/GlobalMemory.h"
#include "platform/KernelHandle.h"
#include "platform/MouseCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

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
    {
        // put() again frees the first string before it gives the place; the
        // new one counts once the out-parameter goes.
        auto place = text.put();
        EXPECT_FALSE(text);
        EXPECT_EQ(platform::UniqueCoTaskString::Live(), live);
        ASSERT_EQ(::StringFromCLSID(CLSID_NULL, place), S_OK);
        EXPECT_FALSE(text) << "taken before the out-parameter goes";
        EXPECT_EQ(platform::UniqueCoTaskString::Live(), live);
    }
    ASSERT_TRUE(text);
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), live + 1);
    // Reading a const owner changes nothing.
    const platform::UniqueCoTaskString& reader = text;
    EXPECT_EQ(reader.get(), text.get());
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), live + 1);
    text.reset();
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), live);
}

TEST(HandleOwner, APlaceLeftUnwrittenLeavesTheOwnerEmptyByItsOwnInvalidValue) {
    // A file's empty value is INVALID_HANDLE_VALUE, not null: a call that
    // fails without writing must not leave a "valid" null handle counted.
    const long files = platform::UniqueFile::Live();
    platform::UniqueFile file;
    { auto place = file.put(); }
    EXPECT_FALSE(file);
    EXPECT_EQ(file.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::UniqueFile::Live(), files);

    const long strings = platform::UniqueCoTaskString::Live();
    platform::UniqueCoTaskString text;
    { auto place = text.put(); }
    EXPECT_FALSE(text);
    EXPECT_EQ(platform::UniqueCoTaskString::Live(), strings);
}

namespace {

// The borrowed DC's kind with its release recorded instead of made, so the
// window each DC goes back with can be seen (Wine's ReleaseDC ignores it).
std::vector<platform::detail::BorrowedDc> released;
struct RecordedRelease : platform::detail::BorrowedDcPolicy {
    static void Close(const Storage& borrowed) noexcept { released.push_back(borrowed); }
};
using RecordedDc = platform::UniqueHandle<RecordedRelease>;

HWND FakeWindow(std::uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}
HDC FakeDc(std::uintptr_t value) {
    return reinterpret_cast<HDC>(value);
}

} // namespace

TEST(HandleOwner, ABorrowedDcGoesBackWithItsOwnWindowWhereverItMoved) {
    static_assert(std::is_base_of_v<platform::UniqueHandle<platform::detail::BorrowedDcPolicy>,
                                    platform::WindowDc>);
    released.clear();
    const long live = RecordedDc::Live();
    {
        RecordedDc first(platform::detail::BorrowedDc{FakeWindow(0x10), FakeDc(0x100)});
        RecordedDc second(platform::detail::BorrowedDc{FakeWindow(0x20), FakeDc(0x200)});
        EXPECT_EQ(RecordedDc::Live(), live + 2);
        first = std::move(second);
        ASSERT_EQ(released.size(), 1u);
        EXPECT_EQ(released[0].window, FakeWindow(0x10)) << "the first DC, with its own window";
        EXPECT_EQ(released[0].dc, FakeDc(0x100));
        EXPECT_EQ(first.get(), FakeDc(0x200));
        EXPECT_FALSE(second);
        EXPECT_EQ(RecordedDc::Live(), live + 1);
        RecordedDc third(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(RecordedDc::Live(), live + 1);
    }
    ASSERT_EQ(released.size(), 2u) << "each DC released once";
    EXPECT_EQ(released[1].window, FakeWindow(0x20)) << "moved twice, still with its window";
    EXPECT_EQ(released[1].dc, FakeDc(0x200));
    EXPECT_EQ(RecordedDc::Live(), live);

    // The real kind counts its DCs the same way through moves.
    const long borrowed = platform::WindowDc::Live();
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    platform::WindowDc whole = platform::WindowDc::Whole(::GetDesktopWindow());
    ASSERT_TRUE(screen);
    ASSERT_TRUE(whole);
    EXPECT_EQ(platform::WindowDc::Live(), borrowed + 2);
    const HDC kept = whole.get();
    screen = std::move(whole);
    EXPECT_EQ(screen.get(), kept);
    EXPECT_EQ(platform::WindowDc::Live(), borrowed + 1);
    screen.reset();
    EXPECT_EQ(platform::WindowDc::Live(), borrowed);
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

// A select that fails raises, and the DC keeps what it held: a bitmap that
// another DC holds, a palette that is gone.
TEST(HandleOwner, ASelectThatFailsRaisesAndLeavesTheDcAsItWas) {
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    platform::UniqueHdc holder(::CreateCompatibleDC(screen.get()));
    platform::UniqueHdc dc(::CreateCompatibleDC(screen.get()));
    platform::UniqueHbitmap bitmap(::CreateCompatibleBitmap(screen.get(), 4, 4));
    ASSERT_TRUE(holder && dc && bitmap);
    const HGDIOBJ ownBitmap = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
    const HGDIOBJ ownPalette = ::GetCurrentObject(dc.get(), OBJ_PAL);
    {
        const platform::SelectGuard held(holder.get(), bitmap.get());
        ASSERT_TRUE(held);
        EXPECT_THROW(platform::SelectGuard(dc.get(), bitmap.get()), platform::Error)
            << "a bitmap selected into two DCs at once";
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), ownBitmap);
    }
    HPALETTE gone = ::CreateHalftonePalette(screen.get());
    ASSERT_NE(gone, nullptr);
    ASSERT_TRUE(::DeleteObject(gone));
    EXPECT_THROW(platform::PaletteGuard(dc.get(), gone), platform::Error);
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PAL), ownPalette);
    // Selecting nothing is no failure.
    EXPECT_NO_THROW(platform::SelectGuard(dc.get(), nullptr));
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
        EXPECT_EQ(com.Result(), S_OK);
        EXPECT_TRUE(platform::InSingleThreadedApartment());
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    }
    // Left: the thread may choose the other model now.
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
        // Refused on a multithreaded thread: this guard must not leave the
        // apartment that it did not enter.
        const platform::ComApartment refused = platform::ComApartment::SingleThreaded();
        EXPECT_FALSE(refused);
        EXPECT_EQ(refused.Result(), RPC_E_CHANGED_MODE) << "the refusal is reported";
        EXPECT_FALSE(platform::InSingleThreadedApartment());
    }
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "still entered";
    ::CoUninitialize();
    ::CoUninitialize();
}

TEST(HandleOwner, TheMouseCaptureIsGivenBackOnceAndOnlyIfStillHeld) {
    auto window = [] {
        return platform::UniqueHwnd(::CreateWindowExW(0, L"STATIC", L"capture", WS_POPUP, 0, 0, 8,
                                                      8, nullptr, nullptr, nullptr, nullptr));
    };
    const platform::UniqueHwnd first = window();
    const platform::UniqueHwnd second = window();
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    {
        platform::MouseCapture capture(first.get());
        EXPECT_TRUE(capture);
        EXPECT_EQ(::GetCapture(), first.get());
        // Moved into the holder a drag keeps, it is given back there.
        platform::MouseCapture holder;
        holder = std::move(capture);
        EXPECT_FALSE(capture);
        EXPECT_EQ(::GetCapture(), first.get()) << "a move gives nothing back";
        holder.reset();
        EXPECT_EQ(::GetCapture(), nullptr);
    }
    {
        platform::MouseCapture capture(first.get());
        // Another window took the capture since: it keeps it.
        ::SetCapture(second.get());
        capture.reset();
        EXPECT_EQ(::GetCapture(), second.get());
        ::ReleaseCapture();
    }
    {
        platform::MouseCapture capture(first.get());
        // Taken away by the system and captured again by someone else: a
        // forgotten capture does not give the new one back.
        capture.Forget();
        EXPECT_FALSE(capture);
        EXPECT_EQ(::GetCapture(), first.get());
    }
    EXPECT_EQ(::GetCapture(), first.get());
    ::ReleaseCapture();
}

TEST(HandleOwner, AMovedClipboardScopeClosesOnceWithItsLastHolder) {
    {
        platform::ClipboardScope opened(nullptr);
        ASSERT_TRUE(opened);
        platform::ClipboardScope holder = std::move(opened);
        EXPECT_FALSE(opened);
        EXPECT_TRUE(holder);
        EXPECT_EQ(holder.Error(), DWORD(ERROR_SUCCESS));
        { platform::ClipboardScope gone = std::move(holder); }
        EXPECT_FALSE(::CloseClipboard()) << "closed when the last holder went";
        // Open again; the moved-from holders must not close it.
        ASSERT_TRUE(::OpenClipboard(nullptr));
    }
    EXPECT_TRUE(::CloseClipboard()) << "closed by a holder that no longer owned it";
}

TEST(HandleOwner, AGlobalLockIsUndoneOnTheBlockOnceWhereverItMoved) {
    platform::UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, 16));
    ASSERT_TRUE(memory);
    {
        platform::GlobalLockScope locked(memory.get());
        ASSERT_TRUE(locked);
        platform::GlobalLockScope holder = std::move(locked);
        EXPECT_FALSE(locked);
        EXPECT_EQ(locked.Size(), 0u);
        EXPECT_GE(holder.Size(), 16u);
        EXPECT_EQ(::GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(::GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 0u);
    // No block: nothing locked, nothing to undo.
    const platform::GlobalLockScope none(nullptr);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), nullptr);
    EXPECT_EQ(none.Size(), 0u);
}
