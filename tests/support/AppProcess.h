#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

// Runs of a program binary of the build (jme or jme_test_app) as child
// processes, from a folder of its own beside the binary that holds a link
// to the binary and its properties, under the headless backend. Its standard input and
// output are pipes: the test writes commands and reads the lines it
// prints.
class AppProcess {
 public:
  // Prepares the folder: a link to the binary at `binary` and
  // properties/app.prop with `appProperties`.
  AppProcess(const std::filesystem::path& binary, const std::string& appProperties);
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  // Starts the program with `argument` (null: none). Standard input and
  // output become pipes to this object. The backend is headless, or with
  // `sdlDummy` the SDL2 window under SDL's dummy video driver.
  void start(const char* argument = nullptr, bool sdlDummy = false);
  // Starts the program as a player starts it: the SDL2 backend on the
  // display that DISPLAY names.
  void startInWindow(const char* argument = nullptr);
  // The next line the program printed, or "<timeout>" / "<eof>".
  std::string readLine(int timeoutMs = 10000);
  void send(const std::string& command);
  // Waits for the child to end: its exit code, or -1 after the time-out
  // (the child is then killed) or when it died by a signal.
  int wait(int timeoutMs = 10000);
  pid_t pid() const { return pid_; }
  // The program's folder (rsc/, database/ and properties/ go here).
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path binary_;
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string buffered_;

  enum class Backend { kHeadless, kSdlDummy, kWindow };
  void spawn(const char* argument, Backend backend);
};
