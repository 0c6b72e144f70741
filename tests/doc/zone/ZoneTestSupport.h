#pragma once
// Test programs run under a system time zone of their own: the CMake test
// sets TZ, and Wine takes each process's zone from its own TZ (not from the
// shared wineserver's).
#include <windows.h>

#include <cstdlib>
#include <ctime>

namespace zonetest {

// Wine also passes TZ into the process, where the C run-time misreads a zone
// name such as Europe/Berlin as UTC with made-up summer time: drop it so the
// run-time follows the system zone, as on a PC.
inline void FollowTheSystemZone()
{
    SetEnvironmentVariableW(L"TZ", nullptr);
    _putenv("TZ=");
    _tzset();
}

}  // namespace zonetest
