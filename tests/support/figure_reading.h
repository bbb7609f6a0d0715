// Reading a figure file in a test exactly as the loader does: open it for reading, empty its
// buffer, make a fresh root and motion table, call the reader with the root until it returns 0,
// close the file. The guard frees the tree and the table.
#pragma once

#include <string>

#include "hierarchy/std_file.h"
#include "model/limb.h"
#include "model/motion_table.h"

namespace testing_support {

class FigureRead {
  public:
    // Opens path and makes the root and the table; reads nothing yet. opened() tells whether
    // the file could be opened.
    explicit FigureRead(const std::string& path);
    // Closes the file if it is still open, frees the tree and deletes the table.
    ~FigureRead();
    FigureRead(const FigureRead&) = delete;
    FigureRead& operator=(const FigureRead&) = delete;

    bool opened() const { return file_ != nullptr && motion_ != nullptr && root_ != nullptr; }
    // One top-level call of the reader with the root; its result.
    int parseOnce();
    // Calls the reader until it returns 0, then closes the file; the number of calls made.
    int parseAll();

    Limb* root() const { return root_; }
    MotionTable* motion() const { return motion_; }

  private:
    tagStandardFile* file_ = nullptr;
    Limb* root_ = nullptr;
    MotionTable* motion_ = nullptr;
};

// The tree below limb as text: each limb's name, its children in brackets, deleted limbs marked
// with a leading "~"; for instance "Hips[Chest[End],LeftUpLeg]". For small trees only.
std::string treeText(const Limb* limb);

// The contents of a file of the source tree, given relative to its top (examples/human.bvh).
std::string sourceFile(const std::string& relativePath);

}  // namespace testing_support
