#include "platform/programs/ProgramEnd.h"

#include <cstdio>

#include <windows.h>

namespace ProgramEnd {

int afterRun(int status)
{
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), UINT(status));
    return status;
}

} // namespace ProgramEnd
