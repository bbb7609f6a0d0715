// The motion table: channel declaration and clamped access to per-frame values.
#include "model/motion_table.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "model/name_compare.h"

namespace {

// The channel names of files, indexed by ChannelType; the empty name stands for kChannelNone.
const char* const kChannelTypeNames[] = {
    "", "XPOSITION", "YPOSITION", "ZPOSITION", "XROTATION", "YROTATION", "ZROTATION",
};
constexpr int kChannelTypeCount = sizeof(kChannelTypeNames) / sizeof(kChannelTypeNames[0]);

}  // namespace

ChannelType channelTypeForName(const char* name) {
    if (name == nullptr || name[0] == '\0') {
        return kChannelNone;
    }
    for (int type = 1; type < kChannelTypeCount; ++type) {
        if (names::sameNameQuick(kChannelTypeNames[type], name)) {
            return static_cast<ChannelType>(type);
        }
    }
    return kChannelNone;
}

// The channel storage is zeroed once here, so that a channel that was never declared reads 0.0
// instead of whatever the heap held, for instance when a limb's three channels run past the
// declared ones.
MotionTable::MotionTable(tagStandardFile* file)
    : source(file),
      channels(),
      channelCount_(0),
      frameCount(0),
      mapCount(0),
      columnCount_(0),
      channelColumns_(),
      declaredFrames_(0),
      completeFrames_(0),
      frameTime(0.0) {}

MotionTable* MotionTable::create(tagStandardFile* source) {
    return new (std::nothrow) MotionTable(source);
}

void MotionTable::clear(tagStandardFile* file) {
    source = file;
    std::memset(static_cast<void*>(channels), 0, sizeof channels);
    channelCount_ = 0;
    frameCount = 0;
    mapCount = 0;
    columnCount_ = 0;
    std::memset(channelColumns_, 0, sizeof channelColumns_);
    declaredFrames_ = 0;
    completeFrames_ = 0;
    frameTime = 0.0;
}

ChannelType MotionTable::channelType(int i) const {
    if (i < 0 || i >= channelCount_) {
        return kChannelNone;
    }
    return channels[i].type;
}

double MotionTable::value(int channel, int frame) const {
    if (channel < 0 || channel >= kMaxChannels || frame < 0 || frame >= kMaxFrames) {
        return 0.0;
    }
    uint32_t frames = frameCount <= static_cast<uint32_t>(kMaxFrames)
                          ? frameCount
                          : static_cast<uint32_t>(kMaxFrames);
    if (frames == 0) {
        frame = 0;
    } else if (static_cast<uint32_t>(frame) >= frames) {
        frame = static_cast<int>(frames) - 1;
    }
    return channels[channel].values[frame];
}

int MotionTable::setValue(int channel, int frame, double v) {
    if (channel < 0 || channel >= kMaxChannels || frame < 0 || frame >= kMaxFrames) {
        return 0;
    }
    if (static_cast<uint32_t>(frame) >= frameCount) {
        frameCount = static_cast<uint32_t>(frame) + 1;
    }
    channels[channel].values[frame] = v;
    return 1;
}

int MotionTable::declareChannel(const char* name) {
    if (channelCount_ >= kMaxChannels || columnCount_ == INT32_MAX) {
        return -1;
    }
    int index = channelCount_;
    MotionChannel& channel = channels[index];
    names::copyCut(channel.name, kChannelNameSize, name);
    channel.type = channelTypeForName(name);
    for (double& v : channel.values) {
        v = 0.0;
    }
    channelColumns_[index] = columnCount_;
    columnCount_ += 1;
    channelCount_ += 1;
    return index;
}

void MotionTable::skipColumns(int count) {
    if (count <= 0) {
        return;
    }
    // A hostile count cannot wrap the column counter: it stops at the largest int, far more
    // values than any file can hold.
    columnCount_ = (count > INT32_MAX - columnCount_) ? INT32_MAX : columnCount_ + count;
}

int MotionTable::channelColumn(int i) const {
    if (i < 0 || i >= channelCount_) {
        return -1;
    }
    return channelColumns_[i];
}

void MotionTable::noteRows(int declared, int complete) {
    declaredFrames_ = declared < 0 ? 0 : declared;
    completeFrames_ = complete < 0 ? 0 : complete;
}
