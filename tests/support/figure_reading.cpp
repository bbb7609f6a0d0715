#include "support/figure_reading.h"

#include "hierarchy/hierarchy_reader.h"
#include "support/temp_dir.h"

namespace testing_support {

FigureRead::FigureRead(const std::string& path) {
    root_ = newLimb();
    file_ = StdOpenFile(path.c_str(), kStdOpenRead);
    if (file_ == nullptr) {
        return;
    }
    StdFlush(file_);
    motion_ = MotionTable::create(file_);
}

FigureRead::~FigureRead() {
    if (file_ != nullptr) {
        StdCloseFile(file_);
    }
    freeTree(root_);
    delete motion_;
}

int FigureRead::parseOnce() {
    if (!opened()) {
        return 0;
    }
    return parseBlock(motion_, root_);
}

int FigureRead::parseAll() {
    int calls = 0;
    if (opened()) {
        do {
            ++calls;
        } while (parseBlock(motion_, root_) != 0);
    }
    if (file_ != nullptr && StdCloseFile(file_) == 1) {
        file_ = nullptr;
    }
    return calls;
}

std::string treeText(const Limb* limb) {
    if (limb == nullptr) {
        return "";
    }
    std::string text = (limb->deleted != 0 ? "~" : "") + std::string(limb->name);
    if (limb->childCount > 0) {
        text += "[";
        for (uint32_t i = 0; i < limb->childCount && i < static_cast<uint32_t>(kMaxChildren); ++i) {
            text += (i > 0 ? "," : "") + treeText(limb->children[i]);
        }
        text += "]";
    }
    return text;
}

std::string sourceFile(const std::string& relativePath) {
    return readFile(std::string(FIGURE_SOURCE_DIR) + "/" + relativePath);
}

}  // namespace testing_support
