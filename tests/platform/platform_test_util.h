// Scratch directories for the platform tests: made fresh under the system's
// temporary directory and removed with everything in them.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace zu::testing {

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name) {
    path_ = std::filesystem::temp_directory_path() /
            ("zu_" + name + "_" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "_" +
             std::to_string(std::random_device{}()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  std::string Path() const { return path_.string() + "/"; }
  std::string File(const std::string& name, const std::string& content) const {
    std::string p = Path() + name;
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace zu::testing
