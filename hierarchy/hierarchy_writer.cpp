// Saving a figure as a .fig file, in the grammar the hierarchy reader reads.
//
// The CHANNELS lines come from the channels each limb declared when it was read, and the motion
// section writes, frame by frame, exactly the channels of the limbs that are written, in the
// order they are written. So a figure read from a capture in any channel layout, or one with
// deleted limbs, reads back with every value in its own channel. Only a figure none of whose
// limbs declares channels, while its motion table holds some (a figure built by hand), gets the
// fixed layout: six channels on the root, three on every other limb with children, and the
// motion table written as it stands.
//
// A save never destroys the file it replaces: the figure goes into a new file beside the target,
// which takes the target's place only once every write and the close have succeeded.
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "hierarchy/line_writer.h"
#include "hierarchy/std_file.h"
#include "model/figure_data.h"
#include "model/limb_channels.h"
#include "platform/file_replace.h"
#include "plugin/host_library.h"

namespace {

// How the six standard channel types are spelt in a written file.
const char* const kStandardChannelNames[] = {nullptr,     "Xposition", "Yposition", "Zposition",
                                             "Xrotation", "Yrotation", "Zrotation"};
// The fixed CHANNELS lines of a figure built by hand.
constexpr char kRootChannels[] =
    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation";
constexpr char kJointChannels[] = "\tCHANNELS 3 Zrotation Xrotation Yrotation";
// The frame time written for a motion that came with none.
constexpr char kUsualFrameTime[] = "0.033333";
// The name the reader gives every End Site child, and so the only leaf written as one.
constexpr char kEndSiteName[] = "End";

// Whether any limb of the tree declared channels when it was read. Limbs below kMaxLimbDepth
// are not looked at: no file makes them, and the walk must stay within the stack.
bool declaresChannels(const Limb* limb, int level) {
    if (limb->declaredChannels > 0)
        return true;
    if (level >= kMaxLimbDepth)
        return false;
    for (uint32_t i = 0; i < limb->childCount; ++i)
        if (limb->children[i] != nullptr && declaresChannels(limb->children[i], level + 1))
            return true;
    return false;
}

// The channels a written limb owns in the motion table, or none when its declaration does not
// lie wholly within the table.
bool ownChannels(const Limb* limb, const MotionTable* motion, uint32_t* first, uint32_t* count) {
    const ChannelSpan own = limbChannels(limb, motion);
    if (own.count == 0 || own.count != limb->declaredChannels)
        return false;
    *first = own.first;
    *count = own.count;
    return true;
}

// The limbs whose channels the motion section writes, in the order writeLimb writes them: the
// live limbs in pre-order, down to the same depth. Channels are contiguous and declared in file
// order, so at most kMaxChannels limbs own any.
struct WrittenChannels {
    const Limb* limbs[kMaxChannels];
    int count = 0;
};

void collectWrittenChannels(const Limb* limb, const MotionTable* motion, int level,
                            WrittenChannels* written) {
    uint32_t first = 0, count = 0;
    if (ownChannels(limb, motion, &first, &count) && written->count < kMaxChannels)
        written->limbs[written->count++] = limb;
    if (level >= kMaxLimbDepth)
        return;
    for (uint32_t i = 0; i < limb->childCount; ++i) {
        const Limb* child = limb->children[i];
        if (child != nullptr && child->deleted != 1)
            collectWrittenChannels(child, motion, level + 1, written);
    }
}

// The channels the CHANNELS lines of the fixed layout declare, limb by limb as writeLimb writes
// them: six on the root and three on every other limb with children, down to the same depth.
int fixedLayoutColumns(const Limb* limb, int level) {
    int columns = limb->childCount == 0 ? 0 : level == 0 ? 6 : 3;
    if (level >= kMaxLimbDepth)
        return columns;
    for (uint32_t i = 0; i < limb->childCount; ++i) {
        const Limb* child = limb->children[i];
        if (child != nullptr && child->deleted != 1)
            columns += fixedLayoutColumns(child, level + 1);
    }
    return columns;
}

// written: the limbs whose declared channels each frame line holds; null for the fixed layout,
// whose lines hold the table's channels as they stand, filled out with zeros to columns so that
// every frame reads back whole.
void writeMotion(LineWriter& out, const MotionTable& motion, const WrittenChannels* written,
                 int columns) {
    out.begin(0);
    out.text("MOTION");
    out.end();
    out.begin(0);
    out.text("Frames:     ");
    out.count(motion.frameCount);
    out.end();
    // The capture's own frame time; a figure that had none plays at 30 frames a second.
    out.begin(0);
    out.text("Frame Time: ");
    if (motion.frameTime > 0.0)
        out.exactNumber(motion.frameTime);
    else
        out.text(kUsualFrameTime);
    out.end();
    for (uint32_t frame = 0; frame < motion.frameCount && out.ok(); ++frame) {
        int f = static_cast<int>(frame);
        out.begin(0);
        if (written != nullptr) {
            for (int i = 0; i < written->count; ++i) {
                const Limb* limb = written->limbs[i];
                for (uint32_t c = 0; c < limb->declaredChannels; ++c) {
                    out.number(motion.value(static_cast<int>(limb->firstChannel + c), f));
                    out.text(" ");
                }
            }
        } else {
            for (int c = 0; c < motion.channelCount(); ++c) {
                out.number(motion.value(c, f));
                out.text(" ");
            }
            for (int c = motion.channelCount(); c < columns; ++c)
                out.text("0 ");
        }
        out.end();
    }
}

// One save's working state: the figure being written, its lines, and which channel layout its
// limbs write. The figure's outputFile and depth are kept up to date while it writes.
class FigureWriter {
  public:
    FigureWriter(FigureData& figure, LineWriter& lines, bool writesDeclaredChannels)
        : figure_(figure), lines_(lines), writesDeclaredChannels_(writesDeclaredChannels) {}

