// Leak-checker setup for programs that draw text (the host, plug-in tests),
// compiled into each such program.
//
// fontconfig keeps its configuration and font caches for the life of the
// process and frees nothing at exit; those allocations are named here as
// known process-lifetime caches. Anything our code loses still shows.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
