#pragma once

#include <filesystem>
#include <string>

// A program folder for shell tests: properties/app.prop names the
// application after the process (so parallel tests never share a
// single-instance lock) and, when given, its MIDlet.
class ShellTestFolder {
 public:
  // The folder of this process, made on first use and removed when the
  // process that made it ends normally. Make it before forking children
  // that should share it.
  static ShellTestFolder& instance();
  ~ShellTestFolder();
  // Makes this folder the program folder of the running process.
  void use();
  const std::filesystem::path& path() const { return root_; }
  // Writes properties/<name>.
  void writeProperties(const char* name, const std::string& text);

 private:
  ShellTestFolder();
  std::filesystem::path root_;
  int owner_;
};
