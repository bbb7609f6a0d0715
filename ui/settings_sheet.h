// The "Settings" sheet: the module's one window for a figure, with the "Configure" page (limbs,
// files, generating) and the "Settings" page (how limbs are drawn, the test cable).
#pragma once

#include <cstdint>

#include "model/figure_data.h"
#include "toolkit/dialog_base.h"
#include "ui/figure_owner.h"

// The "Settings" page: the segment style chosen with its radio buttons, the posing chosen with
// "Pose as &captured", and two numbers that are shown and validated but read by nothing else.
class dlgSettings : public toolkit::PropertyPage {
  public:
    dlgSettings();

    int32_t divisions = 8;      // "Divisions" (1102)
    int32_t subSegments = 9;    // "Sub-segments" (1101)
    int32_t segmentStyle = -1;  // the checked radio button; -1 checks none
    // The figure's PosingMode: "Pose as &captured" (1103) is checked for kPosingCaptured. A click
    // makes it kPosingCaptured or kPosingWorldAxes; another value stays until then.
    int32_t posing = kPosingWorldAxes;
    bool hasFigure = false;  // whether the sheet works on a figure; 1103 is disabled without one

  protected:
    void exchange(toolkit::DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, toolkit::Notification what) override;
};

// What the plug-in hands the sheet when it opens it.
struct SheetContext {
    int32_t objectHandle = 0;      // the object of the current call; 0 or -1 for none
    int32_t limbType = 0;          // the segment style figures made in the sheet start with
    int32_t posing = 0;            // the PosingMode figures made in the sheet start with
    FigureOwner* owner = nullptr;  // the owner of figures made in the sheet; not owned
};

// Shows the sheet for the object and waits until it closes. On OK the object's figure data takes
// the chosen segment style and posing; when its posing changed, the figure is drawn again into
// the object, as Generate draws it at the frame the Configure page shows (frame 0: the rest pose,
// in the figure's style). A figure built in the sheet that no object holds becomes a new scene
// object when the sheet closes (Configure page). When the dialog library cannot be loaded or the
// sheet cannot be made, says so through the host in one line and changes nothing. Always 1.
int showSettingsSheet(const SheetContext& context);
