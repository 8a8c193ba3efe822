// Saving through the real save dialog, as the user does it: the file under
// the name the dialog reports holds exactly what the format's writer makes
// of the held image; the name box offers the last accepted path, whichever
// command accepted it; an existing file is replaced to the new length, or
// left alone when the dialog is cancelled; with nothing to save no dialog
// opens; and a file that cannot be created is reported with its full path
// and the system's reason, changing nothing.
#include "tests/win/SaveFixture.h"

#include <array>

using savetest::Bytes;

namespace {

const char* FormatName(SaveFormat format) {
    return format == SaveFormat::Bmp ? "BMP" : "PNG";
}

struct TypedName {
    SaveFormat format;
    const wchar_t* typed;
};

const TypedName TypedNames[] = {
    {SaveFormat::Bmp, L"shot"},     {SaveFormat::Bmp, L"shot.bmp"}, {SaveFormat::Png, L"shot"},
    {SaveFormat::Png, L"shot.png"}, {SaveFormat::Png, L"shot.bmp"}, // still PNG data: the name does
                                                                    // not choose the format
};

// A name ending in the filter's own pattern, which no dialog changes.
std::wstring NameWithPattern(const wchar_t* stem, SaveFormat format) {
    return std::wstring(stem) + (format == SaveFormat::Bmp ? L".BMP" : L".PNG");
}

std::uint32_t BigEndian32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
           std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

} // namespace

TEST_F(SaveCommandTest, TheChosenFileHoldsTheHeldImage) {
    HoldImage(37, 23, savetest::Gradient); // 111 pixel bytes a row: one padding byte
    for (const TypedName& c : TypedNames) {
        SCOPED_TRACE(testing::Message() << FormatName(c.format) << " typed "
                                        << testing::PrintToString(std::wstring(c.typed)));
        const std::wstring typed = In(c.typed);
        const wintest::SaveRun run = Save(c.format, {typed});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        EXPECT_TRUE(run.boxes.empty());
        const std::wstring chosen = Form1->SaveDialog1.FileName;
        EXPECT_TRUE(savetest::IsTypedNameWithExtension(chosen, typed, c.format))
            << testing::PrintToString(chosen);

        const std::optional<Bytes> file = savetest::ReadFileBytes(chosen);
        ASSERT_TRUE(file.has_value());
        EXPECT_TRUE(savetest::SameBytes(file, savetest::EncodedBytes(c.format, *Form1->BMP)));
        // The format's own marks, checked apart from the writers.
        if (c.format == SaveFormat::Bmp) {
            EXPECT_EQ(file->size(), 54u + 112u * 23u);
            ASSERT_GE(file->size(), 2u);
            EXPECT_EQ((*file)[0], 'B');
            EXPECT_EQ((*file)[1], 'M');
        } else {
            const Bytes signature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
            ASSERT_GE(file->size(), 33u);
            EXPECT_TRUE(std::equal(signature.begin(), signature.end(), file->begin()));
            EXPECT_EQ(BigEndian32(*file, 16), 37u);
            EXPECT_EQ(BigEndian32(*file, 20), 23u);
        }
        // One file per case: on Windows two typed names can end up the same.
        EXPECT_EQ(savetest::FilesIn(folder).size(), 1u);
        ::DeleteFileW(chosen.c_str());
    }
}

TEST_F(SaveCommandTest, TheNameBoxOffersTheLastAcceptedPath) {
    HoldImage(5, 4, savetest::Gradient);
    struct Step {
        SaveFormat format;
        const wchar_t* typed; // null: the dialog is cancelled
    };
    const Step steps[] = {
        {SaveFormat::Bmp, L"first"}, {SaveFormat::Png, L"second"}, {SaveFormat::Bmp, L"third"},
        {SaveFormat::Png, nullptr},  {SaveFormat::Bmp, nullptr},   {SaveFormat::Png, L"sixth"},
    };
    std::wstring offered; // the first dialog of a run opens with an empty name box
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(testing::Message() << "save " << i + 1 << ", " << FormatName(steps[i].format));
        const bool accept = steps[i].typed != nullptr;
        const std::wstring typed = accept ? In(steps[i].typed) : std::wstring();
        const wintest::SaveRun run = Save(steps[i].format, {typed, accept});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_EQ(run.nameBoxes[0], offered);
        if (accept) {
            EXPECT_TRUE(savetest::IsTypedNameWithExtension(Form1->SaveDialog1.FileName, typed,
                                                           steps[i].format));
            offered = Form1->SaveDialog1.FileName;
        } else {
            EXPECT_EQ(Form1->SaveDialog1.FileName, offered) << "a cancel keeps the last path";
        }
    }
}

TEST_F(SaveCommandTest, SavingOverALargerFileLeavesExactlyTheNewLength) {
    HoldImage(9, 7, savetest::Gradient);
    for (SaveFormat format : {SaveFormat::Bmp, SaveFormat::Png}) {
        SCOPED_TRACE(FormatName(format));
        const std::wstring target = In(NameWithPattern(L"old", format));
        savetest::WriteFileBytes(target, Bytes(300000, 0xAB));
        const wintest::SaveRun run = Save(format, {target});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        EXPECT_TRUE(run.boxes.empty());
        ASSERT_EQ(Form1->SaveDialog1.FileName, target);
        EXPECT_TRUE(savetest::SameBytes(savetest::ReadFileBytes(target),
                                        savetest::EncodedBytes(format, *Form1->BMP)));
    }
}

