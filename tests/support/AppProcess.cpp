#include "AppProcess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
int counter = 0;
}

AppProcess::AppProcess(const std::filesystem::path& binary, const std::string& appProperties) {
  folder_ = binary.parent_path() / ("e2e-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  std::filesystem::create_directories(folder_ / "properties");
  binary_ = folder_ / binary.filename();
  // A link keeps the program's own folder (the one /proc/self/exe names)
  // the new folder; a copy serves where links cannot be made.
  std::error_code error;
  std::filesystem::create_hard_link(binary, binary_, error);
  if (error) std::filesystem::copy_file(binary, binary_);
  std::ofstream(folder_ / "properties" / "app.prop") << appProperties;
}

AppProcess::~AppProcess() {
  if (pid_ > 0) wait(2000);
  std::filesystem::remove_all(folder_);
}

void AppProcess::start(const char* argument, bool sdlDummy) {
  spawn(argument, sdlDummy ? Backend::kSdlDummy : Backend::kHeadless);
}

void AppProcess::startInWindow(const char* argument) { spawn(argument, Backend::kWindow); }

void AppProcess::spawn(const char* argument, Backend backend) {
  int in[2], out[2];
  // Close-on-exec: no other child inherits this one's pipes.
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
  if (backend == Backend::kHeadless) {
    setenv("JME_BACKEND", "headless", 1);
  } else {
    unsetenv("JME_BACKEND");
    if (backend == Backend::kSdlDummy) {
      setenv("SDL_VIDEODRIVER", "dummy", 1);
    } else {
      unsetenv("SDL_VIDEODRIVER");
    }
  }
  const std::string path = binary_.string();
  char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(argument), nullptr};
  pid_ = fork();
  if (pid_ == 0) {
    // The program ends with the test process, also when that one dies
    // without running this object's destructor: left behind, it would hold
    // the test runner's output open and the run would never end.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    dup2(in[0], 0);
    dup2(out[1], 1);
    execve(path.c_str(), argv, environ);
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  if (toChild_ >= 0) close(toChild_);
  if (fromChild_ >= 0) close(fromChild_);
  toChild_ = in[1];
  fromChild_ = out[0];
  buffered_.clear();
}

std::string AppProcess::readLine(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const size_t newline = buffered_.find('\n');
    if (newline != std::string::npos) {
      std::string line = buffered_.substr(0, newline);
      buffered_.erase(0, newline + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return "<timeout>";
    pollfd fd{fromChild_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[256];
    const ssize_t n = read(fromChild_, chunk, sizeof chunk);
    if (n <= 0) return "<eof>";
    buffered_.append(chunk, static_cast<size_t>(n));
  }
}

void AppProcess::send(const std::string& command) {
  const std::string line = command + "\n";
  if (write(toChild_, line.data(), line.size()) < 0) return;
}

int AppProcess::wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  // The child's end closes its output: read to the end first (within the
  // time-out), then collect the child.
  std::string line;
  while ((line = readLine(timeoutMs)) != "<eof>") {
    if (line == "<timeout>") {
      kill(pid_, SIGKILL);
      break;
    }
  }
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
