// Fuzzed skins and scripts may ask to start programs; in a fuzz target no
// program may start. The plug-in starts them through fork, which this
// definition replaces for the whole target: every start fails as it would
// on a system out of processes, down the plug-in's own failure path.
#include <sys/types.h>

#include <cerrno>

extern "C" pid_t fork() {
  errno = EAGAIN;
  return -1;
}
