// VM start-up to the boot entry and shutdown, as a whole process
// (tests/programs/vm_boot: start-up, a boot entry that runs three Java
// threads, shutdown), against the same program that only prints a line.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <string>

extern char** environ;

namespace {

const std::string kProgram = std::string(JME_BINARY_DIR) + "/vm_boot";

int run(const char* argument) {
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(kProgram.c_str()), const_cast<char*>(argument), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 0x1 /* O_WRONLY */, 0);
  const int spawned = posix_spawn(&pid, kProgram.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void StartAndStopVM(benchmark::State& state) {
  for (auto _ : state) {
    if (run(nullptr) != 0) state.SkipWithError("vm_boot failed");
  }
}
BENCHMARK(StartAndStopVM)->Unit(benchmark::kMillisecond);

void PrintOnly(benchmark::State& state) {
  for (auto _ : state) {
    if (run("--print-only") != 0) state.SkipWithError("vm_boot failed");
  }
}
BENCHMARK(PrintOnly)->Unit(benchmark::kMillisecond);

}  // namespace
