// Linked into every GoogleTest executable: texts are checked in the built-in
// German, whatever the locale of the machine that runs the tests, unless a test
// chooses a language itself. Programs the tests start inherit the choice.
#include <cstdlib>

namespace {

const bool kGermanTexts = [] {
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", "de_DE.UTF-8", 1);
    return true;
}();

} // namespace
