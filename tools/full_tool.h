#pragma once

namespace velko {

// Replaces this process by velko-batch-full with the same arguments, so that the run,
// its output and its exit code are the full tool's. Returns only when that tool cannot
// be started: after saying so, with the exit code 2.
int handOverToFullTool(char** argv);

}  // namespace velko
