#include "host/app/obj_writer.h"

#include <cstdio>
#include <memory>

#include "host/app/number_text.h"

namespace fighost {

std::string objText(const standin::SceneObject& object) {
    std::string out = "# fighost: " + std::to_string(object.points.size()) + " vertices, " +
                      std::to_string(object.count(host::kGeometryLine)) + " lines, " +
                      std::to_string(object.count(host::kGeometryTriangle)) + " triangles\n";
    out += "o " + (object.name.empty() ? std::string("figure") : object.name) + "\n";
    for (const PiPoint& p : object.points)
        out += "v " + floatText(p.x) + " " + floatText(p.y) + " " + floatText(p.z) + "\n";
    static const char* const kStatements[] = {"", "p", "l", "f"};
    for (const standin::GeometryItem& item : object.geometry) {
        if (item.kind < 1 || item.kind > 3 ||
            item.first + static_cast<uint32_t>(item.kind) > object.points.size())
            continue;
        out += kStatements[item.kind];
        // Vertices are numbered from 1.
        for (int k = 0; k < item.kind; ++k)
            out += " " + std::to_string(item.first + k + 1);
        out += "\n";
    }
    return out;
}

bool writeObj(const standin::SceneObject& object, const std::string& path, std::string* error) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (file == nullptr) {
        *error = "cannot write " + path;
        return false;
    }
    std::string text = objText(object);
    bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    written = std::fclose(file.release()) == 0 && written;
    if (!written)
        *error = "cannot write " + path;
    return written;
}

}  // namespace fighost
