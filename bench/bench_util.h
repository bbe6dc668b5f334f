// Small helpers for the benchmarks: wall and thread clocks, memory figures.
#pragma once

#include <dirent.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

inline double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Peak resident memory of this process so far, in MiB.
inline double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return -1.0;
}

// CPU seconds used by the threads of this process whose name starts with `prefix`.
inline double ThreadCpuSeconds(const char* prefix) {
    double seconds = 0.0;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) {
        return -1.0;
    }
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string name;
        std::getline(std::ifstream(dir + "/comm"), name);
        if (name.rfind(prefix, 0) != 0) {
            continue;
        }
        std::string stat;
        std::getline(std::ifstream(dir + "/stat"), stat);
        // Fields after the command name in parentheses; utime and stime are the 14th and 15th.
        const size_t close = stat.rfind(')');
        char state;
        unsigned long skip, utime, stime;
        if (std::sscanf(stat.c_str() + close + 2, "%c %lu %lu %lu %lu %lu %lu %lu %lu %lu %lu %lu %lu", &state, &skip,
                        &skip, &skip, &skip, &skip, &skip, &skip, &skip, &skip, &skip, &utime, &stime) == 13) {
            seconds += (utime + stime) / ticks;
        }
    }
    closedir(tasks);
    return seconds;
}
