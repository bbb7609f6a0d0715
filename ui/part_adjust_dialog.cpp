#include "ui/part_adjust_dialog.h"

#include <cfloat>

#include "model/limb_channels.h"
#include "ui/dialog_resources.h"

namespace {

// The largest offset a limb holds.
constexpr double kOffsetLimit = FLT_MAX;
// The rotation fields, which frame 0 shows read-only.
constexpr int kRotationFields[] = {part_adjust::kRotationX, part_adjust::kRotationY,
                                   part_adjust::kRotationZ};

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
    // Offsets are kept as floats: a number past a float's range is refused, not cut.
    dx.number(kOffsetY, offsetY, -kOffsetLimit, kOffsetLimit);
    dx.number(kOffsetX, offsetX, -kOffsetLimit, kOffsetLimit);
    dx.number(kOffsetZ, offsetZ, -kOffsetLimit, kOffsetLimit);
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
    keepMotion();
    lockRotations(frame);
    syncRotations(kStoreNothing);
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
    // While the dialog is shown, what Cancel would put back must have been kept (it fails only
    // without memory): nothing is written that Cancel could not take back.
    if (!kept_ && window() != nullptr) {
        ErrorMessage("Unable to store the rotations of %s: no memory to keep the motion",
                     limb->name);
        return;
    }
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
    if (store != kStoreNothing) {
        // A field that does not read shows its message; the rest go on as they stand.
        updateData(1);
        if (store == kStoreFields || rotationsChanged())
            storeRotations();
    }
    int at = frame > static_cast<uint32_t>(kLastFrame) ? -1 : static_cast<int>(frame);
    // An axis the limb has no channel for shows 0, as an unposed limb stands.
    const MotionTable* motion = figure->motion;
    auto shown = [&](ChannelType type) {
        int channel = rotationChannel(limb, motion, type);
        return channel >= 0 ? motion->value(channel, at) : 0.0;
    };
    rotationX = shownX_ = shown(kChannelXRotation);
    rotationY = shownY_ = shown(kChannelYRotation);
    rotationZ = shownZ_ = shown(kChannelZRotation);
    writingControls_ = true;
    updateData(0);
    writingControls_ = false;
    lockRotations(frame);
    loaded = 1;
}

bool dlgPartAdjust::rotationsChanged() const {
    return rotationX != shownX_ || rotationY != shownY_ || rotationZ != shownZ_;
}

void dlgPartAdjust::lockRotations(uint32_t shownFrame) {
    if (window() == nullptr)
        return;
    for (int id : kRotationFields)
        window()->setReadOnly(id, shownFrame == 0 ? 1 : 0);
}

void dlgPartAdjust::keepMotion() {
    kept_ = false;
    motionBefore_.reset();
    if (figure == nullptr || limb == nullptr)
        return;
    if (figure->motion != nullptr) {
        motionBefore_.reset(MotionTable::create(nullptr));
        if (motionBefore_ == nullptr)
            return;
        *motionBefore_ = *figure->motion;
    }
    firstChannelBefore_ = limb->firstChannel;
    declaredChannelsBefore_ = limb->declaredChannels;
    kept_ = true;
}

void dlgPartAdjust::restoreMotion() {
    if (!kept_)
        return;
    if (motionBefore_ != nullptr) {
        if (figure->motion != nullptr)
            *figure->motion = *motionBefore_;
    } else {
        // The dialog made the motion; the figure had none.
        delete figure->motion;
        figure->motion = nullptr;
    }
    limb->firstChannel = firstChannelBefore_;
    limb->declaredChannels = declaredChannelsBefore_;
}

void dlgPartAdjust::storeShownRotations() {
    storeFrame = frame;
    storeRotations();
}

void dlgPartAdjust::apply() {
    updateData(1);
    storeFrame = frame;
    syncRotations(kStoreFields);
}

void dlgPartAdjust::frameChanged() {
    if (writingControls_ || window() == nullptr)
        return;
    uint32_t next = frame;
    const bool reads = toolkit::parseNumber(window()->text(part_adjust::kFrame), &next) == 1;
    if (loaded == 0) {
        // Add Limb: no frame loads, but only the frames that are stored take rotations.
        if (reads)
            lockRotations(next);
        return;
    }
    // frame still holds the number shown before the change: the frame being left. A step of
    // one leaves it as the user saw it; any other change may be a number on its way (the "1"
    // of "12"), whose frame is kept only when the user changed its rotations.
    const bool step = reads && (next == frame + 1 || next + 1 == frame);
    storeFrame = frame;
    syncRotations(step ? kStoreFields : kStoreChanged);
}

void dlgPartAdjust::onOK() {
    if (!updateData(1))
        return;
    // A rotation typed and confirmed with OK is kept, as Apply keeps it; a frame only looked at
    // is left as it is.
    if (rotationsChanged())
        storeShownRotations();
    end(toolkit::kIdOk);
}

void dlgPartAdjust::onCancel() {
    restoreMotion();
    end(toolkit::kIdCancel);
}
