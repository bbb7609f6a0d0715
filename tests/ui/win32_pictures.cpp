// Writes pictures of the native windows, open on the sample human figure, as a person sees them
// on the screen: win32_pictures FOLDER writes settings-configure-windows.bmp,
// settings-settings-windows.bmp and part-adjust-windows.bmp (scripts/screenshots turns them into
// PNG files). Run under Wine on an X server by scripts/screenshots.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "window_driver.h"

namespace {

std::string folder;

// The window as it shows on the screen, as a 24-bit bottom-up BMP file.
void save(HWND window, const char* name) {
    // Let the last change paint.
    Sleep(400);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
    RECT area{};
    GetWindowRect(window, &area);
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    ASSERT_GT(width, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string path = folder + "\\" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    EXPECT_TRUE(out.good()) << path;
    std::printf("wrote %s\n", path.c_str());
}

TEST(DialogPictures, NativeSheetPagesAndPartAdjust) {
    using namespace ui_test;
    standin::resetScene();
    ASSERT_EQ(module().piInit(0, 0), 1);
    std::string path = std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh";
    PluginCall load{};
    load.callValue = reinterpret_cast<uintptr_t>(path.c_str());
    load.objectHandle = -1;
    ASSERT_EQ(module().BvhLoad(1, 0, &load), 1);
    int object = standin::scene().objects.back().handle;

    Script script(60);
    script
        .on("Settings",
            [](HWND sheet) {
                HWND configure = openPage(sheet, "Configure");
                // The limb last, so that the list has the focus and shows the selection.
                type(configure, 1019, "30");
                clickLimb(configure, "LeftUpArm");
                save(sheet, "settings-configure-windows.bmp");
                HWND settings = openPage(sheet, "Settings");
                click(settings, 1098);
                save(sheet, "settings-settings-windows.bmp");
                click(openPage(sheet, "Configure"), 1002);
            })
        .on("Part Adjust",
            [](HWND dialog) {
                type(dialog, 1019, "30");
                save(dialog, "part-adjust-windows.bmp");
                click(dialog, 2);
            })
        .on("Settings", [](HWND sheet) { clickSheetButton(sheet, 2); });
    script.run([object] {
        PluginCall call{};
        call.objectHandle = object;
        return module().Fig(32, 0, &call);
    });
    PluginCall discard{};
    discard.objectHandle = object;
    module().Fig(8192, 0, &discard);
    module().piExit(0);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: win32_pictures FOLDER\n");
        return 1;
    }
    folder = argv[1];
    standin::setEchoErrors(true);
    return RUN_ALL_TESTS();
}
