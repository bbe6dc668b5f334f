#include "stop_signals.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

volatile sig_atomic_t Received = 0;
int WakeFds[2] = {-1, -1};

std::mutex ActionsLock;
std::vector<void (*)()> Actions;
bool Fired = false;

void OnSignal(int signal) {
    const int saved = errno;
    if (Received == 0) {
        Received = signal;
        const char byte = 1;
        ssize_t ignored = write(WakeFds[1], &byte, 1);
        (void)ignored;
    }
    errno = saved;
}

void Watch() {
    char byte = 0;
    while (read(WakeFds[0], &byte, 1) < 0 && errno == EINTR) {
    }
    std::vector<void (*)()> actions;
    {
        std::lock_guard<std::mutex> guard(ActionsLock);
        Fired = true;
        actions = Actions;
    }
    for (auto action : actions) {
        action();
    }
}

}  // namespace

void CatchStopSignals() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (pipe2(WakeFds, O_CLOEXEC) != 0) {
            return;
        }
        // The watcher waits for the whole life of the process.
        std::thread(Watch).detach();
        struct sigaction action {};
        action.sa_handler = OnSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
            sigaction(signal, &action, nullptr);
        }
    });
}

int StopSignal() {
    return Received;
}

void WhenStopSignalled(void (*action)()) {
    bool now = false;
    {
        std::lock_guard<std::mutex> guard(ActionsLock);
        Actions.push_back(action);
        now = Fired;
    }
    if (now) {
        action();
    }
}

void EndChildProcesses() {
    const pid_t self = getpid();
    DIR* processes = opendir("/proc");
    if (!processes) {
        return;
    }
    while (dirent* entry = readdir(processes)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0) {
            continue;
        }
        char path[64];
        std::snprintf(path, sizeof(path), "/proc/%d/stat", pid);
        FILE* stat = std::fopen(path, "r");
        if (!stat) {
            continue;
        }
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        char line[1024] = {};
        const bool read = std::fgets(line, sizeof(line), stat) != nullptr;
        std::fclose(stat);
        const char* close = read ? std::strrchr(line, ')') : nullptr;
        int parent = 0;
        if (close && std::sscanf(close + 1, " %*c %d", &parent) == 1 && parent == self) {
            // A fork of ours handles TERM as we do: only KILL ends it.
            kill(pid, SIGKILL);
        }
    }
    closedir(processes);
}
