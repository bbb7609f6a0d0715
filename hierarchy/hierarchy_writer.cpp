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
#include "model/limb_walk.h"
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

// Whether any limb of the tree, deleted ones included, declared channels when it was read.
bool declaresChannels(const Limb* root) {
    return findFirstLimb(root, DeletedLimbs::kVisited,
                         [](const Limb* limb) { return limb->declaredChannels > 0; }) != nullptr;
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

// The limbs whose channels the motion section writes, in the order writeTree writes them: the
// live limbs in the order of the walk. Channels are contiguous and declared in file
// order, so at most kMaxChannels limbs own any.
struct WrittenChannels {
    const Limb* limbs[kMaxChannels];
    int count = 0;
};

void collectWrittenChannels(const Limb* root, const MotionTable* motion, WrittenChannels* written) {
    forEachLimb(root, DeletedLimbs::kSkipped, [&](const Limb* limb, const Limb*, int) {
        uint32_t first = 0, count = 0;
        if (ownChannels(limb, motion, &first, &count) && written->count < kMaxChannels)
            written->limbs[written->count++] = limb;
    });
}

// The channels the CHANNELS lines of the fixed layout declare, limb by limb as writeTree writes
// them: six on the root and three on every other limb with children.
int fixedLayoutColumns(const Limb* root) {
    int columns = 0;
    forEachLimb(root, DeletedLimbs::kSkipped, [&](const Limb* limb, const Limb* parent, int) {
        columns += limb->childCount == 0 ? 0 : parent == nullptr ? 6 : 3;
    });
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

    // Writes the root's block with its live limbs' blocks nested in it; 0 when a write failed.
    int writeTree(const Limb* root);

    // The walk's visitor: a limb's block opens on entering it and closes on leaving it, with
    // the figure's depth set to the limb's depth meanwhile.
    LimbWalkStep enter(const Limb* limb, const Limb* parent, int depth);
    void leave(const Limb* limb, int depth);

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

LimbWalkStep FigureWriter::enter(const Limb* limb, const Limb* parent, int depth) {
    figure_.depth = depth;
    writeHead(limb, parent == nullptr ? 1 : 0);
    // After a failed write the blocks still open are only closed: the save fails anyway.
    return lines_.ok() ? LimbWalkStep::kBelow : LimbWalkStep::kNotBelow;
}

void FigureWriter::leave(const Limb*, int depth) {
    figure_.depth = depth;
    lines_.begin(depth);
    lines_.text("}");
    lines_.end();
}

int FigureWriter::writeTree(const Limb* root) {
    // No file nests deeper than kMaxLimbDepth, so a tree built deeper by hand is cut there.
    walkLimbTree(root, DeletedLimbs::kSkipped, *this);
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
        declaresChannels(root) || (motion != nullptr && motion->channelCount() == 0);
    FigureWriter writer(*this, *lines, writesDeclaredChannels);
    lines->begin(0);
    lines->text("HIERARCHY");
    lines->end();
    if (lines->ok())
        writer.writeTree(root);
    if (lines->ok() && motion != nullptr && motion->frameCount != 0) {
        if (writesDeclaredChannels) {
            WrittenChannels written;
            collectWrittenChannels(root, motion, &written);
            writeMotion(*lines, *motion, &written, 0);
        } else {
            writeMotion(*lines, *motion, nullptr, fixedLayoutColumns(root));
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
