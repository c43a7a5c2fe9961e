#include "bench/bench_support.h"
#include "tests/x11/x_server.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace wt::bench {

namespace {
double SchedstatSeconds(const std::string& taskDir) {
    std::ifstream schedstat(taskDir + "/schedstat");
    unsigned long long ns = 0;
    return schedstat >> ns ? static_cast<double>(ns) / 1e9 : -1;
}
} // namespace

double ThreadCpuSeconds(const char* name) {
    DIR* dir = opendir("/proc/self/task");
    if (!dir)
        return -1;
    double seconds = -1;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string base = std::string("/proc/self/task/") + entry->d_name;
        std::ifstream comm(base + "/comm");
        std::string threadName;
        std::getline(comm, threadName);
        if (threadName == name)
            seconds = SchedstatSeconds(base);
    }
    closedir(dir);
    return seconds;
}

double ThreadCpuSecondsById(pid_t tid) {
    return SchedstatSeconds("/proc/self/task/" + std::to_string(tid));
}

double ProcessCpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = content.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(content.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15)
            stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

double Maximum(const std::vector<double>& values) {
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

void PositionOf(int i, int& x, int& y) {
    x = 100 + i % 800;
    y = 100 + (i / 800) * 3;
}

Motion PlayMotion(_XDisplay* driver, int total, int rate) {
    Motion motion;
    motion.sentAt.resize(static_cast<std::size_t>(total));
    const auto start = Clock::now();
    for (int i = 0; i < total; ++i) {
        std::this_thread::sleep_until(start + std::chrono::microseconds(1000000LL * i / rate));
        int x = 0, y = 0;
        PositionOf(i, x, y);
        motion.sentAt[static_cast<std::size_t>(i)] = Clock::now();
        XTestFakeMotionEvent(driver, 0, x, y, CurrentTime);
        XFlush(driver);
    }
    motion.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return motion;
}

pid_t StartXdotool(const std::string& display) {
    if (!wt::test::HasProgram("xdotool"))
        return -1;
    const char* const argv[] = {"xdotool", "behave_screen_edge", "top", "exec", "true", nullptr};
    const pid_t pid = wt::test::SpawnWithDisplay(display, argv);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return pid;
}

long Packed(int x, int y) { return static_cast<long>(x | (y << 16)); }

std::vector<double> MotionLatencies(const std::vector<Clock::time_point>& sentAt,
                                    const std::vector<Report>& reports) {
    const int total = static_cast<int>(sentAt.size());
    // Which motion each report shows; reports of positions outside the run are skipped.
    std::vector<std::pair<int, Clock::time_point>> shown;
    int from = 0;
    for (const Report& r : reports) {
        for (int i = from; i < total; ++i) {
            int x = 0, y = 0;
            PositionOf(i, x, y);
            if (Packed(x, y) == r.packed) {
                shown.emplace_back(i, r.at);
                from = i;
                break;
            }
        }
    }
    std::vector<double> latencies;
    std::size_t next = 0;
    for (int i = 0; i < total; ++i) {
        while (next < shown.size() && shown[next].first < i)
            ++next;
        if (next == shown.size())
            break;
        latencies.push_back(
            std::chrono::duration<double, std::milli>(shown[next].second - sentAt[std::size_t(i)])
                .count());
    }
    return latencies;
}

} // namespace wt::bench
