#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// The image's path relative to the folder of the style sheet file, both given
// as absolute POSIX paths: "/web/style.css" and "/web/img/a.gif" give
// "img/a.gif"; "/web/css/style.css" gives "../img/a.gif". Folder names are
// compared exactly (letter case included).
std::string RelativeImagePath(std::string_view sheetPath, std::string_view imagePath);

}  // namespace larkspur
