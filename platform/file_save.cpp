// Saving a file by writing a new one beside it and putting that in its place: one policy, built on
// the system's calls of file_replace_*.cpp.
#include "platform/file_replace.h"

namespace platform {

SaveTarget chooseSaveTarget(const std::string& path) {
    SaveTarget save;
    save.target = followLinks(path);
    save.written = save.target;
    const FileKind kind = fileKind(save.target.c_str());
    if (kind == FileKind::kOther)
        return save;
    std::string beside = createFileBeside(save.target);
    if (beside.empty())
        return save;  // written in place, as a folder that refuses new files leaves no choice
    if (kind == FileKind::kRegular && !copyPermissions(save.target, beside)) {
        removeFile(beside);
        return save;
    }
    save.written = beside;
    return save;
}

bool finishSave(const SaveTarget& save, bool written) {
    if (!save.replaces())
        return written;
    if (written && replaceFile(save.written, save.target))
        return true;
    removeFile(save.written);
    return false;
}

}  // namespace platform
