// The resources compiled into figure.dll: the command icon, the file-dialog filters and the
// version information, read back the way Windows reads them.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class ResourcesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExA("figure.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module != nullptr)
            FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

TEST_F(ResourcesTest, IconIsA32By32BitmapIn16Colours) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(131), MAKEINTRESOURCEA(2));  // RT_BITMAP
    ASSERT_NE(found, nullptr);
    const auto* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 32);
    EXPECT_EQ(header->biHeight, 32);
    EXPECT_EQ(header->biBitCount, 4);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
    // The palette and 32 rows of 16 bytes follow the header; no more is needed.
    EXPECT_GE(SizeofResource(module, found), sizeof(BITMAPINFOHEADER) + 16 * 4 + 32 * 16);
}

TEST_F(ResourcesTest, StringsAreTheFileDialogFilters) {
    char text[256];
    ASSERT_GT(LoadStringA(module, 1, text, sizeof text), 0);
    EXPECT_STREQ(text, "Figure (*.fig)|*.fig|Biovision (*.bvh)|*.bvh|All files (*.*)|*.*||");
    ASSERT_GT(LoadStringA(module, 2, text, sizeof text), 0);
    EXPECT_STREQ(text, "Figure (*.fig)|*.fig|All files (*.*)|*.*||");
    EXPECT_EQ(LoadStringA(module, 3, text, sizeof text), 0);
}

TEST_F(ResourcesTest, VersionInformationNamesTheModule) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA(nullptr), path, sizeof path), 0u);
    std::string dll(path);
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "figure.dll";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(dll.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(dll.c_str(), 0, size, info.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904E4\\OriginalFilename",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "figure.dll");
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904E4\\ProductName",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "Figure module");
}

}  // namespace
