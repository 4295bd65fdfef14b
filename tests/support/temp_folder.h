#pragma once
#include <string>
#include <vector>

// A fresh folder under the system temp folder, removed with its contents.
class TempFolder {
public:
    explicit TempFolder(const char* tag = "lc");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Whole-file helpers for checks on bytes.
bool ReadWholeFile(const std::string& path, std::string* bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The lines of a text file (LF ends a line); none when it cannot be read.
std::vector<std::string> ReadLines(const std::string& path);
