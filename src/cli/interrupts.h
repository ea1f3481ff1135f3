#pragma once

// Ctrl-C and SIGTERM during a recording must not cut a command short: they
// are blocked in every thread and taken by a watcher thread, which only
// raises a flag that the recording looks at between commands.
namespace interrupts {

// Starts watching; call once, before any other thread exists.
void Watch();
// True once SIGINT or SIGTERM arrived.
bool Requested();

}  // namespace interrupts