TEST_F(SaveCommandTest, CancellingTouchesNoFile) {
    HoldImage(9, 7, savetest::Gradient);
    for (SaveFormat format : {SaveFormat::Bmp, SaveFormat::Png}) {
        SCOPED_TRACE(FormatName(format));
        const std::wstring proposed = In(NameWithPattern(L"kept", format));
        const Bytes content{'k', 'e', 'p', 't'};
        savetest::WriteFileBytes(proposed, content);
        Form1->SaveDialog1.FileName = proposed; // as an earlier save left it
        const FormState before = State();
        const wintest::SaveRun run = Save(format, {L"", false});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        EXPECT_EQ(run.nameBoxes[0], proposed);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_TRUE(savetest::SameBytes(savetest::ReadFileBytes(proposed), content));
        EXPECT_EQ(savetest::FilesIn(folder),
                  std::vector<std::wstring>{NameWithPattern(L"kept", format)});
        EXPECT_EQ(Form1->SaveDialog1.FileName, proposed);
        EXPECT_TRUE(State() == before);
        ::DeleteFileW(proposed.c_str());
    }
}

TEST_F(SaveCommandTest, WithNothingToSaveNoDialogOpensAndNoFileChanges) {
    struct Nothing {
        const char* what;
        bool held;
        int width;
        int height;
    };
    const Nothing cases[] = {
        {"no image", false, 0, 0},
        {"no width", true, 0, 10},
        {"no height", true, 10, 0},
    };
    for (const Nothing& c : cases) {
        for (SaveFormat format : {SaveFormat::Bmp, SaveFormat::Png}) {
            SCOPED_TRACE(testing::Message() << c.what << ", " << FormatName(format));
            Form1->BMP.reset();
            if (c.held) {
                Form1->BMP = std::make_unique<output::HeldImage>();
                Form1->BMP->SetSize(c.width, c.height);
            }
            // Had a dialog opened, the helper would accept this file and the
            // command would replace it.
            const std::wstring existing = In(NameWithPattern(L"existing", format));
            const Bytes content{'u', 's', 'e', 'r'};
            savetest::WriteFileBytes(existing, content);
            const wintest::SaveRun run = Save(format, {existing});
            EXPECT_TRUE(run.nameBoxes.empty());
            EXPECT_TRUE(run.boxes.empty());
            EXPECT_TRUE(savetest::SameBytes(savetest::ReadFileBytes(existing), content));
            EXPECT_EQ(savetest::FilesIn(folder).size(), 1u);
            EXPECT_TRUE(Form1->SaveDialog1.FileName.empty());
            ::DeleteFileW(existing.c_str());
        }
    }
}

TEST_F(SaveCommandTest, AFolderThatDoesNotExistIsReportedAndNothingChanges) {
    HoldImage(9, 7, savetest::Gradient);
    for (SaveFormat format : {SaveFormat::Bmp, SaveFormat::Png}) {
        SCOPED_TRACE(FormatName(format));
        const std::wstring typed = In(L"missing\\shot");
        const FormState before = State();
        const wintest::SaveRun run = Save(format, {typed});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        const std::wstring chosen = Form1->SaveDialog1.FileName;
        EXPECT_TRUE(savetest::IsTypedNameWithExtension(chosen, typed, format))
            << testing::PrintToString(chosen);
        ExpectCannotCreate(run, chosen, ERROR_PATH_NOT_FOUND);
        EXPECT_EQ(::GetFileAttributesW(In(L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(savetest::FilesIn(folder).empty());
        EXPECT_TRUE(State() == before);
    }
}

// Started by the test below as a second process: opens the files named in
// VARNEL_HELD_FILES ("|" between them) without sharing and keeps them open
// until told to let go.
TEST(SaveFileHolderHelper, HoldsTheFilesUntilReleased) {
    const std::wstring names = wintest::Environment(L"VARNEL_HELD_FILES");
    const wintest::HelperSide side;
    ASSERT_TRUE(side.Opened());
    std::vector<platform::UniqueFile> held;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find(L'|', start), names.size());
        const std::wstring name = names.substr(start, end - start);
        platform::UniqueFile file(::CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << savetest::UnixPathOf(name);
        held.push_back(std::move(file));
        start = end + 1;
    }
    side.SayReady();
    EXPECT_TRUE(side.WaitForRelease());
}

TEST_F(SaveCommandTest, AFileOpenElsewhereIsReportedAndKeepsItsBytes) {
    HoldImage(9, 7, savetest::Gradient);
    const std::array<SaveFormat, 2> formats{SaveFormat::Bmp, SaveFormat::Png};
    const Bytes content{'h', 'e', 'l', 'd'};
    std::wstring heldNames;
    for (SaveFormat format : formats) {
        const std::wstring name = In(NameWithPattern(L"held", format));
        savetest::WriteFileBytes(name, content);
        heldNames += (heldNames.empty() ? L"" : L"|") + name;
    }
    wintest::OtherProgram holder(L"SaveFileHolderHelper.*", {{L"VARNEL_HELD_FILES", heldNames}});
    // The holder is ready only once it holds both files.
    ASSERT_TRUE(holder.WaitUntilReady(30000));

    for (SaveFormat format : formats) {
        SCOPED_TRACE(FormatName(format));
        const std::wstring held = In(NameWithPattern(L"held", format));
        const FormState before = State();
        const wintest::SaveRun run = Save(format, {held});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        ASSERT_EQ(Form1->SaveDialog1.FileName, held);
        ExpectCannotCreate(run, held, ERROR_SHARING_VIOLATION);
        EXPECT_TRUE(State() == before);
    }
    holder.Release();
    EXPECT_EQ(holder.WaitForExit(30000), std::optional<DWORD>(0));
    for (SaveFormat format : formats) {
        EXPECT_TRUE(savetest::SameBytes(
            savetest::ReadFileBytes(In(NameWithPattern(L"held", format))), content))
            << FormatName(format);
    }
}
