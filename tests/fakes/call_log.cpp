#include "call_log.h"

std::vector<std::string>& CallLog() {
    static std::vector<std::string> log;
    return log;
}

void LogCall(const std::string& entry) {
    CallLog().push_back(entry);
}

int FindCall(const std::string& prefix, int from) {
    const auto& log = CallLog();
    for (int i = from; i < static_cast<int>(log.size()); ++i) {
        if (log[i].rfind(prefix, 0) == 0) {
            return i;
        }
    }
    return -1;
}

int CountCalls(const std::string& prefix) {
    int count = 0;
    for (const auto& entry : CallLog()) {
        count += entry.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return count;
}
