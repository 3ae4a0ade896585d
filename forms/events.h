#pragma once

namespace forms {

// One pass over the pending window events, from inside a handler.
void DoEvents();

// Blocks until at least one event arrives, then processes what is pending.
// For waits that must not spin a CPU core.
void WaitForEvents();

} // namespace forms
