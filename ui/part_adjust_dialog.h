// "Part Adjust": the modal dialog in which the user edits one limb's name, associated object and
// offset, and its X, Y and Z rotations frame by frame in the figure's motion table. Name,
// association and offset are edited here and copied into the limb by the Configure page on OK;
// rotations are written into the motion table as the user goes, on Apply, OK or a change of
// frame. Cancel takes all of it back: the motion is left exactly as the dialog found it, its
// values, its frame count and any channels the dialog gave the limb.
//
// Frame 0 is the rest pose and is never written, so its rotation fields are read-only. A change
// of frame stores the rotations at the frame being left first: always for a step of one frame
// (the Up and Down keys, the arrows, or a number typed one away), and for any other change only
// when the rotations were changed there. So a number typed digit by digit passes through the
// frames its first digits name without storing anything there.
#pragma once

#include <cstdint>
#include <memory>
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

    // What syncRotations stores before it shows frame: nothing, the rotation fields, or the
    // rotation fields only when the user changed them since they were shown.
    enum Store { kStoreNothing = 0, kStoreFields = 1, kStoreChanged = 2 };
    // Reads the controls, stores the rotation fields at storeFrame as store says (never at frame
    // 0), then shows the rotations of frame. Does nothing without a figure and a limb.
    void syncRotations(int store);
    // Stores the rotation fields at the frame shown, as OK does: for a dialog that was shown
    // before its limb had a place in a figure (Add Limb), once it has one.
    void storeShownRotations();

  protected:
    void exchange(toolkit::DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, toolkit::Notification what) override;
    void onOK() override;
    void onCancel() override;

  private:
    // Writes the rotation fields into the limb's own rotation channels at storeFrame. A limb
    // without channels gets its own three (and the figure a motion table) the first time a
    // rotation other than 0 is stored; a value that finds no channel of its axis is reported.
    void storeRotations();
    void apply();
    void frameChanged();
    // Whether the rotation fields hold other values than the ones last shown.
    bool rotationsChanged() const;
    // The rotation fields take typing only at frames that are stored, 1 onwards.
    void lockRotations(uint32_t shownFrame);
    // Keeps what Cancel puts back: the motion as the dialog found it (or that there was none),
    // and where the limb's channels were.
    void keepMotion();
    void restoreMotion();

    // Set while the dialog writes its own controls, whose changes are not the user's.
    bool writingControls_ = false;
    // The rotations last shown, to tell the user's changes from them.
    double shownX_ = 0.0;
    double shownY_ = 0.0;
    double shownZ_ = 0.0;
    // What Cancel restores; kept_ is set once it is kept.
    bool kept_ = false;
    std::unique_ptr<MotionTable> motionBefore_;  // null when the figure had no motion
    uint32_t firstChannelBefore_ = 0;
    uint32_t declaredChannelsBefore_ = 0;
};
