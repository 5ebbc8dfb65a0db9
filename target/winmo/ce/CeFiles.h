#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Files and folders of the stand-in, over POSIX, for data that must
// survive the process being killed at any moment (the record stores).
//
// A file is never rewritten in place: replaceFile writes a temporary file
// beside it (its name starts with ".tmp-", so no listing of stored names
// matches it), flushes it to disk, renames it over the old file and flushes
// the folder. A kill at any moment leaves the old file or the new one,
// never an empty or a mixed one. Removals flush the folder too.
//
// Tests make steps fail (each write, flush, rename and removal is one
// step; opening a file or making a folder is none), in one of two modes:
// - stopAfter(n): the steps after the next n all fail, as if the process
//   had died there: a stopped write leaves half its bytes in the temporary
//   file, and nothing is cleaned up. resume() brings the layer back, as a
//   new process would find the disk.
// - failStepAfter(n): only the step after the next n fails, as a full or
//   failing disk would make it fail (a failed write leaves half its bytes,
//   which replaceFile then removes); every step before and after succeeds,
//   so the caller can put back what it changed and try again. The mode
//   lasts until the next stopAfter, failStepAfter or resume.
// To find each step of an operation: stopAfter(INT64_MAX) (nothing stops),
// run it once, and read stepsTaken(); then failStepAfter(k) for k from 0 to
// that count minus one fails each step in turn.
class CeFiles {
 public:
  struct Entry {
    std::string name;
    bool folder;
  };

  // Creates the folder; true when it exists as a folder afterwards.
  static bool makeFolder(const std::string& path);
  static bool isFolder(const std::string& path);
  static bool isFile(const std::string& path);
  // The whole file, or nothing when it cannot be read or is longer than
  // `limit` bytes.
  static std::optional<std::vector<uint8_t>> readFile(const std::string& path, size_t limit);
  // The file's length, or nothing when it is not a readable plain file.
  static std::optional<uint64_t> fileSize(const std::string& path);
  // Replaces (or creates) the file with `size` bytes, atomically and
  // durably; false when any step failed (the old file is then unchanged).
  // With `flushFolder` false the new file's bytes are on disk before it
  // takes the old one's place, but the rename itself is durable only after
  // a later flushFolder of its folder: several replacements in one folder
  // then share one flush.
  static bool replaceFile(const std::string& path, const void* data, size_t size, bool flushFolder = true);
  // Makes every rename and removal in the folder so far durable.
  static bool flushFolder(const std::string& folder);
  // Removes a plain file; durable only after a later flushFolder.
  static bool removeFileUnflushed(const std::string& path);
  // Removes a plain file durably; false when it could not be removed.
  static bool removeFile(const std::string& path);
  // Removes an empty folder; false when it could not be removed.
  static bool removeFolder(const std::string& path);
  // The folder's entries except "." and "..", sorted by name; empty when it
  // cannot be listed.
  static std::vector<Entry> list(const std::string& folder);
  // True for the names of temporary files that replaceFile leaves behind
  // when it is stopped.
  static bool isTemporaryName(const std::string& name);

  // The test seam: fail from the step after the next `steps` steps on.
  static void stopAfter(int64_t steps);
  // The test seam: fail only the step after the next `steps` steps.
  static void failStepAfter(int64_t steps);
  // Every step succeeds again.
  static void resume();
  // Steps taken since the last stopAfter, failStepAfter or resume.
  static int64_t stepsTaken();
};
