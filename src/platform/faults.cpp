#include "platform/faults.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace platform {
namespace {

struct FaultName {
    Fault fault;
    std::string_view name;
};
constexpr FaultName FAULT_NAMES[] = {{Fault::Allocate, "allocate"},
                                     {Fault::OpenDenied, "open-denied"},
                                     {Fault::Read, "read"},
                                     {Fault::Create, "create"},
                                     {Fault::Write, "write"},
                                     {Fault::Close, "close"},
                                     {Fault::RenameExists, "rename-exists"},
                                     {Fault::RenameFails, "rename-fails"},
                                     {Fault::RenameRefused, "rename-refused"},
                                     {Fault::Interrupt, "interrupt"}};
constexpr int KIND_COUNT = sizeof FAULT_NAMES / sizeof FAULT_NAMES[0];

struct Plan {
    long failAt[KIND_COUNT] = {};   // 0: never
    long lastFail[KIND_COUNT] = {}; // the last call that fails; 0: every later one
    long calls[KIND_COUNT] = {};
};

int indexOf(Fault fault) {
    for (int i = 0; i < KIND_COUNT; ++i) {
        if (FAULT_NAMES[i].fault == fault) return i;
    }
    return 0;
}

Plan readPlan() {
    Plan plan;
    const char *text = std::getenv("NORVEX_FAULTS");
    if (text == nullptr) return plan;
    std::string_view rest(text);
    while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        std::size_t colon = item.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view name = item.substr(0, colon);
        std::string_view count = item.substr(colon + 1);
        for (int i = 0; i < KIND_COUNT; ++i) {
            if (FAULT_NAMES[i].name != name) continue;
            std::string number(count);
            char *rest = nullptr;
            plan.failAt[i] = std::strtol(number.c_str(), &rest, 10);
            plan.lastFail[i] = *rest == '+'   ? 0
                               : *rest == '-' ? std::strtol(rest + 1, nullptr, 10)
                                              : plan.failAt[i];
        }
    }
    return plan;
}

} // namespace

bool injectFault(Fault fault) {
    static Plan plan = readPlan();
    int i = indexOf(fault);
    long call = ++plan.calls[i];
    if (plan.failAt[i] <= 0) return false;
    return call >= plan.failAt[i] && (plan.lastFail[i] == 0 || call <= plan.lastFail[i]);
}

} // namespace platform
