// One log of the calls that the doubles of a test receive, in order.
#pragma once

#include <string>
#include <vector>

std::vector<std::string>& CallLog();
void LogCall(const std::string& entry);

// Position of the first entry starting with `prefix` at or after `from`, or -1.
int FindCall(const std::string& prefix, int from = 0);
// How many entries start with `prefix`.
int CountCalls(const std::string& prefix);
