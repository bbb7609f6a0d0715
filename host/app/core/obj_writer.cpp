// Writing a scene object's geometry as Wavefront .obj text.
#include "host/app/core/obj_writer.h"

#include "host/app/core/file_output.h"
#include "host/app/core/number_format.h"

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
    return writeWholeFile(path, objText(object), error);
}

}  // namespace fighost
