// Saving onto media that refuse the file: a read-only medium, reported as a
// file that cannot be created, and a full one, reported as a failed write
// with the bytes written so far left in the file. Either way the held image,
// the buttons and the chosen name stay as they were. The media are mounted
// for these tests by scripts/with-save-media.sh, which names their folder in
// VARNEL_SAVE_MEDIA; CTest runs them only through it.
#include "tests/win/SaveFixture.h"

using savetest::Bytes;

namespace {

const char* FormatName(SaveFormat format) {
    return format == SaveFormat::Bmp ? "BMP" : "PNG";
}

} // namespace

class SaveOnMediaHelper : public SaveCommandTest {
protected:
    void SetUp() override {
        SaveCommandTest::SetUp();
        const std::wstring media = wintest::Environment(L"VARNEL_SAVE_MEDIA");
        ASSERT_FALSE(media.empty()) << "run through scripts/with-save-media.sh";
        readOnly = savetest::WindowsPathOf(media + L"/readonly");
        small = savetest::WindowsPathOf(media + L"/small");
    }

    std::wstring readOnly;
    std::wstring small;
};

TEST_F(SaveOnMediaHelper, AReadOnlyMediumIsReportedAndNothingChanges) {
    HoldImage(9, 7, savetest::Gradient);
    for (SaveFormat format : {SaveFormat::Bmp, SaveFormat::Png}) {
        SCOPED_TRACE(FormatName(format));
        const std::wstring typed = readOnly + L"\\shot";
        const FormState before = State();
        const wintest::SaveRun run = Save(format, {typed});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        const std::wstring chosen = Form1->SaveDialog1.FileName;
        EXPECT_TRUE(savetest::IsTypedNameWithExtension(chosen, typed, format))
            << testing::PrintToString(chosen);
        ExpectCannotCreate(run, chosen, ERROR_ACCESS_DENIED);
        EXPECT_TRUE(savetest::FilesIn(readOnly).empty());
        EXPECT_TRUE(State() == before);
    }
}

TEST_F(SaveOnMediaHelper, AFullDiskIsReportedAndKeepsTheBytesWrittenSoFar) {
    HoldImage(200, 200, savetest::Noise);
    for (SaveFormat format : {SaveFormat::Bmp, SaveFormat::Png}) {
        SCOPED_TRACE(FormatName(format));
        const Bytes whole = savetest::EncodedBytes(format, *Form1->BMP);
        ULARGE_INTEGER room{};
        ASSERT_TRUE(::GetDiskFreeSpaceExW(small.c_str(), &room, nullptr, nullptr));
        ASSERT_GT(whole.size(), room.QuadPart) << "the file must not fit on the medium";

        const std::wstring typed = small + L"\\shot";
        const FormState before = State();
        const wintest::SaveRun run = Save(format, {typed});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        const std::wstring chosen = Form1->SaveDialog1.FileName;
        EXPECT_TRUE(savetest::IsTypedNameWithExtension(chosen, typed, format))
            << testing::PrintToString(chosen);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].caption, L"エラー");
        EXPECT_TRUE(run.boxes[0].errorIcon);
        EXPECT_EQ(run.boxes[0].text, L"ストリームへの書き込みエラー.");
        EXPECT_TRUE(State() == before);

        const std::optional<Bytes> kept = savetest::ReadFileBytes(chosen);
        ASSERT_TRUE(kept.has_value()) << "the file stays on the medium";
        EXPECT_GT(kept->size(), 0u);
        ASSERT_LT(kept->size(), whole.size());
        EXPECT_TRUE(std::equal(kept->begin(), kept->end(), whole.begin()))
            << "the file holds the start of the whole file";
        // Room again for the next format.
        ::DeleteFileW(chosen.c_str());
    }
}
