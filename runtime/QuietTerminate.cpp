/* The terminate handler of a statically linked GNU libstdc++ prints the type
 * of the exception that ended the process, and to name it carries a C++ name
 * demangler and a printf of its own: some 80 KB in a module that never lets
 * an exception escape (every throw it can meet, an allocation failing, is
 * caught where it happens). Defining the handler here keeps the library's
 * from being linked at all; it ends the process as that one does, without
 * the message, which a host's process has nowhere to show anyway. Other
 * runtimes need nothing. */
#include <cstddef> // defines __GLIBCXX__ under libstdc++
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif
