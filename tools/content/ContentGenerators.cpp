#include "ContentGenerators.h"

#include <map>

namespace content {

namespace {

// Built on first use, so registrations of any static-initialisation order
// find it.
std::map<std::string, ContentGenerator>& registry() {
  static std::map<std::string, ContentGenerator> generators;
  return generators;
}

}  // namespace

ContentGeneratorRegistration::ContentGeneratorRegistration(const char* name, ContentGenerator generator) {
  registry().emplace(name, generator);
}

ContentGenerator findContentGenerator(const std::string& name) {
  auto it = registry().find(name);
  return it == registry().end() ? nullptr : it->second;
}

}  // namespace content
