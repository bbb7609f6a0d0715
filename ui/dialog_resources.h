// The module's dialog resources, as a resource script gives them: the layouts of the "Part
// Adjust" dialog (120), the "Settings" page (124) and the "Configure" page (130), the ids of their
// controls, and the string table's file-dialog filters.
#pragma once

#include "toolkit/dialog_toolkit.h"

// Dialog layout ids.
constexpr int kPartAdjustDialogId = 120;
constexpr int kSettingsPageId = 124;
constexpr int kConfigurePageId = 130;

// "Part Adjust" (120).
namespace part_adjust {
constexpr int kPartName = 1003;
constexpr int kAssociateWith = 1004;
constexpr int kLimbLength = 1007;
constexpr int kRotationX = 1013;
constexpr int kRotationY = 1014;
constexpr int kRotationZ = 1015;
constexpr int kOffsetX = 1016;
constexpr int kOffsetY = 1017;
constexpr int kOffsetZ = 1018;
constexpr int kFrame = 1019;
constexpr int kFrameSpin = 1020;
constexpr int kApply = 1021;
constexpr int kAddFrames = 1022;
}  // namespace part_adjust

// "Settings" (124).
namespace settings_page {
constexpr int kLoadAssociate = 1011;
constexpr int kLoadMapping = 1012;
constexpr int kLineSegments = 1096;
constexpr int kCylinders = 1097;
constexpr int kBalloons = 1098;
constexpr int kTest = 1100;
constexpr int kSubSegments = 1101;
constexpr int kDivisions = 1102;
constexpr int kPoseAsCaptured = 1103;
}  // namespace settings_page

// "Configure" (130).
namespace configure_page {
constexpr int kEdit = 1002;
constexpr int kAddLimb = 1003;
constexpr int kDelete = 1004;
constexpr int kGenerate = 1005;
constexpr int kLimbs = 1006;
constexpr int kDiscardFrames = 1009;
constexpr int kLoadFigure = 1010;
constexpr int kDeleteAll = 1011;
constexpr int kFrame = 1019;
constexpr int kFrameSpin = 1020;
constexpr int kSaveFigure = 1023;
}  // namespace configure_page

// String-table entries: the filters of the Load Figure and Save Figure dialogs.
constexpr int kLoadFilterString = 1;
constexpr int kSaveFilterString = 2;

// What the host is told when a window cannot be made (no desktop, out of resources); %s is the
// window's caption.
constexpr char kWindowNotMade[] = "Cannot open the %s window";

// The dialog layout under id; null for an id the module does not have.
const toolkit::DialogTemplate* dialogLayout(int id);
// The string-table entry under id; an empty text for an id the module does not have.
const char* loadString(int id);
