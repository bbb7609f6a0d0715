// The "Settings" sheet through message 32 and the builder's main action: its windows as other
// programs see them, the Settings page's style choice, the test cable and the number fields.
#include <gtest/gtest-spi.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "ui_fixture.h"

namespace ui_test {
namespace {

using SettingsSheetTest = SheetTest;

TEST_F(SettingsSheetTest, SheetShowsBothPagesWithTheirControls) {
    int human = loadHuman();
    ASSERT_NE(human, -1);
    Script script;
    script.on("Settings", [](QWidget* sheet) {
        auto* tabs = sheet->findChild<QTabWidget*>();
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0), "Configure");
        EXPECT_EQ(tabs->tabText(1), "Settings");
        EXPECT_EQ(tabs->currentIndex(), 0) << "the sheet opens on Configure";
        EXPECT_EQ(button(sheet, 1)->text(), "OK");
        EXPECT_EQ(button(sheet, 2)->text(), "Cancel");
        EXPECT_FALSE(button(sheet, 12321)->isEnabled()) << "Apply stays disabled";

        QWidget* configure = page(sheet, "Configure");
        // Each control shows its template caption; "Delete All" and "Discard Frames" stay
        // disabled.
        const struct {
            int id;
            const char* caption;
            bool enabled;
        } buttons[] = {{1010, "Load Figure", true}, {1023, "Save Figure", true},
                       {1003, "Add Limb", true},    {1004, "Delete", true},
                       {1011, "Delete All", false}, {1002, "Edit", true},
                       {1005, "Generate", true},    {1009, "Discard Frames", false}};
        for (const auto& b : buttons) {
            QAbstractButton* widget = button(configure, b.id);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->text(), b.caption);
            EXPECT_EQ(widget->isEnabled(), b.enabled) << b.id;
        }
        EXPECT_EQ(edit(configure, 1019)->text(), "0");
        std::string limbs = treeText(tree(configure));
        // Children in slot order, as the file lists them.
        EXPECT_EQ(limbs.rfind("Hips[LeftUpLeg[LeftLowLeg[LeftFoot[LeftToe[End]]]],RightUpLeg[", 0),
                  0u)
            << limbs;
        EXPECT_TRUE(tree(configure)->selectedItems().isEmpty());

        QWidget* settings = showPage(sheet, "Settings");
        const char* radios[] = {"Line segments", "&Cylinders", "&Ballons"};
        for (int i = 0; i < 3; ++i) {
            auto* radio = qobject_cast<QRadioButton*>(control(settings, 1096 + i));
            ASSERT_NE(radio, nullptr);
            EXPECT_EQ(radio->text(), radios[i]);
            EXPECT_EQ(radio->isChecked(), i == 1) << "LimbType 1 loaded the figure as cylinders";
        }
        EXPECT_EQ(edit(settings, 1101)->text(), "9");
        EXPECT_EQ(edit(settings, 1102)->text(), "8");
        EXPECT_FALSE(control(settings, 1011)->isVisible());
        EXPECT_FALSE(control(settings, 1012)->isVisible());
        click(button(sheet, 2));
    });
    EXPECT_EQ(settings(human, script), 1);
}

// Closing with OK writes the chosen style into the figure data; Cancel leaves it.
TEST_F(SettingsSheetTest, StyleIsWrittenOnlyOnOk) {
    const struct {
        int initial;
        int chosen;
        int closeWith;
        int expected;
    } cases[] = {{2, 0, 1, 0}, {2, 0, 2, 2}, {0, 2, 1, 2}, {1, 1, 1, 1}};
    for (const auto& c : cases) {
        int human = loadHuman();
        ASSERT_NE(human, -1);
        figure(human)->segmentStyle = c.initial;
        Script script;
        script.on("Settings", [&](QWidget* sheet) {
            QWidget* settings = showPage(sheet, "Settings");
            EXPECT_TRUE(button(settings, 1096 + c.initial)->isChecked());
            click(button(settings, 1096 + c.chosen));
            // Nothing changes while the sheet is open.
            EXPECT_EQ(figure(human)->segmentStyle, c.initial);
            click(button(sheet, c.closeWith));
        });
        EXPECT_EQ(settings(human, script), 1);
        EXPECT_EQ(figure(human)->segmentStyle, c.expected)
            << c.initial << " -> " << c.chosen << " closed with " << c.closeWith;
    }
}

