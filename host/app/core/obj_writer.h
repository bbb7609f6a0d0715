// Wavefront .obj text of a scene object's geometry: every point as a vertex ("v"), in the order
// the module put them, then each item as a point ("p"), line ("l") or face ("f") over them.
#pragma once

#include <string>

#include "host/stand_in_host.h"

namespace fighost {

// The .obj text of the object.
std::string objText(const standin::SceneObject& object);
// Writes objText to path. False with one line for the user when the file cannot be written.
bool writeObj(const standin::SceneObject& object, const std::string& path, std::string* error);

}  // namespace fighost
