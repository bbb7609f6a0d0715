// Writing the figure summary as lines for a person or as one JSON document.
#include "host/app/core/summary_output.h"

#include "host/app/core/json_writer.h"
#include "host/app/core/number_format.h"
#include "model/figure_data.h"

namespace fighost {
namespace {

std::string pointText(const PiPoint& p) {
    return "(" + floatText(p.x) + ", " + floatText(p.y) + ", " + floatText(p.z) + ")";
}

// The posing in the words of the text ("as captured", "world axes") and of --posing and the JSON
// ("captured", "world"); a value the module does not know is shown as its number.
std::string posingText(int posing) {
    return posing == kPosingCaptured    ? "as captured"
           : posing == kPosingWorldAxes ? "world axes"
                                        : "unknown (" + std::to_string(posing) + ")";
}

const char* posingName(int posing) {
    return posing == kPosingCaptured ? "captured" : posing == kPosingWorldAxes ? "world" : nullptr;
}

std::string limbLabel(const FigureSummary& summary, int limb) {
    return limb >= 0 && static_cast<size_t>(limb) < summary.limbs.size() ? summary.limbs[limb].name
                                                                         : std::string("-");
}

void writeLimbJson(const FigureSummary& summary, int index, const char* key, JsonWriter* json) {
    const LimbSummary& limb = summary.limbs[index];
    json->beginObject(key);
    json->string("name", limb.name);
    json->point("offset", limb.offset.x, limb.offset.y, limb.offset.z);
    json->number("radius", limb.radius);
    json->integer("firstChannel", limb.firstChannel);
    json->stringList("channels", limb.channels);
    json->string("map", limb.mapName);
    json->beginArray("children");
    for (int child : limb.children)
        writeLimbJson(summary, child, nullptr, json);
    json->endArray();
    json->endObject();
}

}  // namespace

std::string summaryText(const FigureSummary& summary) {
    std::string out;
    out += "object    " + summary.object + "\n";
    out += "loader    " + summary.loader + "\n";
    out += "limbs     " + std::to_string(summary.limbs.size()) + "\n";
    const FileFacts& file = summary.file;
    out += "channels  " + std::to_string(summary.channelCount);
    if (file.read && file.channels > summary.channelCount)
        out += " of " + countText(file.channels) + " kept";
    out += "\nframes    " + std::to_string(summary.frameCount);
    if (file.read && file.frames > static_cast<long long>(summary.frameCount))
        out += " of " + countText(file.frames) + " kept";
    out += "\n";
    if (file.read && file.frameTime > 0)
        out += "frame time " + doubleText(file.frameTime) + " s\n";
    out += "posing    " + posingText(summary.posing) + "\n";
    // Names the module cut, one line each for limbs and channels.
    std::string kept = keptText(file, summary.frameCount, summary.channelCount);
    for (size_t start = 0, end; (end = kept.find('\n', start)) != std::string::npos;
         start = end + 1)
        if (kept.find("names cut", start) < end)
            out += "names     " + kept.substr(start, end + 1 - start);
    out += "tree\n";
    for (const LimbSummary& limb : summary.limbs) {
        out += std::string(2 + 2 * static_cast<size_t>(limb.depth), ' ') + limb.name;
        out += "  offset " + pointText(limb.offset);
        out += "  radius " + doubleText(limb.radius);
        out += "  first channel " + std::to_string(limb.firstChannel);
        if (!limb.channels.empty()) {
            out += "  channels";
            for (const std::string& channel : limb.channels)
                out += " " + channel;
        }
        if (!limb.mapName.empty())
            out += "  map " + limb.mapName;
        out += "\n";
    }
    if (!summary.atFrame)
        return out;

    out += "frame     " + std::to_string(summary.frame);
    out += summary.posed ? " (posed)\n" : " (rest pose: the module does not pose at frame 0)\n";
    out += "values\n";
    for (size_t i = 0; i < summary.values.size(); ++i) {
        const ChannelValue& value = summary.values[i];
        out += "  " + std::to_string(i) + "  " + limbLabel(summary, value.limb) + " " + value.name +
               " " + doubleText(value.value) + "\n";
    }
    if (!summary.jointsKnown) {
        out += "joints    not known: the drawn lines do not follow the tree\n";
        return out;
    }
    out += "joints\n";
    for (size_t i = 0; i < summary.limbs.size(); ++i)
        out += std::string(2 + 2 * static_cast<size_t>(summary.limbs[i].depth), ' ') +
               summary.limbs[i].name + "  " + pointText(summary.joints[i]) + "\n";
    return out;
}

std::string summaryJson(const FigureSummary& summary) {
    JsonWriter json;
    json.beginObject();
    json.string("object", summary.object);
    json.string("loader", summary.loader);
    json.integer("limbCount", static_cast<long long>(summary.limbs.size()));
    json.integer("channelCount", summary.channelCount);
    json.integer("frameCount", summary.frameCount);
    if (const char* posing = posingName(summary.posing))
        json.string("posing", posing);
    else
        json.null("posing");
    if (!summary.file.read) {
        json.null("file");
    } else {
        const FileFacts& file = summary.file;
        json.beginObject("file");
        if (file.frames < 0)
            json.null("frameCount");
        else
            json.integer("frameCount", file.frames);
        if (file.frameTime > 0)
            json.number("frameTime", file.frameTime);
        else
            json.null("frameTime");
        json.integer("channelCount", file.channels);
        json.integer("limbNamesCut", file.limbNamesCut);
        json.integer("channelNamesCut", file.channelNamesCut);
        json.endObject();
    }
    if (summary.limbs.empty())
        json.null("root");
    else
        writeLimbJson(summary, 0, "root", &json);
    if (!summary.atFrame) {
        json.null("frame");
    } else {
        json.beginObject("frame");
        json.integer("index", summary.frame);
        json.boolean("posed", summary.posed);
        json.beginArray("values");
        for (const ChannelValue& value : summary.values) {
            json.beginObject();
            if (value.limb < 0)
                json.null("limb");
            else
                json.string("limb", summary.limbs[value.limb].name);
            json.string("channel", value.name);
            json.number("value", value.value);
            json.endObject();
        }
        json.endArray();
        if (!summary.jointsKnown) {
            json.null("joints");
        } else {
            json.beginArray("joints");
            for (size_t i = 0; i < summary.limbs.size(); ++i) {
                json.beginObject();
                json.string("limb", summary.limbs[i].name);
                const PiPoint& p = summary.joints[i];
                json.point("position", p.x, p.y, p.z);
                json.endObject();
            }
            json.endArray();
        }
        json.endObject();
    }
    json.endObject();
    return json.text();
}

}  // namespace fighost
