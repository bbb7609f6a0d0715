// The hierarchy reader: statements, blocks, comments and the motion section, and reading a whole
// file into a figure.
#include "hierarchy/hierarchy_reader.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "hierarchy/number_reading.h"
#include "hierarchy/std_file.h"
#include "model/figure_data.h"
#include "model/name_compare.h"
#include "plugin/host_library.h"

const KeywordEntry kHierarchyKeywords[] = {
    {kKeywordHash, "#"},
    {kKeywordOpen, "{"},
    {kKeywordClose, "}"},
    {kKeywordHierarchy, "HIERARCHY"},
    {kKeywordRoot, "ROOT"},
    {kKeywordOffset, "OFFSET"},
    {kKeywordChannels, "CHANNELS"},
    {kKeywordJoint, "JOINT"},
    {kKeywordMotion, "MOTION"},
    {kKeywordEnd, "END"},
    {kKeywordMap, "MAP"},
    {kKeywordLoad, "LOAD"},
    {kKeywordName, "NAME"},
    {-1, nullptr},
};

namespace {

// Comment markers, recognised only as whole tokens where a statement may begin.
constexpr char kCommentOpen[] = "/*";
constexpr char kCommentClose[] = "*/";
// The name every End Site child gets, whatever word follows End.
constexpr char kEndLimbName[] = "End";
// The header words of the motion section.
constexpr char kFramesWord[] = "Frames:";
constexpr char kFrameWord[] = "Frame";
constexpr char kTimeWord[] = "Time:";
// The host's transform code and operation that fit a scene file loaded by a LOAD statement.
constexpr int kNormalizeCode = -3;
constexpr char kNormalizeOperation[] = "normalize";

// The next token of the file being read; null at its end. Valid until the next call.
const char* nextToken(MotionTable* table) {
    return StdGetNextArg(table->source);
}

// The next token at the place of a statement, with comments passed over; null when the file
// ends, also inside a comment.
const char* nextStatement(MotionTable* table) {
    for (;;) {
        const char* token = nextToken(table);
        if (token == nullptr || std::strcmp(token, kCommentOpen) != 0) {
            return token;
        }
        do {
            token = nextToken(table);
            if (token == nullptr) {
                return nullptr;
            }
        } while (std::strcmp(token, kCommentClose) != 0);
    }
}

// OFFSET x y z. The offset is set only once all three numbers have come, so a file that ends
// inside the statement leaves the limb as it was. False at the end of the file.
bool readOffset(MotionTable* table, Limb* limb) {
    float xyz[3];
    for (float& coordinate : xyz) {
        const char* token = nextToken(table);
        if (token == nullptr) {
            return false;
        }
        coordinate = static_cast<float>(readNumber(token));
    }
    if (limb != nullptr) {
        PiPoint offset{xyz[0], xyz[1], xyz[2]};
        CopyPoint(&offset, &limb->offset);
    }
    return true;
}

// CHANNELS count name... A negative count declares nothing. A count that would take the table
// past kMaxChannels is refused and its names stay in the input, but its columns are counted so
// that the motion values of later channels stay in their own columns. Names are declared as they
// come, so a file that ends inside the list keeps those that came. With no limb (a child that
// could not be made) the channels are still declared. False at the end of the file.
bool readChannels(MotionTable* table, Limb* limb) {
    const char* token = nextToken(table);
    if (token == nullptr) {
        return false;
    }
    int count = readCount(token);
    if (count < 0) {
        return true;
    }
    if (count > kMaxChannels - table->channelCount()) {
        table->skipColumns(count);
        return true;
    }
    if (limb != nullptr) {
        limb->firstChannel = static_cast<uint32_t>(table->channelCount());
        limb->declaredChannels = 0;
    }
    for (int i = 0; i < count; ++i) {
        const char* name = nextToken(table);
        if (name == nullptr) {
            return false;
        }
        if (table->declareChannel(name) >= 0 && limb != nullptr) {
            limb->declaredChannels += 1;
        }
    }
    return true;
}

// The header of the motion section: "Frames:" and its count (the declared count, at least 0,
// goes to *declared), "Frame", "Time:" and the frame time. Returns the first token that is none
// of them, the first value; null when the file ends first.
const char* readMotionHeader(MotionTable* table, int* declared) {
    for (;;) {
        const char* token = nextToken(table);
        if (token == nullptr) {
            return nullptr;
        }
        if (names::sameIgnoringCase(token, kFramesWord)) {
            const char* count = nextToken(table);
            if (count == nullptr) {
                return nullptr;
            }
            int frames = readCount(count);
            *declared = frames < 0 ? 0 : frames;
            table->frameCount =
                static_cast<uint32_t>(*declared > kMaxFrames ? kMaxFrames : *declared);
        } else if (names::sameIgnoringCase(token, kFrameWord)) {
            continue;
        } else if (names::sameIgnoringCase(token, kTimeWord)) {
            const char* time = nextToken(table);
            if (time == nullptr) {
                return nullptr;
            }
            // Only a positive duration is a frame time; anything else counts as none.
            double seconds = readNumber(time);
            table->frameTime = seconds > 0.0 ? seconds : 0.0;
        } else {
            return token;
        }
    }
}

// Settles the frames kept once the rows are read: frameCount is the rows that came whole (within
// the table), and the values of a row the file ended inside go back to 0.0, as every value past
// frameCount stands.
void keepCompleteRows(MotionTable* table, int declared, int complete) {
    const int kept = declared < kMaxFrames ? declared : kMaxFrames;
    if (complete < kept) {
        for (int c = 0; c < table->channelCount(); ++c) {
            table->channels[c].values[complete] = 0.0;
        }
        table->frameCount = static_cast<uint32_t>(complete);
    }
    table->noteRows(declared, complete);
}

// MOTION, its header and its values, frame by frame and column by column. Values of columns
// whose channel was refused are read and passed over. A file that ends before its values do
// keeps the rows that came whole: frameCount counts them, and the table notes how many of the
// declared rows came. Rows past the frames the table keeps are read and counted, not kept.
void readMotion(MotionTable* table) {
    // A second motion section without a "Frames:" line reads as many rows as the table holds.
    int declared = static_cast<int>(table->frameCount);
    const char* token = readMotionHeader(table, &declared);
    const int columns = table->columnCount();
    // With no columns every row is whole without a value; the token that ended the header is
    // dropped.
    if (columns == 0) {
        table->noteRows(declared, declared);
        return;
    }
    if (token == nullptr) {
        keepCompleteRows(table, declared, 0);
        return;
    }
    // The token that ended the header is the first value; the token after the last value is
    // dropped, and so is that first token when there are no values to read.
    const int frames = declared < kMaxFrames ? declared : kMaxFrames;
    const int channels = table->channelCount();
    for (int frame = 0; frame < frames; ++frame) {
        int channel = 0;
        int nextColumn = table->channelColumn(0);
        for (int column = 0; column < columns; ++column) {
            if (column == nextColumn) {
                table->channels[channel].values[frame] = readNumber(token);
                ++channel;
                nextColumn = channel < channels ? table->channelColumn(channel) : -1;
            }
            token = nextToken(table);
            if (token == nullptr) {
                keepCompleteRows(table, declared, column == columns - 1 ? frame + 1 : frame);
                return;
            }
        }
    }
    if (declared <= frames) {
        table->noteRows(declared, declared);
        return;
    }
    // The rows past the table: the token in hand is their first value. Exactly their values are
    // read, so that statements after a whole motion section still apply to the root.
    const int64_t wanted = static_cast<int64_t>(declared - frames) * columns;
    int64_t values = 1;
    while (values < wanted && nextToken(table) != nullptr) {
        ++values;
    }
    table->noteRows(declared, frames + static_cast<int>(values / columns));
}

// One statement that neither opens nor closes a block, its keyword already read. With no limb,
// the statement reads its tokens and stores nothing in a limb. False at the end of the file.
bool readStatement(MotionTable* table, Limb* limb, int id) {
    switch (id) {
        case kKeywordRoot: {
            const char* name = nextToken(table);
            if (name == nullptr) {
                return false;
            }
            setName(limb, name);
            return true;
        }
        case kKeywordOffset:
            return readOffset(table, limb);
        case kKeywordChannels:
            return readChannels(table, limb);
        case kKeywordMap: {
            const char* name = nextToken(table);
            if (name == nullptr) {
                return false;
            }
            setMapName(limb, name);
            if (table->mapCount < INT32_MAX) {
                table->mapCount += 1;
            }
            return true;
        }
        case kKeywordLoad: {
            const char* fileName = nextToken(table);
            if (fileName == nullptr) {
                return false;
            }
            if (piLoad(fileName) != 0) {
                piTransform(kNormalizeCode, kNormalizeOperation);
            }
            return true;
        }
        case kKeywordName:
            return nextToken(table) != nullptr;
        default:
            // Words that are no keyword, "#", "{" and "HIERARCHY" are passed over.
            return true;
    }
}

// The blocks of children too deep to be made, the first one's opening statement already read.
// They are read in one loop that counts the levels instead of recursing, so that no nesting in a
// file can exhaust the stack; every statement in them reads its tokens as in any other block.
// 1 once the first block has ended, 0 at the end of the file.
int readUnmadeBlocks(MotionTable* table) {
    int64_t levels = 1;
    for (;;) {
        const char* token = nextStatement(table);
        if (token == nullptr) {
            return 0;
        }
        int id = lookupKeyword(token, kHierarchyKeywords);
        switch (id) {
            case kKeywordClose:
                --levels;
                break;
            case kKeywordMotion:
                readMotion(table);
                --levels;
                break;
            case kKeywordJoint:
            case kKeywordEnd:
                if (nextToken(table) == nullptr) {
                    return 0;
                }
                ++levels;
                break;
            default:
                if (!readStatement(table, nullptr, id)) {
                    return 0;
                }
                break;
        }
        if (levels == 0) {
            return 1;
        }
    }
}

// One block with limb as the current limb, depth levels below the limb the loader passed.
int parseLevel(MotionTable* table, Limb* limb, int depth) {
    for (;;) {
        const char* token = nextStatement(table);
        if (token == nullptr) {
            return 0;
        }
        int id = lookupKeyword(token, kHierarchyKeywords);
        switch (id) {
            case kKeywordClose:
                return 1;
            case kKeywordMotion:
                readMotion(table);
                return 1;
            case kKeywordJoint:
            case kKeywordEnd: {
                // The word is read before the child is made, so a file that ends right after
                // JOINT or End leaves no unnamed limb behind.
                const char* word = nextToken(table);
                if (word == nullptr) {
                    return 0;
                }
                int result = 0;
                if (depth >= kMaxLimbDepth) {
                    result = readUnmadeBlocks(table);
                } else {
                    Limb* child = addChild(limb);
                    setName(child, id == kKeywordJoint ? word : kEndLimbName);
                    result = parseLevel(table, child, depth + 1);
                }
                // The end of the file ends every level at once.
                if (result == 0) {
                    return 0;
                }
                break;
            }
            default:
                if (!readStatement(table, limb, id)) {
                    return 0;
                }
                break;
        }
    }
}

}  // namespace

