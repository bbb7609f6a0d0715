// A figure's animation: up to kMaxChannels named channels of kMaxFrames values each, in one
// fixed-size allocation so that reading and writing a value is plain indexing.
//
// Where the operations live: the table's own (making, clearing, declaring channels, values) in
// model/motion_table.cpp; filling it from a file in hierarchy/hierarchy_reader.cpp, writing it in
// hierarchy/hierarchy_writer.cpp; reading a frame into the limbs in drawing/figure_pose.cpp.
#pragma once

#include <cstdint>

struct tagStandardFile;

// The table's capacity: 128 channels of 256 frames.
constexpr int kMaxChannels = 128;
constexpr int kMaxFrames = 256;
// The last frame a motion can hold, and so the last a pose or a dialog can show.
constexpr int kLastFrame = kMaxFrames - 1;
// A channel name with its terminator: names are cut to 31 characters.
constexpr int kChannelNameSize = 32;

// What a channel drives. Names in files are matched without regard to letter case.
enum ChannelType : int32_t {
    kChannelNone = 0,
    kChannelXPosition = 1,
    kChannelYPosition = 2,
    kChannelZPosition = 3,
    kChannelXRotation = 4,
    kChannelYRotation = 5,
    kChannelZRotation = 6,
};

// The type a channel name stands for; kChannelNone for any other name.
ChannelType channelTypeForName(const char* name);

struct MotionChannel {
    char name[kChannelNameSize];  // as it stood in the file
    double values[kMaxFrames];    // one per frame; all 0.0 once the channel is declared
    ChannelType type;
};

class MotionTable {
  public:
    // Allocates a table reading from source (not owned) with all counts 0; null on failure.
    // The caller deletes it.
    static MotionTable* create(tagStandardFile* source);
    // Empties the table for a new read from source: afterwards it is exactly as create leaves a
    // new one, without a new allocation (for callers that read many files in turn).
    void clear(tagStandardFile* source);

    int channelCount() const { return channelCount_; }
    // The type of channel i; kChannelNone at or beyond channelCount.
    ChannelType channelType(int i) const;
    // The value of a channel at a frame, the frame clamped to the frames held; 0.0 for a channel
    // or frame outside the table.
    double value(int channel, int frame) const;
    // Stores a value, growing frameCount to include the frame; 0 for a channel or frame outside
    // the table, which changes nothing.
    int setValue(int channel, int frame, double v);

    // Declares the next channel: sets its name (cut to 31 characters) and type, zeroes its
    // values and returns its index; -1 when the table is full.
    int declareChannel(const char* name);
    // Counts columns of the motion section that belong to channels the table refused, so that
    // the values of later channels still come from their own columns. Negative counts add none.
    void skipColumns(int count);
    // Columns of the motion section the file declared, refused channels included.
    int columnCount() const { return columnCount_; }
    // The motion-section column channel i takes its values from; -1 at or beyond channelCount.
    int channelColumn(int i) const;

    // What the reader found of the motion section's rows: the count its "Frames:" line declared
    // and the rows that came whole before the file ended (also past the frames the table keeps).
    void noteRows(int declared, int complete);
    int declaredFrames() const { return declaredFrames_; }
    int completeFrames() const { return completeFrames_; }
    // Whether the file ended before the rows its "Frames:" line declared had all come.
    bool endedEarly() const { return completeFrames_ < declaredFrames_; }

    tagStandardFile* source;  // the file being read; only meaningful while it is read
    MotionChannel channels[kMaxChannels];

  private:
    int32_t channelCount_;  // channels 0 to channelCount_-1 are declared

  public:
    uint32_t frameCount;  // 0 to kMaxFrames
    int32_t mapCount;     // MAP lines read; a figure with any is drawn as line segments

  private:
    explicit MotionTable(tagStandardFile* file);

    int32_t columnCount_;                   // channelCount_, plus the columns of refused ones
    int32_t channelColumns_[kMaxChannels];  // the column of each declared channel, increasing
    int32_t declaredFrames_;                // the "Frames:" count as the file gave it, at least 0
    int32_t completeFrames_;                // the rows read whole

  public:
    // Seconds a frame lasts, as the file's "Frame Time:" gave it; 0 when it gave none (or none
    // that is a positive number), which a save writes as the usual 30 frames a second.
    double frameTime;
};
