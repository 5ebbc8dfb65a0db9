#pragma once

// A virtual X display of its own for a test: Xvfb started on a free display
// number (which it reports itself) and ended with the object. name() is
// empty when Xvfb is not installed or did not start.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

class VirtualDisplay {
 public:
  VirtualDisplay() {
    int fds[2];
    if (access("/usr/bin/Xvfb", X_OK) != 0 || pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      // Xvfb ends with the test process, also when that one dies without
      // running this object's destructor: left behind, it would hold the
      // test runner's output open.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) name_ = ":" + number;
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};
