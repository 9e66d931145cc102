// Loaded into quirevale-cli by a test (LD_PRELOAD): Ctrl+C arrives at the
// very moment the finished archive is given its name.
#include <csignal>
#include <dlfcn.h>

extern "C" int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    using Rename = int (*)(int, const char *, int, const char *, unsigned);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "renameat2"));
    std::raise(SIGINT);
    return real(fromDir, from, toDir, to, flags);
}
