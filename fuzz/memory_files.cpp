// The file calls of the platform layer over in-memory files. Files are never removed; a fuzz
// target uses a few fixed names, whose storage is reused from input to input.
#include "fuzz/memory_files.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/win_file.h"

namespace {

// One open handle: the file it reads or writes and its position.
struct OpenHandle {
    std::string* file = nullptr;  // null when the slot is free
    size_t position = 0;
    bool writes = false;
};

// Handles are indices into this table plus kFirstHandle, so none is ever 0 or negative.
constexpr int kFirstHandle = 3;

struct Store {
    std::map<std::string, std::string> files;
    std::vector<OpenHandle> handles;
};

Store& store() {
    static Store instance;
    return instance;
}

OpenHandle* handleOf(win::HFILE file) {
    std::vector<OpenHandle>& handles = store().handles;
    const long index = static_cast<long>(file) - kFirstHandle;
    if (index < 0 || index >= static_cast<long>(handles.size()) || handles[index].file == nullptr)
        return nullptr;
    return &handles[index];
}

}  // namespace

namespace memory_files {

void put(const char* name, const uint8_t* bytes, size_t size) {
    store().files[name].assign(reinterpret_cast<const char*>(bytes), size);
}

const std::string& contents(const char* name) {
    static const std::string none;
    auto found = store().files.find(name);
    return found == store().files.end() ? none : found->second;
}

}  // namespace memory_files

namespace win {

HFILE OpenFile(const char* fileName, OFSTRUCT*, unsigned style) {
    if (fileName == nullptr)
        return kFileError;
    Store& s = store();
    const bool creates = (style & OF_CREATE) != 0;
    auto found = s.files.find(fileName);
    if (found == s.files.end()) {
        if (!creates)
            return kFileError;
        found = s.files.emplace(fileName, std::string()).first;
    } else if (creates) {
        found->second.clear();
    }
    OpenHandle handle{&found->second, 0, creates || (style & (OF_WRITE | OF_READWRITE)) != 0};
    for (size_t i = 0; i < s.handles.size(); ++i) {
        if (s.handles[i].file == nullptr) {
            s.handles[i] = handle;
            return static_cast<HFILE>(i) + kFirstHandle;
        }
    }
    s.handles.push_back(handle);
    return static_cast<HFILE>(s.handles.size() - 1) + kFirstHandle;
}

long _lread(HFILE file, void* buffer, unsigned long count) {
    OpenHandle* handle = handleOf(file);
    if (handle == nullptr)
        return -1;
    const std::string& bytes = *handle->file;
    const size_t left = handle->position < bytes.size() ? bytes.size() - handle->position : 0;
    const size_t moved = count < left ? count : left;
    std::memcpy(buffer, bytes.data() + handle->position, moved);
    handle->position += moved;
    return static_cast<long>(moved);
}

long _lwrite(HFILE file, const void* buffer, unsigned long count) {
    OpenHandle* handle = handleOf(file);
    if (handle == nullptr || !handle->writes)
        return -1;
    std::string& bytes = *handle->file;
    if (bytes.size() < handle->position)
        bytes.resize(handle->position);
    bytes.replace(handle->position, count, static_cast<const char*>(buffer), count);
    handle->position += count;
    return static_cast<long>(count);
}

long _llseek(HFILE file, long offset, int origin) {
    OpenHandle* handle = handleOf(file);
    if (handle == nullptr || origin < 0 || origin > 2)
        return -1;
    const long base = origin == 0   ? 0
                      : origin == 1 ? static_cast<long>(handle->position)
                                    : static_cast<long>(handle->file->size());
    if (offset < -base)
        return -1;
    handle->position = static_cast<size_t>(base + offset);
    return base + offset;
}

HFILE _lclose(HFILE file) {
    OpenHandle* handle = handleOf(file);
    if (handle == nullptr)
        return kFileError;
    handle->file = nullptr;
    return 0;
}

}  // namespace win
