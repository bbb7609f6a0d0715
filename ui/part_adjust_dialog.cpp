#include "ui/part_adjust_dialog.h"

#include "ui/dialog_resources.h"

dlgPartAdjust::dlgPartAdjust() : toolkit::Dialog(*dialogLayout(kPartAdjustDialogId)) {}

void dlgPartAdjust::exchange(toolkit::DataExchange& dx) {
    using namespace part_adjust;
    dx.text(kPartName, partName);
    dx.text(kAssociateWith, associateWith);
    dx.number(kOffsetY, offsetY);
    dx.number(kOffsetX, offsetX);
    dx.number(kOffsetZ, offsetZ);
    dx.number(kRotationZ, rotationZ);
    dx.number(kRotationY, rotationY);
    dx.number(kRotationX, rotationX);
    dx.number(kFrame, frame);
    dx.number(kLimbLength, limbLength);
}

void dlgPartAdjust::onInitDialog() {
    writingControls_ = true;
    toolkit::Dialog::onInitDialog();
    writingControls_ = false;
    if (window() != nullptr)
        window()->setRange(part_adjust::kFrameSpin, 0, kLastFrame);
    syncRotations(0);
}

void dlgPartAdjust::onCommand(int id, toolkit::Notification what) {
    if (id == part_adjust::kApply && what == toolkit::kClicked)
        apply();
    else if (id == part_adjust::kFrame && what == toolkit::kChanged)
        frameChanged();
}

void dlgPartAdjust::storeRotations() {
    if (motion == nullptr || storeFrame == 0)
        return;
    for (uint32_t c = firstChannel; c < firstChannel + 3; ++c) {
        int channel = static_cast<int>(c);
        int at = storeFrame > static_cast<uint32_t>(kLastFrame) ? -1 : static_cast<int>(storeFrame);
        switch (motion->channelType(channel)) {
            case kChannelXRotation:
                motion->setValue(channel, at, rotationX);
                break;
            case kChannelYRotation:
                motion->setValue(channel, at, rotationY);
                break;
            case kChannelZRotation:
                motion->setValue(channel, at, rotationZ);
                break;
            default:
                break;
        }
    }
}

void dlgPartAdjust::syncRotations(int store) {
    if (motion == nullptr)
        return;
    if (store) {
        // A field that does not read shows its message; the rest go on as they stand.
        updateData(1);
        storeRotations();
    }
    int at = frame > static_cast<uint32_t>(kLastFrame) ? -1 : static_cast<int>(frame);
    for (uint32_t c = firstChannel; c < firstChannel + 3; ++c) {
        int channel = static_cast<int>(c);
        double value = motion->value(channel, at);
        switch (motion->channelType(channel)) {
            case kChannelXRotation:
                rotationX = value;
                break;
            case kChannelYRotation:
                rotationY = value;
                break;
            case kChannelZRotation:
                rotationZ = value;
                break;
            default:
                break;
        }
    }
    writingControls_ = true;
    updateData(0);
    writingControls_ = false;
    loaded = 1;
}

void dlgPartAdjust::apply() {
    updateData(1);
    storeFrame = frame;
    syncRotations(1);
}

void dlgPartAdjust::frameChanged() {
    if (loaded == 0 || writingControls_)
        return;
    // frame still holds the number shown before the change: the frame being left.
    storeFrame = frame;
    syncRotations(1);
}

void dlgPartAdjust::onOK() {
    if (!updateData(1))
        return;
    storeFrame = frame;
    // A rotation typed and confirmed with OK is kept, as Apply keeps it.
    storeRotations();
    end(toolkit::kIdOk);
}
