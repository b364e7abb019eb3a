// Settings of AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer,
// read by their run-time before main. Built into every program when the
// build has OSTREL_SANITIZE; the variables ASAN_OPTIONS, LSAN_OPTIONS and
// UBSAN_OPTIONS still add to them.

extern "C" {

// Strict string checks are the suite's alone (cmake/Ostrel.cmake): on an X
// display, libxkbcommon-x11 hands strndup names that end at their length
// rather than at a zero, which they would stop at start-up.
const char* __asan_default_options() { return "detect_stack_use_after_return=1"; }

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

// Leaks inside the system's libraries only, made once at start and never
// ours to free: fontconfig keeps its configuration for the whole run, and on a
// display the X client libraries and D-Bus what they keep for their connection.
const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:libX11.so\n"
           "leak:libxcb\n"
           "leak:libxkbcommon\n";
}
}
