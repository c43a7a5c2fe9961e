// Wave files for the sound tests, and what SDL's disk driver wrote.
#pragma once

#include <filesystem>
#include <vector>

namespace wt::test {

// Writes a 16-bit PCM wave file of nonzero samples (SEED varies them);
// returns the sample bytes as they stand in the file.
std::vector<char> WriteWave(const std::filesystem::path& path, int rate, int channels, int frames,
                            int seed);
std::vector<char> ReadAll(const std::filesystem::path& path);
// The bytes between the first and the last nonzero byte.
std::vector<char> NonSilent(const std::vector<char>& bytes);

} // namespace wt::test
