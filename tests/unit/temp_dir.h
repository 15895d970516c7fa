#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace korval::test {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = std::filesystem::temp_directory_path() / ("korval-test-" + std::to_string(rd()));
      if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("no temporary folder");
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder as a prefix: ends with the platform's separator, as DataDir and ProgramDir do.
  std::string Prefix() const { return (path_ / "").string(); }
  std::string File(const std::string& name) const { return Prefix() + name; }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(File(name)); }

 private:
  std::filesystem::path path_;
};

}  // namespace korval::test
