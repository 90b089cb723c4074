// Leak checking in sanitized builds of every test program: fontconfig keeps its cache for the
// life of the process, and widget tests keep their QApplication to the end, so that memory is
// never given back.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