    // Writes one limb's block and its live children's blocks at the figure's current depth; 0
    // for none or when a write failed.
    int writeLimb(const Limb* limb, int isRoot);

  private:
    // Writes the lines of the limb's block before its children's blocks.
    void writeHead(const Limb* limb, int isRoot);
    // Writes the limb's CHANNELS line, if it gets one.
    void writeChannels(const Limb* limb, int isRoot);

    FigureData& figure_;
    LineWriter& lines_;
    // Whether limbs write the channels they declared (a figure read from a file) or the fixed
    // layout (a figure built by hand).
    const bool writesDeclaredChannels_;
};

void FigureWriter::writeChannels(const Limb* limb, int isRoot) {
    LineWriter& out = lines_;
    const int depth = figure_.depth;
    if (!writesDeclaredChannels_) {
        if (limb->childCount == 0)
            return;
        out.begin(depth);
        out.text(isRoot ? kRootChannels : kJointChannels);
        out.end();
        return;
    }
    const MotionTable* motion = figure_.motion;
    uint32_t first = 0, count = 0;
    if (!ownChannels(limb, motion, &first, &count))
        return;
    out.begin(depth);
    out.text("\tCHANNELS ");
    out.count(count);
    for (uint32_t c = first; c < first + count; ++c) {
        const MotionChannel& channel = motion->channels[c];
        bool standard = channel.type >= kChannelXPosition && channel.type <= kChannelZRotation;
        out.text(" ");
        if (standard)
            out.text(kStandardChannelNames[channel.type]);
        else
            out.name(channel.name);
    }
    out.end();
}

void FigureWriter::writeHead(const Limb* limb, int isRoot) {
    LineWriter& out = lines_;
    const int depth = figure_.depth;
    // A leaf is written as End Site only when it came from one: any other name would be lost.
    out.begin(depth);
    if (!isRoot && limb->childCount == 0 && std::strcmp(limb->name, kEndSiteName) == 0) {
        out.text("End Site");
    } else {
        out.text(isRoot ? "ROOT " : "JOINT ");
        out.name(limb->name);
    }
    out.end();
    out.begin(depth);
    out.text("{");
    out.end();
    out.begin(depth);
    out.text("\tOFFSET ");
    out.number(static_cast<double>(limb->offset.x));
    out.text(" ");
    out.number(static_cast<double>(limb->offset.y));
    out.text(" ");
    out.number(static_cast<double>(limb->offset.z));
    out.end();
    writeChannels(limb, isRoot);
    if (limb->mapName[0] != '\0') {
        out.begin(depth);
        out.text("\tMAP ");
        out.name(limb->mapName);
        out.end();
    }
}

int FigureWriter::writeLimb(const Limb* limb, int isRoot) {
    if (limb == nullptr)
        return 0;
    writeHead(limb, isRoot);
    // No file nests deeper than kMaxLimbDepth, so a tree built deeper by hand is cut there
    // rather than exhausting the stack.
    int32_t& depth = figure_.depth;
    if (depth < kMaxLimbDepth && lines_.ok()) {
        ++depth;
        for (uint32_t i = 0; i < limb->childCount; ++i) {
            const Limb* child = limb->children[i];
            if (child != nullptr && child->deleted != 1)
                writeLimb(child, 0);
        }
        --depth;
    }
    lines_.begin(depth);
    lines_.text("}");
    lines_.end();
    return lines_.ok() ? 1 : 0;
}

}  // namespace

