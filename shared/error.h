#pragma once
// Errors that a handler does not catch: the form library's dispatch shows their text in the general error
// report and the program goes on with its next message.
#include <stdexcept>
#include <string>

namespace korval {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// "Cannot open file %s"
class FileOpenError : public Error {
 public:
  explicit FileOpenError(const std::string& path) : Error("Cannot open file " + path), path_(path) {}
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// "Cannot create file %s"
class FileCreateError : public Error {
 public:
  explicit FileCreateError(const std::string& path) : Error("Cannot create file " + path), path_(path) {}
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace korval
