// Any bytes the reader accepts are saved and read again, and the two figures must be equal as a
// save promises: the same tree, names, offsets, map names, channels and values (to the six
// significant digits of "%g"), apart from what the format does not keep. The figure is written
// by the writer's own code into an in-memory file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/figure_read.h"
#include "fuzz/memory_files.h"
#include "hierarchy/std_file.h"
#include "model/figure_data.h"
#include "model/limb_walk.h"

namespace {

[[noreturn]] void differ(const char* what, const std::string& first, const std::string& second) {
    std::fprintf(stderr, "round trip: %s differs: \"%s\" read back as \"%s\"\n", what,
                 first.c_str(), second.c_str());
    std::fprintf(stderr, "saved file:\n%s\n", memory_files::contents("saved.fig").c_str());
    abort();
}

std::string numberText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool needsQuotes(const char* name) {
    return name[0] == '\0' || std::strpbrk(name, "\t\n\r ,\"") != nullptr;
}

// The name a save keeps: a name written in quotes loses one backslash of every odd run of them
// that stands before a double quote or at its end, since the reader would pair it with the quote.
std::string keptName(const char* name) {
    std::string kept;
    const bool quoted = needsQuotes(name);
    for (const char* p = name; *p != '\0';) {
        size_t run = std::strspn(p, "\\");
        if (run == 0) {
            kept += *p++;
            continue;
        }
        const bool beforeQuote = p[run] == '"' || p[run] == '\0';
        kept.append(quoted && beforeQuote && run % 2 == 1 ? run - 1 : run, '\\');
        p += run;
    }
    return kept;
}

void expectSameName(const char* what, const char* first, const char* second) {
    if (keptName(first) != second)
        differ(what, first, second);
}

// Compares one limb and its subtree; withChannels is false for a figure whose channels belong to
// no limb, which is written with the fixed layout of a figure built by hand.
void compare(const Limb* a, const MotionTable& ma, const Limb* b, const MotionTable& mb,
             bool withChannels) {
    expectSameName("limb name", a->name, b->name);
    expectSameName("map name", a->mapName, b->mapName);
    const float* pa = &a->offset.x;
    const float* pb = &b->offset.x;
    for (int i = 0; i < 3; ++i)
        if (pa[i] != pb[i] && numberText(pa[i]) != numberText(pb[i]))
            differ(a->name, numberText(pa[i]), numberText(pb[i]));
    if (a->childCount != b->childCount)
        differ("child count", std::to_string(a->childCount), std::to_string(b->childCount));
    if (withChannels) {
        if (a->declaredChannels != b->declaredChannels)
            differ("channel count", std::to_string(a->declaredChannels),
                   std::to_string(b->declaredChannels));
        for (uint32_t c = 0; c < a->declaredChannels; ++c) {
            const int ca = static_cast<int>(a->firstChannel + c);
            const int cb = static_cast<int>(b->firstChannel + c);
            if (ma.channelType(ca) != mb.channelType(cb))
                differ("channel type", ma.channels[ca].name, mb.channels[cb].name);
            if (ma.channelType(ca) == kChannelNone)
                expectSameName("channel name", ma.channels[ca].name, mb.channels[cb].name);
            for (uint32_t f = 0; f < ma.frameCount; ++f) {
                const double va = ma.value(ca, static_cast<int>(f));
                const double vb = mb.value(cb, static_cast<int>(f));
                // Most values come back exactly; the others must agree in what "%g" shows.
                if (va != vb && numberText(va) != numberText(vb))
                    differ("value", numberText(va), numberText(vb));
            }
        }
    }
    for (uint32_t i = 0; i < a->childCount; ++i)
        compare(a->children[i], ma, b->children[i], mb, withChannels);
}

bool anyLimbDeclares(const Limb* root) {
    return findFirstLimb(root, DeletedLimbs::kVisited,
                         [](const Limb* limb) { return limb->declaredChannels > 0; }) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memory_files::put("input.bvh", data, size);
    static MotionTable* const firstTable = fuzz_support::keptTable();
    static MotionTable* const secondTable = fuzz_support::keptTable();
    fuzz_support::FigureRead first("input.bvh", firstTable);

    FigureData* figure = FigureData::create(nullptr);
    tagStandardFile* out = StdOpenFile("saved.fig", kStdOpenCreate);
    if (figure == nullptr || out == nullptr)
        abort();
    figure->root = first.root;
    figure->motion = first.motion;
    const int written = figure->writeTo(out);
    figure->root = nullptr;
    figure->motion = nullptr;
    delete figure;
    if (written != 1 || StdCloseFile(out) != 1)
        abort();

    fuzz_support::FigureRead second("saved.fig", secondTable);
    const bool withChannels = anyLimbDeclares(first.root) || first.motion->channelCount() == 0;
    compare(first.root, *first.motion, second.root, *second.motion, withChannels);
    if (first.motion->frameCount != second.motion->frameCount)
        differ("frame count", std::to_string(first.motion->frameCount),
               std::to_string(second.motion->frameCount));
    // The frame time goes with the motion section, which only a motion with frames has; one the
    // file did not give is written as 30 frames a second.
    const double frameTime = first.motion->frameTime > 0.0 ? first.motion->frameTime : 0.033333;
    if (first.motion->frameCount != 0 && second.motion->frameTime != frameTime)
        differ("frame time", std::to_string(frameTime), std::to_string(second.motion->frameTime));
    return 0;
}
