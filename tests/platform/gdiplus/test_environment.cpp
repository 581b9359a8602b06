// Leak-checker setup for the text tests.
//
// fontconfig keeps its configuration and font caches for the life of the
// process, and Pango's font matching thread fills them; neither is freed at
// exit. FcFini would free them but races with that thread (it asserts when
// a cache chain is still in use), so instead those allocations are named
// here as known process-lifetime caches. Anything allocated by our code and
// lost still shows.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
