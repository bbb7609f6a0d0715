// Making snapshots of scene objects for Undo, and objects again from them.
#include "host/app/core/figure_snapshot.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "host/app/core/module_session.h"
#include "model/figure_data.h"
#include "model/limb_walk.h"

namespace fighost {
namespace {

// A folder of its own for one snapshot's file, removed with what is in it.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& fileName) {
        const char* base = std::getenv("TMPDIR");
        std::string folder = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") +
                             "/fighost-undo-XXXXXX";
        if (mkdtemp(&folder[0]) == nullptr)
            return;
        folder_ = folder;
        path_ = folder + "/" + fileName;
    }
    ~ScratchFile() {
        if (folder_.empty())
            return;
        // The save may leave a file of its own beside the target when it fails.
        unlink(path_.c_str());
        rmdir(folder_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // The file's path; empty when no folder could be made.
    const std::string& path() const { return path_; }

  private:
    std::string folder_, path_;
};

std::string scratchProblem() {
    return std::string("cannot make a scratch folder for Undo: ") + std::strerror(errno);
}

}  // namespace

FigureTraits traitsOf(const FigureData& figure) {
    FigureTraits traits;
    traits.style = figure.segmentStyle;
    traits.posing = figure.posing;
    return traits;
}

void applyTraits(const FigureTraits& traits, FigureData* figure) {
    figure->segmentStyle = traits.style;
    figure->posing = traits.posing;
}

bool sameTraits(const FigureTraits& a, const FigureTraits& b) {
    return a.style == b.style && a.posing == b.posing;
}

bool writeFigureFile(FigureData* figure, std::string* bytes, std::string* error) {
    if (figure == nullptr || figure->rootLimb() == nullptr) {
        *error = "the object holds no figure to keep";
        return false;
    }
    ScratchFile scratch("figure.fig");
    if (scratch.path().empty()) {
        *error = scratchProblem();
        return false;
    }
    if (figure->save(scratch.path().c_str()) != 1) {
        *error = "the figure could not be written for Undo";
        return false;
    }
    std::ifstream in(scratch.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof()) {
        *error = "the figure written for Undo could not be read back";
        return false;
    }
    *bytes = text.str();
    return true;
}

int loadFigureFile(ModuleSession* session, const std::string& figureFile, const std::string& name,
                   const FigureTraits& traits, std::string* error) {
    // The loader names the object after the file, up to its first '.': NAME.fig gives NAME.
    ScratchFile scratch(name + ".fig");
    if (scratch.path().empty()) {
        *error = scratchProblem();
        return -1;
    }
    {
        std::ofstream out(scratch.path(), std::ios::binary);
        out.write(figureFile.data(), static_cast<std::streamsize>(figureFile.size()));
        out.close();
        if (!out) {
            *error = "cannot write " + scratch.path() + " for Undo";
            return -1;
        }
    }
    if (!session->setLimbType(traits.style, error))
        return -1;
    error->clear();
    const int handle =
        session->loadWith(session->entryNameFor(kFigureLoader), scratch.path(), error);
    if (handle == -1) {
        if (error->empty())
            *error = "the module could not load the figure back";
        return -1;
    }
    FigureData* figure = session->figure(handle);
    if (figure == nullptr) {
        session->discard(handle);
        *error = "the module attached no figure to the object it made";
        return -1;
    }
    // A figure with associated objects loads drawn as lines; it is drawn as it was.
    applyTraits(traits, figure);
    return handle;
}

void relinkMaps(ModuleSession* session) {
    const std::vector<standin::SceneObject>& objects = standin::scene().objects;
    auto liveNamed = [&](const char* name) {
        for (const standin::SceneObject& object : objects)
            if (!session->deleted(object.handle) && object.name == name)
                return object.handle;
        return static_cast<int>(host::kNoObject);
    };
    for (const standin::SceneObject& object : objects) {
        FigureData* figure = session->figure(object.handle);
        if (figure == nullptr)
            continue;
        forEachLimb(figure->rootLimb(), DeletedLimbs::kVisited, [&](Limb* limb, Limb*, int) {
            if (limb->mapName[0] != '\0' && (limb->associatedObject == host::kNoObject ||
                                             session->deleted(limb->associatedObject))) {
                char name[kMapNameSize];
                std::memcpy(name, limb->mapName, kMapNameSize);
                name[kMapNameSize - 1] = '\0';
                limb->associatedObject = liveNamed(name);
            }
        });
    }
}

}  // namespace fighost
