#include "platform/programs/ProgramEnd.h"

namespace ProgramEnd {

int afterRun(int status)
{
    return status;
}

} // namespace ProgramEnd
