/* Gives back, when the module unloads, the memory its statically linked C++
 * runtime set aside for itself. GNU libstdc++ reserves an emergency pool for
 * exceptions (about 18 KB here) when the module loads and never frees it:
 * a host that loads and unloads the plug-in for every panel would grow by
 * that much each time. A static object's destructor runs when the module
 * unloads (after DllMain, which stays free of such work) and hands the pool
 * back; nothing throws after that point. Other runtimes need nothing.
 * Linked into both shipped modules: each carries its own runtime. */
#include <cstddef> // defines __GLIBCXX__ under libstdc++

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __freeres() noexcept;
}

namespace {

struct RuntimeRelease {
    RuntimeRelease() = default;
    RuntimeRelease(const RuntimeRelease &) = delete;
    RuntimeRelease &operator=(const RuntimeRelease &) = delete;
    ~RuntimeRelease() { __gnu_cxx::__freeres(); }
};

RuntimeRelease ReleaseAtUnload;

} // namespace
#endif
