// Keeping which of the window's figures changed, and the file each belongs to.
#include "host/app/core/figure_files.h"

#include <cstring>

#include "host/app/core/figure_loading.h"
#include "model/figure_data.h"
#include "model/limb_walk.h"

namespace fighost {
namespace {

// FNV-1a over the bytes of each value.
class Digest {
  public:
    template <typename T>
    void add(const T& value) {
        addBytes(&value, sizeof value);
    }
    void addText(const char* text, size_t size) { addBytes(text, strnlen(text, size)); }
    uint64_t value() const { return hash_; }

  private:
    void addBytes(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
            hash_ = (hash_ ^ bytes[i]) * 1099511628211ull;
    }
    uint64_t hash_ = 14695981039346656037ull;
};

// The limbs in pre-order, deleted ones included.
void addTree(const Limb* root, Digest* digest) {
    if (root == nullptr) {
        digest->add(0);
        return;
    }
    forEachLimb(root, DeletedLimbs::kVisited, [digest](const Limb* limb, const Limb*, int depth) {
        digest->add(depth);
        digest->addText(limb->name, sizeof limb->name);
        digest->addText(limb->mapName, sizeof limb->mapName);
        digest->add(limb->childCount);
        digest->add(limb->firstChannel);
        digest->add(limb->declaredChannels);
        digest->add(limb->deleted);
        digest->add(limb->radius);
        digest->add(limb->offset.x);
        digest->add(limb->offset.y);
        digest->add(limb->offset.z);
    });
}

}  // namespace

uint64_t figureDigest(const FigureData& figure) {
    Digest digest;
    addTree(figure.root, &digest);
    const MotionTable* motion = figure.motion;
    if (motion == nullptr)
        return digest.value();
    digest.add(motion->channelCount());
    digest.add(motion->frameCount);
    digest.add(motion->mapCount);
    for (int c = 0; c < motion->channelCount() && c < kMaxChannels; ++c) {
        const MotionChannel& channel = motion->channels[c];
        digest.addText(channel.name, sizeof channel.name);
        digest.add(channel.type);
        for (uint32_t f = 0; f < motion->frameCount && f < kMaxFrames; ++f)
            digest.add(channel.values[f]);
    }
    return digest.value();
}

void FigureFiles::loaded(int handle, const std::string& path, bool saveable,
                         const FigureData& figure) {
    files_[handle] = File{path, saveable, figureDigest(figure), false};
}

void FigureFiles::saved(int handle, const std::string& path, const FigureData& figure) {
    files_[handle] = File{path, true, figureDigest(figure), false};
}

bool FigureFiles::fileOf(int handle, std::string* path, bool* saveable) const {
    auto file = files_.find(handle);
    if (file == files_.end())
        return false;
    *path = file->second.path;
    *saveable = file->second.saveable;
    return true;
}

void FigureFiles::restored(int handle, const std::string& path, bool saveable, bool unsaved,
                           const FigureData& figure) {
    files_[handle] = File{path, saveable, figureDigest(figure), unsaved};
}

bool FigureFiles::changed(int handle, const FigureData& figure) const {
    auto file = files_.find(handle);
    if (file == files_.end())
        return holdsFigure(figure);
    return file->second.unsaved || file->second.digest != figureDigest(figure);
}

std::string FigureFiles::saveTarget(int handle) const {
    auto file = files_.find(handle);
    return file != files_.end() && file->second.saveable ? file->second.path : std::string();
}

}  // namespace fighost
