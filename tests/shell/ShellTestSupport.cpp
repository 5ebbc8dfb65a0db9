#include "ShellTestSupport.h"

#include <fstream>
#include <unistd.h>

#include "DeviceProfile.h"

ShellTestFolder& ShellTestFolder::instance() {
  static ShellTestFolder folder;
  return folder;
}

ShellTestFolder::ShellTestFolder() : owner_(getpid()) {
  root_ = std::filesystem::temp_directory_path() / ("jme-shell-" + std::to_string(getpid()));
  std::filesystem::create_directories(root_ / "properties");
  writeProperties("app.prop", "MIDlet-Name: shelltest-" + std::to_string(getpid()) + "\n");
}

ShellTestFolder::~ShellTestFolder() {
  std::error_code ignored;
  if (getpid() == owner_) std::filesystem::remove_all(root_, ignored);
}

void ShellTestFolder::use() { DeviceProfile::instance().setProgramDirectory(root_.string()); }

void ShellTestFolder::writeProperties(const char* name, const std::string& text) {
  std::ofstream(root_ / "properties" / name, std::ios::binary) << text;
}
