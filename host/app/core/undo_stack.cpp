// The steps kept for Undo and Redo, and moving between them.
#include "host/app/core/undo_stack.h"

#include <iterator>

namespace fighost {

int UndoStack::keyOf(int handle) {
    for (const auto& entry : handles_)
        if (entry.second == handle && handle != -1)
            return entry.first;
    int key = nextKey_++;
    handles_[key] = handle;
    return key;
}

int UndoStack::handleOf(int key) const {
    auto found = handles_.find(key);
    return found != handles_.end() ? found->second : -1;
}

void UndoStack::moved(int key, int handle) {
    handles_[key] = handle;
}

void UndoStack::push(Step step) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > kDepth)
        steps_.erase(steps_.begin(),
                     steps_.begin() + static_cast<std::ptrdiff_t>(steps_.size() - kDepth));
    done_ = steps_.size();
}

void UndoStack::clear() {
    steps_.clear();
    done_ = 0;
}

const std::string* UndoStack::savedFigure(int key) const {
    auto found = saved_.find(key);
    return found != saved_.end() ? &found->second : nullptr;
}

bool sameObject(const std::optional<ObjectSnapshot>& a, const std::optional<ObjectSnapshot>& b) {
    if (!a || !b)
        return !a && !b;
    return a->figureFile == b->figureFile && a->name == b->name && sameTraits(a->traits, b->traits);
}

}  // namespace fighost
