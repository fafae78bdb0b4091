#include "pages/image_path.h"

#include <vector>

namespace larkspur {
namespace {

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::string RelativeImagePath(std::string_view sheetPath, std::string_view imagePath) {
    std::vector<std::string_view> sheet = Components(sheetPath);
    std::vector<std::string_view> image = Components(imagePath);
    if (image.empty()) return {};
    // Only folders take part in the comparison: the sheet's own file name is
    // no folder, nor is the image's.
    const size_t sheetFolders = sheet.empty() ? 0 : sheet.size() - 1;
    const size_t imageFolders = image.size() - 1;
    size_t common = 0;
    while (common < sheetFolders && common < imageFolders && sheet[common] == image[common]) ++common;
    std::string result;
    for (size_t i = common; i < sheetFolders; ++i) result += "../";
    for (size_t i = common; i < image.size(); ++i) {
        if (i > common) result += '/';
        result += image[i];
    }
    return result;
}

}  // namespace larkspur
