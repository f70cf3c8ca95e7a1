// A child process whose every rename(2) waits for the test to let it go, fail it or kill the child there.
#pragma once

#include <functional>
#include <string>

#include "support/TestSupport.h"

namespace vztest
{

// What becomes of one rename the child asks for.
struct RenameAnswer
{
    enum Kind
    {
        GO,   // the rename is made
        FAIL, // it fails with err, the file system untouched
        KILL, // the child is killed before it is made
    } kind;
    int err;
    static RenameAnswer Go() { return {GO, 0}; }
    static RenameAnswer Fail(int err) { return {FAIL, err}; }
    static RenameAnswer Kill() { return {KILL, 0}; }
};

// Begins what RunWithRenameGate gives when the kernel cannot stop a child's
// renames (no seccomp user notification), followed by why.
extern const char kNoRenameGate[];

// Runs fn as RunInChild does, in a child whose renames (rename, renameat,
// renameat2) each wait in the kernel until decide, called with the target
// path as the child gave it, answers. decide runs in a process of its own,
// in the order of the renames: state it keeps is its own. Gives what fn
// returned, "killed" when an answer killed the child, a text that starts
// with kNoRenameGate when no gate could be set up, else as RunInChild.
std::string RunWithRenameGate(const std::function<std::string()>& fn,
                              const std::function<RenameAnswer(const std::string& target)>& decide,
                              unsigned seconds = kHangSeconds);

} // namespace vztest
