// The program catches no exceptions: a failed allocation inside a standard
// container can only end the process. These replacements for the C++ library's
// throw helpers and its default terminate handler end it at once, which keeps the
// library's exception classes, their strings and the name demangler out of the
// executable (about a fifth of its size). Linked into the program only, never into
// the tests, which rely on exceptions.
#include <cstdlib>

namespace std {
[[noreturn]] void __throw_bad_alloc() {
    std::abort();
}
[[noreturn]] void __throw_bad_array_new_length() {
    std::abort();
}
[[noreturn]] void __throw_length_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_logic_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
