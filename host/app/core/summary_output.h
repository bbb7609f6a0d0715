// The two forms of fighost's figure summary: lines for a person, and one JSON document (its
// schema is in the README's "Host application" section).
#pragma once

#include <string>

#include "host/app/core/figure_summary.h"

namespace fighost {

// The summary as text lines, each ended by a line feed.
std::string summaryText(const FigureSummary& summary);
// The summary as one JSON document, ended by a line feed.
std::string summaryJson(const FigureSummary& summary);

}  // namespace fighost
