// ThreadSanitizer setup for the tests, compiled into each test program of
// a ThreadSanitizer build.
//
// Pango starts fontconfig on a thread of its own ("[pango] FcInit") and
// waits for it with GLib's futex-based locks, which the sanitizer cannot
// see in the uninstrumented libraries; what fontconfig then reads of its
// own configuration shows as a race. Only races inside fontconfig are
// named here: one between our threads still shows.
extern "C" const char* __tsan_default_suppressions() { return "race:libfontconfig.so\n"; }
