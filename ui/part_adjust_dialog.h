// "Part Adjust": the modal dialog in which the user edits one limb's name, associated object and
// offset, and its X, Y and Z rotations frame by frame in the figure's motion table. Name,
// association and offset are edited here and copied into the limb by the Configure page on OK;
// rotations are written into the motion table at once, on Apply, OK or a change of frame, and
// stay there whatever button closes the dialog.
#pragma once

#include <cstdint>
#include <string>

#include "model/figure_data.h"
#include "model/limb.h"
#include "toolkit/dialog_base.h"

class dlgPartAdjust : public toolkit::Dialog {
  public:
    dlgPartAdjust();

    std::string partName;       // limb name
    std::string associateWith;  // name of the associated scene object
    double offsetY = 0.0;
    double offsetX = 0.0;
    double offsetZ = 0.0;
    double rotationZ = 0.0;  // rotations at the frame shown, degrees
    double rotationY = 0.0;
    double rotationX = 0.0;
    uint32_t frame = 0;       // the frame shown
    double limbLength = 0.0;  // shown read-only; nothing sets it
    // The figure whose motion holds the rotations, and the limb whose own rotation channels the
    // rotation fields show and store; not owned. Either null disables all rotation handling.
    FigureData* figure = nullptr;
    Limb* limb = nullptr;
    uint32_t storeFrame = 0;  // where the next store writes the rotations; 0 stores nothing
    int32_t loaded = 0;       // 1 once the rotations were loaded from the motion

    // Stores the rotation fields at storeFrame (when store is 1 and storeFrame is not 0), then
    // shows the rotations of frame. Does nothing without a figure and a limb.
    void syncRotations(int store);
    // Stores the rotation fields at the frame shown, as OK does: for a dialog that was shown
    // before its limb had a place in a figure (Add Limb), once it has one.
    void storeShownRotations();

  protected:
    void exchange(toolkit::DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, toolkit::Notification what) override;
    void onOK() override;

  private:
    // Writes the rotation fields into the limb's own rotation channels at storeFrame. A limb
    // without channels gets its own three (and the figure a motion table) the first time a
    // rotation other than 0 is stored; a value that finds no channel of its axis is reported.
    void storeRotations();
    void apply();
    void frameChanged();

    // Set while the dialog writes its own controls, whose changes are not the user's.
    bool writingControls_ = false;
};
