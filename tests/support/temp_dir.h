#pragma once
// A fresh folder under /tmp for one test, removed with everything in it at the end.

#include <filesystem>
#include <string_view>

namespace pelko::test {

class TTempDir {
  public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // A path inside the folder; nothing is created.
    std::filesystem::path file(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

} // namespace pelko::test
