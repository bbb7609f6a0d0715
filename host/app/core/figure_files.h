// Which of the window's figures changed since they were loaded or saved, and the file each was
// loaded from or saved to. A figure counts as changed when what a save writes differs from what
// it was then: its limbs and its motion, not the pose it stands in.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class FigureData;

namespace fighost {

// A digest of what a save writes of the figure: its limb tree and its motion.
uint64_t figureDigest(const FigureData& figure);

class FigureFiles {
  public:
    // The figure of the object came from path; saveable tells whether a save may go back there
    // (the file is in the .fig grammar).
    void loaded(int handle, const std::string& path, bool saveable, const FigureData& figure);
    // The figure was saved to path.
    void saved(int handle, const std::string& path, const FigureData& figure);
    // The object is gone.
    void forget(int handle) { files_.erase(handle); }
    // The file of the object: false when it has none.
    bool fileOf(int handle, std::string* path, bool* saveable) const;
    // The object was made again (by Undo or Redo) from a figure that came from path; it counts as
    // changed when unsaved is set, else from this figure on as after a load.
    void restored(int handle, const std::string& path, bool saveable, bool unsaved,
                  const FigureData& figure);
    // Whether the figure changed since it was loaded or saved. A figure the module made by itself
    // (the builder, a load in the Settings sheet) has no file: it counts as changed when it holds
    // any limb or channel.
    bool changed(int handle, const FigureData& figure) const;
    // The .fig file a save of the object goes to; empty when it has none (Save As then).
    std::string saveTarget(int handle) const;

  private:
    struct File {
        std::string path;
        bool saveable = false;
        uint64_t digest = 0;
        bool unsaved = false;  // changed whatever the digest says, until saved
    };
    std::map<int, File> files_;
};

}  // namespace fighost
