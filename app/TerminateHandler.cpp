// The C++ runtime's default terminate handler names the escaping exception on the standard error
// stream, which a windowed program does not have. For that it carries a demangler and a printf,
// about a sixth of the exe. This one ends the process as that handler does after its message.
// Nothing should reach it: every handler's errors end in the general error report.
#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
