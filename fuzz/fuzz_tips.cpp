// The tips file is a plain text file anyone can edit: any bytes, any stored
// position. Reading must stop, give only real tip lines, and never hang.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "model/tips_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first two bytes give the stored position, the rest is the file.
    const long position = (long(data[0]) << 8 | data[1]) - 512;
    static const std::string path = "/tmp/larkspur-fuzz-tips-" + std::to_string(::getpid()) + ".txt";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data + 2, 1, size - 2, f);
        std::fclose(f);
    } else {
        return 0;
    }
    larkspur::TipsFile tips;
    if (!tips.Open(path)) return 0;
    if (!tips.Seek(position)) tips.Seek(0);
    std::string tip;
    for (int i = 0; i < 8; ++i) {
        if (tips.NextTip(tip) != larkspur::TipsFile::ReadResult::Tip) break;
        if (tip.empty() || tip.size() > larkspur::TipsFile::kMaxTipLength) __builtin_trap();
        const char first = tip[0];
        if (first == ' ' || first == '\t' || first == '\n' || first == ';') __builtin_trap();
        if (tips.Position() < 0) __builtin_trap();
    }
    return 0;
}
