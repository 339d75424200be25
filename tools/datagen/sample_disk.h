#pragma once

#include <filesystem>

namespace datagen {

// Writes the bundled sample disk under root, in the "subdir" layout, the same
// bytes on every run: two date directories of permanent-stream files with a gap
// between them, a trigger file, a latitude change, a file whose clocks disagree,
// an empty (unusable) file, a hidden file, a decoy directory and a stray file in
// the root.
void makeSampleDisk(const std::filesystem::path& root);

}  // namespace datagen
