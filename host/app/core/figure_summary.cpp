// Summing up a loaded figure from its records: limbs, channels, values, joints.
#include "host/app/core/figure_summary.h"

#include <cmath>
#include <cstring>

#include "model/figure_data.h"
#include "model/limb_walk.h"

namespace fighost {
namespace {

// Lines whose joints differ by less than this are taken to meet.
constexpr float kJointTolerance = 1e-4f;

// Adds one limb's entry, linked to its parent's (an index, -1 for none); the entry's index.
int addLimb(const Limb* limb, const MotionTable* motion, int parent, int depth,
            FigureSummary* summary) {
    LimbSummary entry;
    entry.name.assign(limb->name, strnlen(limb->name, sizeof limb->name));
    entry.mapName.assign(limb->mapName, strnlen(limb->mapName, sizeof limb->mapName));
    entry.offset = limb->offset;
    entry.radius = limb->radius;
    entry.firstChannel = limb->firstChannel;
    entry.parent = parent;
    entry.depth = depth;
    for (uint32_t k = 0; motion != nullptr && k < limb->declaredChannels; ++k) {
        uint32_t channel = limb->firstChannel + k;
        if (channel >= static_cast<uint32_t>(motion->channelCount()))
            break;
        const char* name = motion->channels[channel].name;
        entry.channels.emplace_back(name, strnlen(name, kChannelNameSize));
    }
    int index = static_cast<int>(summary->limbs.size());
    summary->limbs.push_back(entry);
    if (parent >= 0)
        summary->limbs[parent].children.push_back(index);
    return index;
}

// Adds the live limbs to the summary in pre-order, each linked to its parent.
class LimbSumming {
  public:
    struct Level {
        int index;
    };

    LimbSumming(const MotionTable* motion, FigureSummary* summary)
        : motion_(motion), summary_(summary) {}

    LimbWalkStep enter(const Limb* limb, const Limb*, int depth, const Level* parentLevel,
                       Level& own) {
        const int parent = parentLevel != nullptr ? parentLevel->index : -1;
        own.index = addLimb(limb, motion_, parent, depth, summary_);
        return LimbWalkStep::kBelow;
    }

  private:
    const MotionTable* const motion_;
    FigureSummary* const summary_;
};

bool meets(const PiPoint& a, const PiPoint& b) {
    return std::fabs(a.x - b.x) <= kJointTolerance && std::fabs(a.y - b.y) <= kJointTolerance &&
           std::fabs(a.z - b.z) <= kJointTolerance;
}

struct Line {
    PiPoint from, to;
};

// Gives each child of limb the end of the next line, then walks into the children; false when
// the lines run out or one does not start at its parent's joint.
bool attributeLines(FigureSummary* summary, int limb, const std::vector<Line>& lines,
                    size_t* next) {
    const std::vector<int> children = summary->limbs[limb].children;
    for (int child : children) {
        if (*next >= lines.size() || !meets(lines[*next].from, summary->joints[limb]))
            return false;
        summary->joints[child] = lines[(*next)++].to;
    }
    for (int child : children)
        if (!attributeLines(summary, child, lines, next))
            return false;
    return true;
}

}  // namespace

double channelValue(const FigureData& figure, int channel, int frame) {
    const MotionTable* motion = figure.motion;
    if (motion == nullptr || channel < 0 || channel >= kMaxChannels || frame < 0 ||
        frame >= kMaxFrames)
        return 0.0;
    uint32_t frames = motion->frameCount < static_cast<uint32_t>(kMaxFrames)
                          ? motion->frameCount
                          : static_cast<uint32_t>(kMaxFrames);
    if (frames == 0)
        frame = 0;
    else if (static_cast<uint32_t>(frame) >= frames)
        frame = static_cast<int>(frames) - 1;
    return motion->channels[channel].values[frame];
}

PiPoint rootPosition(const FigureData& figure, int frame, bool posed) {
    PiPoint position{0.0f, 0.0f, 0.0f};
    const MotionTable* motion = figure.motion;
    if (posed && motion != nullptr && motion->channelCount() > 3 &&
        motion->channels[0].type == kChannelXPosition) {
        position.x = static_cast<float>(channelValue(figure, 0, frame));
        position.y = static_cast<float>(channelValue(figure, 1, frame));
        position.z = static_cast<float>(channelValue(figure, 2, frame));
    }
    return position;
}

FigureSummary summarizeFigure(const FigureData& figure, const std::string& objectName,
                              const std::string& loader) {
    FigureSummary summary;
    summary.object = objectName;
    summary.loader = loader;
    summary.posing = figure.posing;
    LimbSumming summing(figure.motion, &summary);
    walkLimbTree(static_cast<const Limb*>(figure.root), DeletedLimbs::kSkipped, summing);
    if (figure.motion != nullptr) {
        summary.channelCount = figure.motion->channelCount();
        summary.frameCount = figure.motion->frameCount;
    }
    return summary;
}

void addFrame(const FigureData& figure, const standin::SceneObject& object, int frame, bool posed,
              FigureSummary* summary) {
    summary->atFrame = true;
    summary->frame = frame;
    summary->posed = posed;
    summary->values.clear();
    const MotionTable* motion = figure.motion;
    for (int i = 0; motion != nullptr && i < summary->channelCount; ++i) {
        ChannelValue value;
        value.name.assign(motion->channels[i].name,
                          strnlen(motion->channels[i].name, kChannelNameSize));
        value.value = channelValue(figure, i, frame);
        summary->values.push_back(value);
    }
    for (size_t limb = 0; limb < summary->limbs.size(); ++limb) {
        const LimbSummary& entry = summary->limbs[limb];
        for (size_t k = 0; k < entry.channels.size(); ++k) {
            size_t channel = entry.firstChannel + k;
            if (channel < summary->values.size())
                summary->values[channel].limb = static_cast<int>(limb);
        }
    }

    std::vector<Line> lines;
    for (const standin::GeometryItem& item : object.geometry)
        if (item.kind == host::kGeometryLine && item.first + 1 < object.points.size())
            lines.push_back({object.points[item.first], object.points[item.first + 1]});
    summary->joints.assign(summary->limbs.size(), PiPoint{0.0f, 0.0f, 0.0f});
    summary->jointsKnown = false;
    if (summary->limbs.empty())
        return;
    summary->joints[0] = lines.empty() ? rootPosition(figure, frame, posed) : lines[0].from;
    size_t next = 0;
    // Every line must be accounted for: one more or fewer means the drawing is not the tree's.
    summary->jointsKnown = attributeLines(summary, 0, lines, &next) && next == lines.size() &&
                           object.count(host::kGeometryTriangle) == 0;
}

}  // namespace fighost
