#pragma once
// Calls into the page and the browser that one operation makes, as the doubles number them
// (every method that can fail, and QueryInterface, refused ones included). Counts are exact and the same on every run
// and machine, so their targets hold however busy the machine is.

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "support/com_double.h"

namespace quorin::bench {

struct CallTally {
    long total = 0;
    std::map<std::string, long> byMethod;
};

inline CallTally countCalls(const std::function<void()>& operation) {
    test::CallFaults::count();
    operation();
    test::CallFaults::stop();
    CallTally tally;
    tally.total = test::CallFaults::callCount() + test::CallFaults::refusalCount();
    for (const test::CallFaults::Call& call : test::CallFaults::calls()) ++tally.byMethod[call.method];
    if (const long refusals = test::CallFaults::refusalCount()) tally.byMethod["QueryInterface refused"] = refusals;
    return tally;
}

// What one more element (sheet, anchor, frame...) adds, from the same operation on two sizes of
// page; the rest is the operation's fixed part.
struct CallGrowth {
    double perUnit = 0;
    double fixed = 0;
    std::string byMethod;  // "item 1, QueryInterface 2, ..." per unit
};

inline CallGrowth callGrowth(const CallTally& small, int smallUnits, const CallTally& large, int largeUnits) {
    CallGrowth growth;
    const double units = largeUnits - smallUnits;
    growth.perUnit = (large.total - small.total) / units;
    growth.fixed = small.total - growth.perUnit * smallUnits;
    for (const auto& [method, count] : large.byMethod) {
        const auto before = small.byMethod.find(method);
        const double each = (count - (before == small.byMethod.end() ? 0 : before->second)) / units;
        if (each == 0) continue;
        char text[64];
        std::snprintf(text, sizeof text, "%s%s %.2g", growth.byMethod.empty() ? "" : ", ", method.c_str(), each);
        growth.byMethod += text;
    }
    return growth;
}

// Calls of the second run that the first run already made, method by method: what opening a menu
// again could have kept.
inline long repeatedCalls(const CallTally& first, const CallTally& second) {
    long repeated = 0;
    for (const auto& [method, count] : second.byMethod) {
        const auto before = first.byMethod.find(method);
        if (before != first.byMethod.end()) repeated += count < before->second ? count : before->second;
    }
    return repeated;
}

}  // namespace quorin::bench
