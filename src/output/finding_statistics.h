// The count of findings per kind (--statistics): a table for the terminal,
// sorted by count, and the same as JSON for the documents.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "findings/finding.h"

namespace flawseek {

class FindingsList;

using KindCounts = std::array<std::int64_t, FindingKind::count>;

// How many findings of each kind `findings` holds.
KindCounts kind_counts(const FindingsList& findings);

// "  12  style/bad-keyword", most first (ties by id), then "  15  total".
std::string statistics_text(const KindCounts& counts);

// [{"id": ..., "label": ..., "count": ...}, ...] in the table's order.
nlohmann::ordered_json statistics_json(const KindCounts& counts);

}  // namespace flawseek
