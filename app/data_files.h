#pragma once
#include <string>
#include <vector>

namespace larkspur {

// Folders searched for the program's own files ("tips.txt", "qstart.html"):
// the current folder first, then beside the program, then the installed
// data folder.
std::vector<std::string> DataFolders();

// Path of the first existing file of that name in DataFolders(); the bare
// name (relative to the current folder) when none has it.
std::string FindDataFile(const std::string& name);

}  // namespace larkspur
