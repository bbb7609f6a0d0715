// What other Windows programs rely on when they drive the native windows: window classes, ids,
// styles, the spin's range and buddy, who owns which modal window, and Save's question before it
// overwrites a file.
#include "ui_fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>

#include <utility>

#include "support/temp_dir.h"

namespace ui_test {
namespace {

using NativeWindows = SheetTest;

LONG_PTR styleOf(HWND window) {
    return GetWindowLongPtrA(window, GWL_STYLE);
}

void expectControl(HWND page, int id, const char* windowClass) {
    HWND control = GetDlgItem(page, id);
    ASSERT_NE(control, nullptr) << id;
    EXPECT_EQ(className(control), windowClass) << id;
    EXPECT_EQ(GetParent(control), page) << id;
}

// The frame spin of a page or dialog: its buddy, its styles and its range.
void expectFrameSpin(HWND window) {
    HWND spin = GetDlgItem(window, 1020);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(className(spin), "msctls_updown32");
    DWORD_PTR buddy = 0;
    SendMessageTimeoutA(spin, UDM_GETBUDDY, 0, 0, SMTO_NORMAL, 5000, &buddy);
    EXPECT_EQ(reinterpret_cast<HWND>(buddy), GetDlgItem(window, 1019));
    EXPECT_EQ(styleOf(spin) & (UDS_ARROWKEYS | UDS_SETBUDDYINT), UDS_ARROWKEYS | UDS_SETBUDDYINT);
    int low = -1, high = -1;
    SendMessageTimeoutA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                        reinterpret_cast<LPARAM>(&high), SMTO_NORMAL, 5000, nullptr);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 255);
    EXPECT_EQ(styleOf(GetDlgItem(window, 1019)) & ES_NUMBER, 0);
}

TEST_F(NativeWindows, ClassesIdsAndOwners) {
    int object = load(smallFigure(), false);
    HWND sheetSeen = nullptr;
    Script script;
    script
        .on("Settings",
            [&](HWND sheet) {
                sheetSeen = sheet;
                EXPECT_EQ(className(sheet), "#32770");
                EXPECT_EQ(ownerOf(sheet), nullptr);
                HWND apply = GetDlgItem(sheet, 0x3021);
                ASSERT_NE(apply, nullptr);
                EXPECT_FALSE(IsWindowEnabled(apply));
                HWND help = GetDlgItem(sheet, IDHELP);
                EXPECT_TRUE(help == nullptr || !IsWindowVisible(help));
                HWND configure = openPage(sheet, "Configure");
                expectControl(configure, 1006, "SysTreeView32");
                expectControl(configure, 1019, "Edit");
                expectControl(configure, 1010, "Button");
                expectFrameSpin(configure);
                HWND settings = openPage(sheet, "Settings");
                for (int id : {1096, 1097, 1098})
                    EXPECT_EQ(styleOf(GetDlgItem(settings, id)) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
                configure = openPage(sheet, "Configure");
                clickLimb(configure, "Leg");
                click(configure, 1002);
            })
        .on("Part Adjust",
            [&](HWND dialog) {
                EXPECT_EQ(className(dialog), "#32770");
                EXPECT_EQ(ownerOf(dialog), sheetSeen);
                EXPECT_FALSE(IsWindowEnabled(sheetSeen)) << "the sheet waits for Part Adjust";
                expectFrameSpin(dialog);
                EXPECT_EQ(styleOf(GetDlgItem(dialog, 1022)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
                // The name fields take what the limb's fields hold.
                for (auto limit : {std::make_pair(1003, 15), std::make_pair(1004, 43)}) {
                    DWORD_PTR chars = 0;
                    SendMessageTimeoutA(GetDlgItem(dialog, limit.first), EM_GETLIMITTEXT, 0, 0,
                                        SMTO_NORMAL, 5000, &chars);
                    EXPECT_EQ(chars, static_cast<DWORD_PTR>(limit.second)) << limit.first;
                }
                type(dialog, 1019, "x");
            })
        .on(kMessage,
            [&](HWND box) {
                EXPECT_EQ(caption(ownerOf(box)), "Part Adjust");
                acceptMessage(box);
            })
        .on("Part Adjust", [](HWND dialog) { click(dialog, 2); })
        .on("Settings", [](HWND sheet) { clickSheetButton(sheet, 2); });
    settings(object, script);
    EXPECT_EQ(script.messages(),
              std::vector<std::string>{"Part Adjust: Please enter a whole number of 0 or more."});
}

// Save asks before it replaces a file; No leaves the file and the dialog open.
TEST_F(NativeWindows, SaveAsksBeforeItOverwrites) {
    int object = load(smallFigure(), false);
    std::string target = dir.write("kept.fig", "before");
    Script script;
    script.on("Settings", [](HWND sheet) { click(openPage(sheet, "Configure"), 1023); })
        .on("Save Figure Data", [&](HWND files) { chooseFile(files, 1, target); })
        .on(kMessage, [](HWND box) { click(box, IDNO); })
        .on("Save Figure Data", [](HWND files) { click(files, IDCANCEL); })
        .on("Settings", [](HWND sheet) { clickSheetButton(sheet, 2); });
    settings(object, script);
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_NE(script.messages()[0].find("already exists"), std::string::npos)
        << script.messages()[0];
    EXPECT_EQ(testing_support::readFile(target), "before");
}

}  // namespace
}  // namespace ui_test
