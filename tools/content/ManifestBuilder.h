#pragma once

#include <filesystem>
#include <map>

#include "ByteWriter.h"
#include "Manifest.h"
#include "PackFiles.h"

namespace content {

// Turns a manifest into pack files: each resource from its source (a file
// or a registered generator) through its writer, each pack in the layout
// its line gives. Errors are ContentErrors naming "<file>:<line>" and the
// resource, then the writer's item.

// One resource's bytes.
Bytes buildResource(const Manifest& manifest, const ManifestResource& resource);
// Every pack's files, by pack number; gaps in a pack's indices are empty
// resources of type -1.
std::map<int, PackFiles> buildPacks(const Manifest& manifest);
// Builds every pack, then writes the files into `folder`: a symbolic link
// there is replaced by a folder of its own (never written through), and
// pack files ("RP<n>...") the manifest no longer makes are removed. Nothing
// is written when a resource fails.
void buildResourceFolder(const Manifest& manifest, const std::filesystem::path& folder);

}  // namespace content
