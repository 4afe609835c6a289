// Fault injection for tests: a separate build of the program (and only that
// build) fails chosen platform operations on command, so that every failure
// path can be exercised without filling a disk or exhausting memory.
#pragma once

namespace platform {

enum class Fault { Allocate, Read, Create, Write, Close, RenameExists, RenameFails };

#ifdef NORVEX_FAULTS
// Counts one call of the operation and tells whether this call must fail.
// The plan comes from the variable NORVEX_FAULTS, a comma-separated list of
// name:N (the Nth call fails) or name:N+ (the Nth and every later call fail),
// with the names allocate, read, create, write, close, rename-exists and
// rename-fails.
bool injectFault(Fault fault);
#else
constexpr bool injectFault(Fault) { return false; }
#endif

} // namespace platform
