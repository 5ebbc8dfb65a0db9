// jme_content_tool: builds a resource folder from a content manifest, and
// checks a built folder against one through the engine's readers
// (docs/content.md).
//
//   jme_content_tool build <manifest> <rsc folder>
//   jme_content_tool check <rsc folder> <manifest>
//
// Exit codes: 0 all well, 1 faults found (check) or the build failed, 2 a
// usage or manifest error.
#include <cstdio>
#include <string>

#include "ContentError.h"
#include "ContentValidator.h"
#include "Manifest.h"
#include "ManifestBuilder.h"
#include "VMTestEnv.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: jme_content_tool build <manifest> <rsc folder>\n"
               "       jme_content_tool check <rsc folder> <manifest>\n");
  return 2;
}

int build(const std::string& manifestPath, const std::string& folder) {
  const content::Manifest manifest = content::readManifest(manifestPath);
  try {
    content::buildResourceFolder(manifest, folder);
  } catch (const content::ContentError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::printf("built %zu resources of %zu packs into %s\n", manifest.resources().size(), manifest.packs.size(),
              folder.c_str());
  return 0;
}

int check(const std::string& folder, const std::string& manifestPath) {
  const content::Manifest manifest = content::readManifest(manifestPath);
  VMTestEnv::start();
  const std::vector<content::ContentFault> faults = content::ContentValidator(manifest, folder).run();
  for (const content::ContentFault& f : faults) std::printf("%s\n", f.text.c_str());
  std::printf("%zu resources checked, %zu faults\n", manifest.resources().size(), faults.size());
  std::fflush(stdout);
  return faults.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return usage();
  const std::string command = argv[1];
  try {
    if (command == "build") return build(argv[2], argv[3]);
    if (command == "check") return check(argv[2], argv[3]);
  } catch (const content::ContentError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  return usage();
}
