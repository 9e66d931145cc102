// Loaded into quirevale-cli by a test (LD_PRELOAD): Ctrl+C arrives at the
// very moment the finished archive is given its name, whichever call gives it.
#include <csignal>
#include <dlfcn.h>

extern "C" int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    using Rename = int (*)(int, const char *, int, const char *, unsigned);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "renameat2"));
    std::raise(SIGINT);
    return real(fromDir, from, toDir, to, flags);
}

extern "C" int rename(const char *from, const char *to)
{
    using Rename = int (*)(const char *, const char *);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    std::raise(SIGINT);
    return real(from, to);
}