int FigureData::writeTo(tagStandardFile* file) {
    depth = 0;
    if (root == nullptr || file == nullptr)
        return 0;
    std::unique_ptr<LineWriter> lines(new (std::nothrow) LineWriter(file));
    if (lines == nullptr)
        return 0;
    outputFile = file;
    // Only a figure whose table holds channels that no limb claims gets the fixed layout; a
    // figure read from a file without channels is written without CHANNELS lines.
    const bool writesDeclaredChannels =
        declaresChannels(root, 0) || (motion != nullptr && motion->channelCount() == 0);
    FigureWriter writer(*this, *lines, writesDeclaredChannels);
    lines->begin(0);
    lines->text("HIERARCHY");
    lines->end();
    if (lines->ok())
        writer.writeLimb(root, 1);
    if (lines->ok() && motion != nullptr && motion->frameCount != 0) {
        if (writesDeclaredChannels) {
            WrittenChannels written;
            collectWrittenChannels(root, motion, 0, &written);
            writeMotion(*lines, *motion, &written, 0);
        } else {
            writeMotion(*lines, *motion, nullptr, fixedLayoutColumns(root, 0));
        }
    }
    const bool ok = lines->ok();
    outputFile = nullptr;
    return ok ? 1 : 0;
}

int FigureData::save(const char* path) {
    depth = 0;
    if (root == nullptr)
        return 0;
    if (path == nullptr)
        path = "";
    const platform::SaveTarget save = platform::chooseSaveTarget(AddExt(path, ".fig"));
    tagStandardFile* file = StdOpenFile(save.written.c_str(), kStdOpenCreate);
    if (file == nullptr) {
        if (save.replaces())
            platform::removeFile(save.written);
        ErrorMessage("Unable to create Figure data file %s", path);
        return 0;
    }
    StdFlush(file);

    // A full disk shows up as a failed write, a failed flush to the disk or a failed close;
    // any of them leaves the target as it was, and the user must know.
    bool written = writeTo(file) == 1;
    if (written && save.replaces())
        written = platform::syncFile(file->handle);
    const bool closed = StdCloseFile(file) == 1;
    if (!platform::finishSave(save, written && closed)) {
        ErrorMessage("Unable to write Figure data file %s", path);
        return 0;
    }
    return 1;
}
