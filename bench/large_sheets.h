// Inputs for the large-sheet benchmarks, made at run time so no big file is
// kept in the repository.
//
// Real-world mix: set LARKSPUR_BENCH_CSS to a folder of framework sheets
// (.css files); they are concatenated in name order, again and again with
// the class names renamed each round, until the size is reached. Without it a generated mix of site sheets stands in.
// Distinct rules: ".c1{color:red}" ... one selector per rule, none repeated.
#pragma once
#include "bench/site_sheet.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace larkspur::bench {

inline std::string ReadFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text with "-rN" after every class name (a "." after no name character,
// before a letter), so a repeated sheet brings new selectors as a real mix of
// sheets would.
inline std::string RenameClasses(const std::string& text, size_t copy) {
    auto nameChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_'; };
    const std::string suffix = "-r" + std::to_string(copy);
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size();) {
        const bool cls = text[i] == '.' && (i == 0 || !nameChar(text[i - 1])) && i + 1 < text.size() &&
                         std::isalpha(static_cast<unsigned char>(text[i + 1]));
        if (!cls) {
            out += text[i++];
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && nameChar(text[end])) ++end;
        out.append(text, i, end - i);
        out += suffix;
        i = end;
    }
    return out;
}

// The parts again and again until the size is reached; each round after the
// first renames the classes.
inline std::string RepeatToSize(const std::vector<std::string>& parts, size_t size) {
    std::string text;
    text.reserve(size + 1);
    for (size_t i = 0; text.size() < size; ++i) {
        const size_t round = i / parts.size();
        const std::string part = round == 0 ? parts[i % parts.size()] : RenameClasses(parts[i % parts.size()], round);
        text.append(part, 0, std::min(part.size(), size - text.size()));
    }
    // Cut at the last closed block, so the end is no broken rule.
    if (size_t close = text.rfind('}'); close != std::string::npos) text.resize(close + 1);
    text += '\n';
    return text;
}

// The framework sheets in LARKSPUR_BENCH_CSS, or none.
inline std::vector<std::string> FrameworkSheets() {
    std::vector<std::string> sheets;
    const char* dir = std::getenv("LARKSPUR_BENCH_CSS");
    if (!dir) return sheets;
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        if (e.path().extension() == ".css") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) sheets.push_back(ReadFileText(f) + "\n");
    return sheets;
}

inline std::string DistinctRules(size_t size) {
    std::string text;
    text.reserve(size + 32);
    for (int i = 1; text.size() < size; ++i) {
        text += ".c";
        text += std::to_string(i);
        text += "{color:red}\n";
    }
    return text;
}

// Keeps a made input as DIR/NAME when LARKSPUR_BENCH_KEEP=DIR is set, for
// measuring the command-line tool on the same bytes.
inline void KeepInput(const std::string& name, const std::string& text) {
    if (const char* keep = std::getenv("LARKSPUR_BENCH_KEEP"))
        std::ofstream(std::filesystem::path(keep) / name, std::ios::binary) << text;
}

// The real-world mix of that many megabytes, made once; the framework sheets
// or, without them, generated site sheets.
inline const std::string& RealWorldMix(size_t megabytes) {
    static std::map<size_t, std::string> made;
    std::string& text = made[megabytes];
    if (!text.empty()) return text;
    std::vector<std::string> parts = FrameworkSheets();
    if (parts.empty())
        for (unsigned seed = 1; seed <= 4; ++seed) parts.push_back(SiteSheet(seed).Make(2500));
    text = RepeatToSize(parts, megabytes << 20);
    KeepInput("mix-" + std::to_string(megabytes) + "mb.css", text);
    return text;
}

}  // namespace larkspur::bench
