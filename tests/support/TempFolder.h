#pragma once
#include <string>

// A fresh folder under $MIVO_TEST_OUT (or /tmp), removed again on
// destruction. path() ends with '/'.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

    // Writes or reads a whole file inside the folder.
    void write(const std::string& name, const std::string& contents) const;
    std::string read(const std::string& name) const;

private:
    std::string path_;
};

// Where tests may leave files worth looking at (PNGs), ending with '/'.
std::string testOutputFolder();
