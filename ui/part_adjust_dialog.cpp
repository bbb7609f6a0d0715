#include "ui/part_adjust_dialog.h"

#include "model/limb_channels.h"
#include "ui/dialog_resources.h"

namespace {

// One rotation field with the channel type that holds it.
struct Axis {
    ChannelType type;
    char letter;
    double value;
};

}  // namespace

dlgPartAdjust::dlgPartAdjust() : toolkit::Dialog(*dialogLayout(kPartAdjustDialogId)) {}

void dlgPartAdjust::exchange(toolkit::DataExchange& dx) {
    using namespace part_adjust;
    // The edits take no more than the limb keeps, so nothing typed is cut on OK.
    dx.text(kPartName, partName, kLimbNameSize - 1);
    dx.text(kAssociateWith, associateWith, kMapNameSize - 1);
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
    if (figure == nullptr || limb == nullptr || storeFrame == 0)
        return;
    const Axis axes[] = {{kChannelXRotation, 'X', rotationX},
                         {kChannelYRotation, 'Y', rotationY},
                         {kChannelZRotation, 'Z', rotationZ}};
    // The table holds no frame past its last; a rotation typed there is not kept, and the user
    // is told so.
    if (storeFrame > static_cast<uint32_t>(kLastFrame)) {
        for (const Axis& axis : axes) {
            if (axis.value != 0.0) {
                ErrorMessage("Unable to store rotations at frame %u: the motion ends at frame %d",
                             storeFrame, kLastFrame);
                break;
            }
        }
        return;
    }
    const int at = static_cast<int>(storeFrame);
    if (limbChannels(limb, figure->motion).count == 0) {
        bool turned = false;
        for (const Axis& axis : axes)
            turned = turned || axis.value != 0.0;
        // Zero is what posing leaves a limb without channels at; nothing needs storing.
        if (!turned)
            return;
        if (figure->motion == nullptr)
            figure->motion = MotionTable::create(nullptr);
        if (addRotationChannels(limb, figure->motion) == 0) {
            ErrorMessage(
                "Unable to store the rotations of %s: the motion has no room for its "
                "channels",
                limb->name);
            return;
        }
    }
    for (const Axis& axis : axes) {
        int channel = rotationChannel(limb, figure->motion, axis.type);
        if (channel >= 0)
            figure->motion->setValue(channel, at, axis.value);
        else if (axis.value != 0.0)
            ErrorMessage("Unable to store the %c rotation of %s: it has no %crotation channel",
                         axis.letter, limb->name, axis.letter);
    }
}

void dlgPartAdjust::syncRotations(int store) {
    if (figure == nullptr || limb == nullptr)
        return;
    if (store) {
        // A field that does not read shows its message; the rest go on as they stand.
        updateData(1);
        storeRotations();
    }
    int at = frame > static_cast<uint32_t>(kLastFrame) ? -1 : static_cast<int>(frame);
    // An axis the limb has no channel for shows 0, as an unposed limb stands.
    const MotionTable* motion = figure->motion;
    auto shown = [&](ChannelType type) {
        int channel = rotationChannel(limb, motion, type);
        return channel >= 0 ? motion->value(channel, at) : 0.0;
    };
    rotationX = shown(kChannelXRotation);
    rotationY = shown(kChannelYRotation);
    rotationZ = shown(kChannelZRotation);
    writingControls_ = true;
    updateData(0);
    writingControls_ = false;
    loaded = 1;
}

void dlgPartAdjust::storeShownRotations() {
    storeFrame = frame;
    storeRotations();
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
    // A rotation typed and confirmed with OK is kept, as Apply keeps it.
    storeShownRotations();
    end(toolkit::kIdOk);
}
