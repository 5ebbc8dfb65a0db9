#pragma once

#include <filesystem>
#include <string>

// A program folder for shell tests: properties/app.prop names the
// application after the process (so parallel tests never share a
// single-instance lock) and, when given, its MIDlet.
class ShellTestFolder {
 public:
  static ShellTestFolder& instance();
  // Makes this folder the program folder of the running process.
  void use();
  const std::filesystem::path& path() const { return root_; }
  // Writes properties/<name>.
  void writeProperties(const char* name, const std::string& text);

 private:
  ShellTestFolder();
  std::filesystem::path root_;
};
