// Runtime start and shut-down.
//
// Start() marks the runtime active; modules register finalisers as they build
// process-wide objects, and Shutdown() runs them newest first, exactly once,
// whether it is reached by the normal end of the program, by STOP or by the
// fatal error box.
//
//   dove::lifecycle::Start();
//   dove::lifecycle::AddFinaliser(&DestroyVersionFile);
//   ...
//   dove::lifecycle::Shutdown();
#pragma once

namespace dove::lifecycle {

void Start();
void Shutdown();
bool Active();
// The shut-down state begins when Shutdown() starts (or earlier, through
// BeginShutdown) and lasts to the end of the process: the window layer then
// queues only close events.
void BeginShutdown();
bool ShuttingDown();
void AddFinaliser(void (*fn)());

}  // namespace dove::lifecycle
