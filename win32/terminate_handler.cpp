// The program's last word when an exception escapes everything, in place of
// libstdc++'s verbose terminate handler: that one names the exception's type
// and so links the whole C++ name demangler (some 50 KB) into a program whose
// runtimes are linked in. This one says the same minus the type's name.
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {  // NOLINT(cert-dcl58-cpp): replaces the runtime's own definition

void __verbose_terminate_handler() {  // NOLINT(bugprone-reserved-identifier)
  std::fputs("dalvenix-test: terminate called", stderr);
  if (const std::exception_ptr escaped = std::current_exception()) {
    try {
      std::rethrow_exception(escaped);
    } catch (const std::exception& failure) {
      std::fputs(" after an exception: ", stderr);
      std::fputs(failure.what(), stderr);
    } catch (...) {
      std::fputs(" after an exception", stderr);
    }
  }
  std::fputs("\n", stderr);
  std::abort();
}

}  // namespace __gnu_cxx
