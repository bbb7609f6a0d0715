// Saving a figure as a .fig file, in the grammar the hierarchy reader reads.
//
// The CHANNELS lines come from the channels each limb declared when it was read, and the motion
// section writes, frame by frame, exactly the channels of the limbs that are written, in the
// order they are written. So a figure read from a capture in any channel layout, or one with
// deleted limbs, reads back with every value in its own channel. Only a figure that declares no
// channels at all (one built by hand) gets the fixed layout: six channels on the root, three on
// every other limb with children, and the motion table written as it stands.
#include <cstring>

#include "hierarchy/std_file.h"
#include "model/figure_data.h"
#include "plugin/host_library.h"

namespace {

// How the six standard channel types are spelt in a written file.
const char* const kStandardChannelNames[] = {nullptr,     "Xposition", "Yposition", "Zposition",
                                             "Xrotation", "Yrotation", "Zrotation"};

// Characters that end a token when read back: such names are written in double quotes.
bool needsQuotes(const char* name) {
    if (name[0] == '\0')
        return true;  // an empty name would swallow the next token
    return std::strpbrk(name, "\t\n\r ,\"") != nullptr;
}

// A name as one token for the reader: as it stands, or in double quotes with each double quote
// inside written as backslash and double quote. Valid until the next call.
const char* tokenText(const char* name) {
    // Names are at most 43 characters, channel names 31: twice that plus quotes always fits.
    static char quoted[2 * kMapNameSize + 3];
    if (!needsQuotes(name))
        return name;
    char* out = quoted;
    *out++ = '"';
    for (const char* in = name; *in != '\0' && out < quoted + sizeof quoted - 3; ++in) {
        if (*in == '"')
            *out++ = '\\';
        *out++ = *in;
    }
    *out++ = '"';
    *out = '\0';
    return quoted;
}

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
// lie within the table.
bool ownChannels(const Limb* limb, const MotionTable* motion, uint32_t* first, uint32_t* count) {
    if (limb->declaredChannels == 0 || motion == nullptr)
        return false;
    uint64_t end = uint64_t{limb->firstChannel} + limb->declaredChannels;
    if (end > static_cast<uint64_t>(motion->channelCount()))
        return false;
    *first = limb->firstChannel;
    *count = limb->declaredChannels;
    return true;
}

// Writes every piece of one save and remembers whether any of them failed; after a failure the
// rest is not written.
class PieceWriter {
  public:
    explicit PieceWriter(tagStandardFile* file) : file_(file) {}

    template <typename... Args>
    void put(const char* format, Args... args) {
        if (ok_ && StdPutLine(file_, format, args...) <= 0)
            ok_ = false;
    }
    void indent(int depth) {
        for (int i = 0; i < depth; ++i)
            put("\t");
    }
    bool ok() const { return ok_; }

  private:
    tagStandardFile* file_;
    bool ok_ = true;
};

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

void writeMotion(PieceWriter& out, const MotionTable& motion, const WrittenChannels* written) {
    out.put("MOTION\n");
    out.put("Frames:     %d\n", static_cast<int>(motion.frameCount));
    out.put("Frame Time: 0.033333\n");
    for (uint32_t frame = 0; frame < motion.frameCount && out.ok(); ++frame) {
        int f = static_cast<int>(frame);
        if (written != nullptr) {
            for (int i = 0; i < written->count; ++i) {
                const Limb* limb = written->limbs[i];
                for (uint32_t c = 0; c < limb->declaredChannels; ++c)
                    out.put("%g ", motion.value(static_cast<int>(limb->firstChannel + c), f));
            }
        } else {
            for (int c = 0; c < motion.channelCount(); ++c)
                out.put("%g ", motion.value(c, f));
        }
        out.put("\n");
    }
}

}  // namespace

void FigureData::writeChannels(const Limb* limb, int isRoot) {
    PieceWriter out(outputFile);
    if (!writesDeclaredChannels) {
        if (limb->childCount == 0)
            return;
        out.indent(depth);
        out.put(isRoot ? "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation "
                         "Yrotation\n"
                       : "\tCHANNELS 3 Zrotation Xrotation Yrotation\n");
        writeFailed |= !out.ok();
        return;
    }
    uint32_t first = 0, count = 0;
    if (!ownChannels(limb, motion, &first, &count))
        return;
    out.indent(depth);
    out.put("\tCHANNELS %u", count);
    for (uint32_t c = first; c < first + count; ++c) {
        const MotionChannel& channel = motion->channels[c];
        bool standard = channel.type >= kChannelXPosition && channel.type <= kChannelZRotation;
        out.put(" %s", standard ? kStandardChannelNames[channel.type] : tokenText(channel.name));
    }
    out.put("\n");
    writeFailed |= !out.ok();
}

int FigureData::writeLimb(const Limb* limb, int isRoot) {
    if (limb == nullptr)
        return 0;
    PieceWriter out(outputFile);
    out.indent(depth);
    if (limb->childCount > 0)
        out.put("%s %s\n", isRoot ? "ROOT" : "JOINT", tokenText(limb->name));
    else
        out.put("End Site\n");
    out.indent(depth);
    out.put("{\n");
    out.indent(depth);
    out.put("\tOFFSET %g %g %g\n", static_cast<double>(limb->offset.x),
            static_cast<double>(limb->offset.y), static_cast<double>(limb->offset.z));
    writeFailed |= !out.ok();
    writeChannels(limb, isRoot);
    PieceWriter rest(outputFile);
    if (limb->mapName[0] != '\0') {
        rest.indent(depth);
        rest.put("\tMAP %s\n", tokenText(limb->mapName));
    }
    writeFailed |= !rest.ok();
    // No file nests deeper than kMaxLimbDepth, so a tree built deeper by hand is cut there
    // rather than exhausting the stack.
    if (depth < kMaxLimbDepth && !writeFailed) {
        ++depth;
        for (uint32_t i = 0; i < limb->childCount; ++i) {
            const Limb* child = limb->children[i];
            if (child != nullptr && child->deleted != 1)
                writeLimb(child, 0);
        }
        --depth;
    }
    PieceWriter close(outputFile);
    close.indent(depth);
    close.put("}\n");
    writeFailed |= !close.ok();
    return writeFailed ? 0 : 1;
}

int FigureData::save(const char* path) {
    depth = 0;
    if (root == nullptr)
        return 0;
    if (path == nullptr)
        path = "";
    outputFile = StdOpenFile(AddExt(path, ".fig"), kStdOpenCreate);
    if (outputFile == nullptr) {
        ErrorMessage("Unable to create Figure data file %s", path);
        return 0;
    }
    StdFlush(outputFile);

    writeFailed = false;
    writesDeclaredChannels = declaresChannels(root, 0);
    PieceWriter head(outputFile);
    head.put("HIERARCHY\n");
    writeFailed |= !head.ok();
    if (!writeFailed)
        writeLimb(root, 1);
    if (!writeFailed && motion != nullptr && motion->frameCount != 0) {
        PieceWriter out(outputFile);
        if (writesDeclaredChannels) {
            WrittenChannels written;
            collectWrittenChannels(root, motion, 0, &written);
            writeMotion(out, *motion, &written);
        } else {
            writeMotion(out, *motion, nullptr);
        }
        writeFailed |= !out.ok();
    }

    // A full disk shows up as a failed write or a failed close; either way the file does not
    // hold the figure, and the user must know.
    bool closed = StdCloseFile(outputFile) == 1;
    outputFile = nullptr;
    if (writeFailed || !closed) {
        ErrorMessage("Unable to write Figure data file %s", path);
        return 0;
    }
    return 1;
}
