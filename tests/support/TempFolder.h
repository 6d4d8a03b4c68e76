#pragma once
// A fresh folder under the prefix's temporary folder, removed with everything in it afterwards.
#include <string>

namespace cwtest {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a final backslash.
    const std::string& Path() const { return path_; }
    // Path() + "\" + name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Creates (or truncates) a file with the given contents; returns its path.
    std::string MakeFile(const std::string& name, const std::string& contents = "") const;
    std::string MakeFolder(const std::string& name) const;

private:
    std::string path_;
};

// Deletes a folder tree (files made read-only included).
void RemoveTree(const std::string& path);

} // namespace cwtest
