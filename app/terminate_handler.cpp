// The program's terminate handler, in place of libstdc++'s default one.
//
// libstdc++'s verbose handler prints the type of an uncaught exception, and
// for that it links the C++ name demangler, about 45 KB of the release
// executable. A GUI program has no console to print to, so nobody would read
// the name. Defining the handler here keeps the library's out of the link.
// It ends the process as the default does after printing: with abort. Other
// C++ runtimes (MSVC's) have no such handler and build nothing here.

#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
#endif
