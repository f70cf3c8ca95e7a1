// The audit architecture a seccomp filter checks first, for the machines the tests know.
#pragma once

#include <linux/audit.h>

namespace vztest
{
#if defined(__x86_64__)
inline constexpr unsigned kSeccompArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
inline constexpr unsigned kSeccompArch = AUDIT_ARCH_AARCH64;
#else
inline constexpr unsigned kSeccompArch = 0; // no filter can be made
#endif
} // namespace vztest
