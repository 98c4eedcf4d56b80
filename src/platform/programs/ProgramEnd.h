#pragma once

// How the program ends once its window has closed: at once, as a user expects of 退出 and of
// closing the window.
namespace ProgramEnd {

// Called with the status main() is about to return, after the program's own objects are gone;
// returns it where the process may end as usual. On Windows the process ends here: what the
// libraries would still tear down (thread-local objects at unload) can wait on threads that
// ending the process has already stopped, and would keep it from ending.
int afterRun(int status);

} // namespace ProgramEnd
