// Table rows that run as an unprivileged user, wherever the checkout and TMPDIR lie.
#pragma once

#include <string>

namespace vztest
{

// Root writes into read-only files, so table rows about them run in a child
// (RunInChild) as an unprivileged user. That user must reach the program's
// resources and the rows' files, which a checkout in a private folder (root's
// home, a `mktemp -d` folder) or a private TMPDIR keeps from it. A program
// with such rows therefore declares, at namespace scope,
//
//   const bool runs_shared = vztest::RunFromSharedCopy();
//
// Run as root, that starts the same process again from a copy of the program
// in a fresh folder the user can enter (under TMPDIR when the user can enter
// that, else under /tmp), with the program's resources folder beside it and
// TMPDIR and VZ_RESOURCES_DIR pointing inside it; the folder goes at exit.
// Gives true in the copy, false where there is nothing to do (not root), where
// no such folder could be made, or where the copy could not be made or
// started (said on standard error).
bool RunFromSharedCopy();

// In a row's child: makes root the unprivileged user, with a copy of the X
// cookie of its own and a working folder it can enter. Gives "" when the
// child now runs as that user (or was never root), else why not: a text that
// starts with kCannotDropRoot when the machine cannot hold it (no folder the
// user can enter, or its ids refused), and any other text, which fails the
// row, for every other failure (a copy that could not be made or started).
extern const char kCannotDropRoot[];
std::string DropRoot();

// The rows a test could not run as the unprivileged user, for its skip message.
class NotRunRows
{
public:
    // True, with the row noted, when got says the row could not run.
    bool Noted(const std::string& got, const std::string& row);
    bool Empty() const { return names.empty(); }
    std::string Why() const;

private:
    std::string names, reasons;
};

} // namespace vztest
