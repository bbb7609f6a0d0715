// The dialog layouts and strings, as data. Positions and sizes are in dialog units.
#include "ui/dialog_resources.h"

#include <iterator>

namespace {

using namespace toolkit;

constexpr uint32_t kEditStyle = kScrollsHorizontally;
constexpr const char kFont[] = "MS Sans Serif";
constexpr int kFontPoints = 8;

const ControlTemplate kPartAdjustControls[] = {
    {kNoId, kLabel, "Part Name:", 10, 15, 51, 8, 0},
    {part_adjust::kPartName, kEdit, nullptr, 63, 10, 145, 14, kEditStyle},
    {kNoId, kLabel, "Associate with:", 10, 30, 51, 8, 0},
    {part_adjust::kAssociateWith, kEdit, nullptr, 63, 25, 145, 14, kEditStyle},
    {kNoId, kLabel, "Offset:", 10, 45, 22, 8, 0},
    {kNoId, kLabel, "X", 65, 44, 8, 8, 0},
    {part_adjust::kOffsetX, kEdit, nullptr, 79, 41, 30, 14, kEditStyle},
    {kNoId, kLabel, "Y", 115, 44, 8, 8, 0},
    {part_adjust::kOffsetY, kEdit, nullptr, 129, 41, 30, 14, kEditStyle},
    {kNoId, kLabel, "Z", 165, 44, 8, 8, 0},
    {part_adjust::kOffsetZ, kEdit, nullptr, 179, 41, 30, 14, kEditStyle},
    {kNoId, kLabel, "Rotation:", 10, 61, 30, 8, 0},
    {kNoId, kLabel, "X", 65, 60, 8, 8, 0},
    {part_adjust::kRotationX, kEdit, nullptr, 79, 57, 30, 14, kEditStyle},
    {kNoId, kLabel, "Y", 115, 60, 8, 8, 0},
    {part_adjust::kRotationY, kEdit, nullptr, 129, 57, 30, 14, kEditStyle},
    {kNoId, kLabel, "Z", 165, 60, 8, 8, 0},
    {part_adjust::kRotationZ, kEdit, nullptr, 179, 57, 30, 14, kEditStyle},
    {kNoId, kLabel, "Limb Length", 10, 77, 40, 8, 0},
    {part_adjust::kLimbLength, kEdit, nullptr, 63, 76, 40, 14, kReadOnly | kNoBorder},
    {kNoId, kLabel, "Frame", 10, 93, 20, 8, 0},
    {part_adjust::kFrame, kEdit, nullptr, 63, 90, 40, 14, kEditStyle},
    {part_adjust::kFrameSpin, kUpDown, nullptr, 103, 91, 9, 13,
     kUpDownArrowKeys | kUpDownSetsNumber},
    {part_adjust::kAddFrames, kCheckBox, "Add animation frames as required", 10, 114, 120, 10, 0},
    {kIdOk, kPushButton, "OK", 155, 78, 50, 14, kDefaultButton},
    {part_adjust::kApply, kPushButton, "&Apply", 155, 93, 50, 14, 0},
    {kIdCancel, kPushButton, "Cancel", 155, 108, 50, 14, 0},
};

const ControlTemplate kSettingsControls[] = {
    {kNoId, kGroupBox, "Show Segments As ..", 5, 2, 170, 59, 0},
    {settings_page::kLineSegments, kRadioButton, "Line segments", 12, 16, 61, 10, 0},
    {settings_page::kCylinders, kRadioButton, "&Cylinders", 12, 29, 45, 10, 0},
    {settings_page::kBalloons, kRadioButton, "&Ballons", 12, 42, 52, 10, 0},
    {settings_page::kLoadMapping, kPushButton, "Load Mapping", 120, 11, 50, 14,
     kHidden | kDisabled},
    {settings_page::kLoadAssociate, kPushButton, "Load Associate", 120, 27, 50, 14,
     kHidden | kDisabled},
    {kNoId, kGroupBox, "Body Segment Details", 5, 63, 170, 55, 0},
    {kNoId, kLabel, "Sub-segments", 10, 83, 45, 10, 0},
    {settings_page::kSubSegments, kEdit, nullptr, 60, 80, 41, 12, kEditStyle},
    {kNoId, kLabel, "Divisions", 10, 98, 30, 8, 0},
    {settings_page::kDivisions, kEdit, nullptr, 60, 96, 41, 12, kEditStyle},
    {settings_page::kTest, kPushButton, "Test", 120, 73, 50, 14, 0},
    {settings_page::kPoseAsCaptured, kCheckBox, "Pose as &captured", 10, 123, 120, 10, 0},
};

const ControlTemplate kConfigureControls[] = {
    {kNoId, kLabel, "Limbs", 10, 10, 20, 8, 0},
    {configure_page::kLimbs, kTreeView, nullptr, 10, 20, 135, 96,
     kTreeButtons | kTreeLines | kTreeLinesAtRoot},
    {kNoId, kLabel, "Frame", 10, 123, 20, 8, 0},
    {configure_page::kFrame, kEdit, nullptr, 55, 120, 48, 14, kEditStyle},
    {configure_page::kFrameSpin, kUpDown, nullptr, 103, 121, 11, 13,
     kUpDownArrowKeys | kUpDownSetsNumber},
    {configure_page::kLoadFigure, kPushButton, "Load Figure", 150, 16, 50, 14, 0},
    {configure_page::kSaveFigure, kPushButton, "Save Figure", 150, 31, 50, 14, 0},
    {configure_page::kAddLimb, kPushButton, "Add Limb", 150, 46, 50, 14, 0},
    {configure_page::kDelete, kPushButton, "Delete", 150, 61, 50, 14, 0},
    {configure_page::kDeleteAll, kPushButton, "Delete All", 150, 76, 50, 14, kDisabled},
    {configure_page::kEdit, kPushButton, "Edit", 150, 91, 50, 14, 0},
    {configure_page::kGenerate, kPushButton, "Generate", 150, 106, 50, 14, 0},
    {configure_page::kDiscardFrames, kPushButton, "Discard Frames", 150, 121, 50, 14, kDisabled},
};

const DialogTemplate kLayouts[] = {
    {kPartAdjustDialogId, "Part Adjust", 217, 130, kFont, kFontPoints, kModalFrame,
     kPartAdjustControls, std::size(kPartAdjustControls)},
    {kSettingsPageId, "Settings", 204, 141, kFont, kFontPoints, kChildPage, kSettingsControls,
     std::size(kSettingsControls)},
    {kConfigurePageId, "Configure", 207, 141, kFont, kFontPoints, kChildPage, kConfigureControls,
     std::size(kConfigureControls)},
};

struct StringEntry {
    int id;
    const char* text;
};

const StringEntry kStrings[] = {
    {kLoadFilterString, "Figure (*.fig)|*.fig|Biovision (*.bvh)|*.bvh|All files (*.*)|*.*||"},
    {kSaveFilterString, "Figure (*.fig)|*.fig|All files (*.*)|*.*||"},
};

}  // namespace

const DialogTemplate* dialogLayout(int id) {
    for (const DialogTemplate& layout : kLayouts)
        if (layout.id == id)
            return &layout;
    return nullptr;
}

const char* loadString(int id) {
    for (const StringEntry& entry : kStrings)
        if (entry.id == id)
            return entry.text;
    return "";
}