int lookupKeyword(const char* word, const KeywordEntry* rows) {
    if (word == nullptr || rows == nullptr) {
        return 0;
    }
    for (const KeywordEntry* row = rows; row->id != -1; ++row) {
        if (names::sameNameQuick(row->word, word)) {
            return row->id;
        }
    }
    return 0;
}

int parseBlock(MotionTable* table, Limb* limb) {
    if (table == nullptr) {
        return 0;
    }
    return parseLevel(table, limb, 0);
}

int FigureData::read(const char* path, int isBioVision, std::string* opened) {
    if (root != nullptr) {
        freeTree(root);
        root = nullptr;
    }
    root = newLimb();
    if (root == nullptr)
        return 0;

    // AddExt answers in a buffer of the host's that its next call reuses.
    const std::string fileName = AddExt(path, isBioVision ? ".bvh" : ".fig");
    if (opened != nullptr)
        *opened = fileName;
    tagStandardFile* file = StdOpenFile(fileName.c_str(), kStdOpenRead);
    if (file == nullptr) {
        ErrorMessage(isBioVision ? "Unable to open BioVision data file"
                                 : "Unable to open Figure data file");
        return 0;
    }
    StdFlush(file);

    delete motion;
    motion = MotionTable::create(file);
    if (motion == nullptr) {
        StdCloseFile(file);
        return 0;
    }
    while (parseBlock(motion, root) != 0) {
    }
    StdCloseFile(file);
    motion->source = nullptr;  // the record is freed; nothing may read through it again

    // The frames that came whole are kept; the user learns that the rest never came, with the
    // file named as it was opened.
    if (motion->endedEarly())
        ErrorMessage("%s: the file ends after %d of %d frames", fileName.c_str(),
                     motion->completeFrames(), motion->declaredFrames());
    if (motion->mapCount != 0)
        segmentStyle = kSegmentLines;
    return 1;
}
