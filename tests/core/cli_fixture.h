#pragma once
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace larkspur::testing {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const fs::path& p, std::string_view bytes) {
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs larkspur-cli in a scratch folder of its own.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string(LARKSPUR_CLI_PATH).empty()) GTEST_SKIP() << "larkspur-cli is not built";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("larkspur-cli-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!dir.empty()) fs::remove_all(dir);
    }

    // Its journal goes into the scratch folder, never the user's own.
    CliRun Cli(const std::string& args) {
        return Shell("XDG_DATA_HOME=" + Quote(JournalHome().string()) + " " + Quote(LARKSPUR_CLI_PATH) + " " + args);
    }
    fs::path JournalHome() const { return dir / ".data"; }
    // Runs a shell command line, capturing its output.
    CliRun Shell(const std::string& command) {
        const fs::path out = dir / ".stdout", err = dir / ".stderr";
        std::string cmd = command + " >" + Quote(out.string()) + " 2>" + Quote(err.string());
        int raw = std::system(cmd.c_str());
        CliRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
        fs::remove(out);
        fs::remove(err);
        return r;
    }
    // Writes a file into the scratch folder and returns its path.
    std::string Write(const std::string& name, std::string_view text) {
        WriteBytes(dir / name, text);
        return (dir / name).string();
    }
    static std::string Read(const std::string& path) { return ReadBytes(path); }
    static std::string Quote(const std::string& path) { return "'" + path + "'"; }
    std::string P(const char* name) { return Quote((dir / name).string()); }

    fs::path dir;
};

}  // namespace larkspur::testing
