// The library carries its C++ runtime statically. The runtime's own reporters of fatal errors
// format messages and demangle type names, which alone would be a third of the library, and in
// a browser nobody reads their text. These stand in for them: every failure the library meets is
// contained at its COM and window boundaries (common/guard.h), where an exhausted allocation
// becomes E_OUTOFMEMORY and anything else E_UNEXPECTED, so no message text is needed.
#include <cstdlib>
#include <exception>
#include <new>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_alloc(); }
void __throw_length_error(const char*) { throw bad_alloc(); }
void __throw_logic_error(const char*) { throw bad_exception(); }
void __throw_out_of_range(const char*) { throw bad_exception(); }
void __throw_out_of_range_fmt(const char*, ...) { throw bad_exception(); }
void __throw_invalid_argument(const char*) { throw bad_exception(); }

}  // namespace std
