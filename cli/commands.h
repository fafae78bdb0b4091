#pragma once
#include <string>
#include <vector>

namespace larkspur {
class SheetDocument;
}

namespace larkspur::cli {

using Args = std::vector<std::string>;
// The command's own options that were given ("--dry-run").
using Options = std::vector<std::string>;

// Prints a message for the user on stderr, one line; an empty one is none.
void PrintError(const std::string& message);
// The editor's start state, then the file opened as the Open command does;
// false (the reason printed) when the file is rejected.
bool OpenSheet(SheetDocument& doc, const std::string& path);
// The one document of a command's run. It is never freed: the process ends
// right after, and giving a large sheet back block by block would cost a
// tenth of the run.
SheetDocument& RunDocument();

// Each command returns the process exit status: 0 done, 1 failed, 2 usage.
int RunExport(const Args& args, const Options& options);
int RunListing(const Args& args, const Options& options);
int RunRules(const Args& args, const Options& options);
int RunApply(const Args& args, const Options& options);
int RunUndoApply(const Args& args, const Options& options);
int RunPreview(const Args& args, const Options& options);
// 1 also when a declaration was found invalid.
int RunCheck(const Args& args, const Options& options);

}  // namespace larkspur::cli
