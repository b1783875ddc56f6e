#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

std::string testOutputFolder() {
    const char* out = std::getenv("MIVO_TEST_OUT");
    std::string base = out && *out ? out : "/tmp";
    if (base.back() != '/') base += '/';
    std::error_code ec;
    std::filesystem::create_directories(base, ec);
    return base;
}

TempFolder::TempFolder() {
    std::string pattern = testOutputFolder() + "mivo-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TempFolder::write(const std::string& name, const std::string& contents) const {
    std::ofstream(path_ + name, std::ios::binary) << contents;
}

std::string TempFolder::read(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
