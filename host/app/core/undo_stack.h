// The window's Undo and Redo: the steps that changed scene objects, each with what the objects
// were before and after it, as snapshots the module's own writer wrote and its loader reads back.
// An object made again from a snapshot is a new scene object with a handle of its own, so the
// steps name objects by a key that follows them through every re-making.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/app/core/figure_snapshot.h"

namespace fighost {

class UndoStack {
  public:
    // One object in a step: what it was before and after; none when it was not in the scene.
    struct Change {
        int key = 0;
        std::optional<ObjectSnapshot> before, after;
    };
    struct Step {
        std::string name;  // "Settings of walk"
        std::vector<Change> changes;
    };

    // Steps kept to undo; the oldest go beyond that.
    static constexpr size_t kDepth = 100;

    // The key of the object under handle; a new key for a handle not seen before.
    int keyOf(int handle);
    // The object's handle now; -1 when it is not in the scene.
    int handleOf(int key) const;
    // The object of key is now under handle (-1: gone from the scene).
    void moved(int key, int handle);

    // A step just done: it is the next to undo, and nothing is left to redo.
    void push(Step step);
    bool canUndo() const { return done_ != 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The names of the step Undo and Redo would take back or do again; empty for none.
    std::string undoName() const { return canUndo() ? steps_[done_ - 1].name : std::string(); }
    std::string redoName() const { return canRedo() ? steps_[done_].name : std::string(); }
    // The step to undo and the one to redo; null for none.
    const Step* undoStep() const { return canUndo() ? &steps_[done_ - 1] : nullptr; }
    const Step* redoStep() const { return canRedo() ? &steps_[done_] : nullptr; }
    // The step was undone, or redone.
    void undone() {
        if (canUndo())
            --done_;
    }
    void redone() {
        if (canRedo())
            ++done_;
    }
    // Forgets every step (the keys stay).
    void clear();
    size_t size() const { return steps_.size(); }

    // What a save of the object's figure would write at the state its file holds (loaded or
    // saved last); null when that is not known.
    const std::string* savedFigure(int key) const;
    void setSavedFigure(int key, const std::string& figureFile) { saved_[key] = figureFile; }

  private:
    std::vector<Step> steps_;
    size_t done_ = 0;             // steps_[0, done_) are done, the rest undone
    std::map<int, int> handles_;  // key → handle
    std::map<int, std::string> saved_;
    int nextKey_ = 1;
};

// Whether the two snapshots show the same object: the same figure written, name and traits.
bool sameObject(const std::optional<ObjectSnapshot>& a, const std::optional<ObjectSnapshot>& b);

}  // namespace fighost
