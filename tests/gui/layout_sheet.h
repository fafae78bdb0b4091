#pragma once
#include <string>
#include <vector>

namespace larkspur {

// A sheet in the writer's own form that gives every one of the 41 properties
// a value in several rules, each rule another way of writing it (lengths,
// keywords, percentages, every border part alone and together), so a read,
// a visit of every page and a write must give it back byte for byte.
std::string EveryPropertySheet();

}  // namespace larkspur
