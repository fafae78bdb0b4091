#pragma once
#include <string>
#include <vector>

namespace larkspur::cli {

using Args = std::vector<std::string>;

// Each command returns the process exit status: 0 done, 1 failed, 2 usage.
int RunExport(const Args& args);
int RunListing(const Args& args);
int RunApply(const Args& args);
int RunPreview(const Args& args);

}  // namespace larkspur::cli
