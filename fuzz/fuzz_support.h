// What every fuzz target shares: a failed check that libFuzzer reports as a
// crash with its message, a private directory for the files a target writes,
// the Qt application the toolkit needs, and names drawn from a small pool so
// that random reads, writes and edits meet each other.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace wt::fuzz {

// Stops the run: libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(std::string_view what) {
    std::fprintf(stderr, "fuzz check failed: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

inline void Check(bool ok, std::string_view what) {
    if (!ok)
        Fail(what);
}

// With WT_FUZZ_TRACE set, a target says what it does, to replay a crash.
inline bool Tracing() {
    static const bool on = std::getenv("WT_FUZZ_TRACE") != nullptr;
    return on;
}
template <class... Args>
void Trace(const char* format, Args... args) {
    if (Tracing())
        std::fprintf(stderr, format, args...);
}

// A directory of this process's own, made once, in memory where there is a
// tmpfs: the profile writes flush every file they replace.
std::string WorkDirectory();

// A QApplication on the offscreen platform, made once for the process.
void EnsureApplication();

// One of pool's names, in the case the input picks, sometimes with blanks
// around it; or a short random string.
template <std::size_t N>
std::string PickName(FuzzedDataProvider& in, const char* const (&pool)[N]) {
    if (in.ConsumeIntegralInRange(0, 7) == 0)
        return in.ConsumeRandomLengthString(12);
    std::string name = pool[in.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 1:
        for (char& c : name)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        break;
    case 2: name = " " + name + "\t"; break;
    default: break;
    }
    return name;
}

} // namespace wt::fuzz
