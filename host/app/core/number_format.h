// Numbers as text, for the summaries and the .obj files: the shortest text that reads back as the
// same value, so a float read from "5.21" is shown as 5.21 and not as 5.2100000381.
#pragma once

#include <string>

namespace fighost {

// The shortest decimal text of a float; "nan", "inf" or "-inf" when it is not finite.
std::string floatText(float value);
// The shortest decimal text of a double; "nan", "inf" or "-inf" when it is not finite.
std::string doubleText(double value);

}  // namespace fighost
