#include "tests/x11/wave_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace wt::test {

namespace {
void Put16(std::ofstream& out, std::uint16_t v) { out.put(char(v & 0xFF)).put(char(v >> 8)); }
void Put32(std::ofstream& out, std::uint32_t v) {
    Put16(out, std::uint16_t(v & 0xFFFF));
    Put16(out, std::uint16_t(v >> 16));
}
} // namespace

std::vector<char> WriteWave(const std::filesystem::path& path, int rate, int channels, int frames,
                            int seed) {
    std::vector<char> data;
    for (int i = 0; i < frames * channels; ++i) {
        std::int16_t sample = static_cast<std::int16_t>(1000 + ((i * 37 + seed * 101) % 2000));
        data.push_back(char(sample & 0xFF));
        data.push_back(char((sample >> 8) & 0xFF));
    }
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    Put32(out, 36 + std::uint32_t(data.size()));
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, std::uint16_t(channels));
    Put32(out, std::uint32_t(rate));
    Put32(out, std::uint32_t(rate * channels * 2));
    Put16(out, std::uint16_t(channels * 2));
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, std::uint32_t(data.size()));
    out.write(data.data(), std::streamsize(data.size()));
    return data;
}

std::vector<char> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<char> NonSilent(const std::vector<char>& bytes) {
    std::size_t first = 0, last = bytes.size();
    while (first < bytes.size() && bytes[first] == 0)
        ++first;
    while (last > first && bytes[last - 1] == 0)
        --last;
    return {bytes.begin() + std::ptrdiff_t(first), bytes.begin() + std::ptrdiff_t(last)};
}

} // namespace wt::test
