// Fault injection for tests: a separate build of the program (and only that
// build) fails chosen platform operations on command, so that every failure
// path can be exercised without filling a disk, exhausting memory or
// pressing Ctrl-C at the right moment.
#pragma once

namespace platform {

enum class Fault {
    Allocate,
    OpenDenied,
    Read,
    Create,
    Write,
    Close,
    RenameExists,
    RenameFails,
    RenameRefused,
    Interrupt
};

#ifdef NORVEX_FAULTS
// Counts one call of the operation and tells whether this call must fail.
// The plan comes from the variable NORVEX_FAULTS, a comma-separated list of
// name:N (the Nth call fails), name:N+ (the Nth and every later call fail)
// or name:N-M (calls N to M fail), with the names allocate, open-denied,
// read, create, write, close, rename-exists, rename-fails, rename-refused and
// interrupt (the
// Nth look at the interruption flag finds it set).
bool injectFault(Fault fault);
#else
constexpr bool injectFault(Fault) { return false; }
#endif

} // namespace platform