// The builder's main action opens the same sheet, without an object: no figure data, the
// "LimbType" style shown, Test drawing one new cable object per press.
TEST_F(SettingsSheetTest, BuilderOpensTheSheetAndTestDrawsACablePerPress) {
    Script script;
    script.on("Settings", [](QWidget* sheet) {
        EXPECT_EQ(treeText(tree(page(sheet, "Configure"))), "");
        QWidget* settings = showPage(sheet, "Settings");
        EXPECT_TRUE(button(settings, 1097)->isChecked());
        click(button(settings, 1098));
        for (int press = 1; press <= 2; ++press) {
            click(button(settings, 1100));
            ASSERT_EQ(standin::scene().objects.size(), static_cast<size_t>(press));
            const standin::SceneObject& cable = standin::scene().objects.back();
            EXPECT_EQ(cable.name, "_Cable" + std::to_string(press - 1));
            EXPECT_GT(cable.count(1), 0u);
        }
        click(button(sheet, 1));
    });
    std::string path = "unused";
    int result = script.run([&] {
        PluginCall call{};
        call.callValue = reinterpret_cast<uintptr_t>(path.c_str());
        call.objectHandle = -1;
        return module().Fig(1, 0, &call);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(errors().empty());
}

// A number field that does not hold a whole number keeps the page: the message, the focus back
// on the field, the sheet still open; the fields show 9 and 8 again next time.
TEST_F(SettingsSheetTest, NumberFieldsMustHoldWholeNumbers) {
    for (int id : {1101, 1102}) {
        int human = loadHuman();
        Script script;
        script
            .on("Settings",
                [id](QWidget* sheet) {
                    QWidget* settings = showPage(sheet, "Settings");
                    type(edit(settings, id), "2.5");
                    click(button(sheet, 1));
                })
            .on(kMessage,
                [](QWidget* box) {
                    click(static_cast<QMessageBox*>(box)->button(QMessageBox::Ok));
                })
            .on("Settings",
                [id](QWidget* sheet) {
                    QWidget* settings = page(sheet, "Settings");
                    EXPECT_TRUE(sheet->isVisible());
                    EXPECT_EQ(sheet->focusWidget(), edit(settings, id));
                    // Leaving the page is refused too.
                    showPage(sheet, "Configure");
                })
            .on(kMessage,
                [](QWidget* box) {
                    click(static_cast<QMessageBox*>(box)->button(QMessageBox::Ok));
                })
            .on("Settings", [id](QWidget* sheet) {
                auto* tabs = sheet->findChild<QTabWidget*>();
                EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Settings");
                type(edit(page(sheet, "Settings"), id), "12");
                click(button(sheet, 1));
            });
        EXPECT_EQ(settings(human, script), 1);
        EXPECT_EQ(script.messages(),
                  std::vector<std::string>(2, "Settings: Please enter a whole number."));

        Script again;
        again.on("Settings", [](QWidget* sheet) {
            QWidget* settings = showPage(sheet, "Settings");
            EXPECT_EQ(edit(settings, 1101)->text(), "9");
            EXPECT_EQ(edit(settings, 1102)->text(), "8");
            click(button(sheet, 2));
        });
        settings(human, again);
    }
}

// Opens the sheet with no step to close it.
void openAndLeaveOpen() {
    Script script(1);
    script.run([] {
        PluginCall call{};
        call.objectHandle = -1;
        return module().Fig(32, 0, &call);
    });
}

// The time limit closes a window left open and fails the test instead of hanging the suite.
TEST_F(SettingsSheetTest, WindowLeftOpenFailsTheTestInsteadOfHanging) {
    EXPECT_NONFATAL_FAILURE(openAndLeaveOpen(), "time limit of 1 s: still open: Settings");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace ui_test
