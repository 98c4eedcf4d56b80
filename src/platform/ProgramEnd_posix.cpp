#include "platform/ProgramEnd.h"

namespace ProgramEnd {

int afterRun(int status)
{
    return status;
}

} // namespace ProgramEnd
