// Preloaded into a test's child process (LD_PRELOAD) to make the system fail
// where a real disk will not fail on demand.  HORAKU_PANNE lists the calls to
// break, "appel:n:errno" separated by commas: the n-th call (from 1) of
// `appel` fails with that errno, the calls before and after it go through.
// Only calls on regular files count (and only opens for writing), so the
// process's own messages and its reading of libraries are left alone.
// HORAKU_PANNE_MORCEAU=k cuts every write to a regular file to k bytes at
// most, so that a failure can land in the middle of a file.
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace
{

enum Appel { Open, Write, Fsync, Rename, Fchown, Fchmod, Ftruncate, NbAppels };
const char* const kNoms[NbAppels] = {"open",   "write",  "fsync",    "rename",
                                     "fchown", "fchmod", "ftruncate"};

struct Panne {
    long numero = 0; // 0: none
    int erreur = 0;
};

Panne g_pannes[NbAppels];
std::atomic<long> g_comptes[NbAppels];
long g_morceau = 0;

__attribute__((constructor)) void Lire()
{
    if (const char* m = std::getenv("HORAKU_PANNE_MORCEAU")) g_morceau = std::atol(m);
    const char* p = std::getenv("HORAKU_PANNE");
    if (p == nullptr) return;
    while (*p != '\0') {
        const char* fin = std::strchr(p, ',');
        const std::size_t n = fin != nullptr ? static_cast<std::size_t>(fin - p) : std::strlen(p);
        const char* deux = static_cast<const char*>(std::memchr(p, ':', n));
        if (deux != nullptr) {
            for (int a = 0; a < NbAppels; ++a) {
                if (std::strlen(kNoms[a]) == static_cast<std::size_t>(deux - p) &&
                    std::strncmp(p, kNoms[a], static_cast<std::size_t>(deux - p)) == 0) {
                    char* suite = nullptr;
                    g_pannes[a].numero = std::strtol(deux + 1, &suite, 10);
                    g_pannes[a].erreur = *suite == ':' ? std::atoi(suite + 1) : EIO;
                }
            }
        }
        p += n;
        if (*p == ',') ++p;
    }
}

// True when this call is the one to break; errno is then set.
bool Casser(Appel a)
{
    const long n = ++g_comptes[a];
    if (g_pannes[a].numero != n) return false;
    errno = g_pannes[a].erreur;
    return true;
}

bool Ordinaire(int fd)
{
    struct stat st {
    };
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

template <typename F> F Suivant(const char* nom)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, nom));
}

bool PourEcrire(int drapeaux)
{
    return (drapeaux & (O_WRONLY | O_RDWR | O_CREAT)) != 0;
}

int OuvrirAvec(const char* nom, const char* chemin, int drapeaux, mode_t mode)
{
    using F = int (*)(const char*, int, ...);
    static F reel[2] = {Suivant<F>("open"), Suivant<F>("open64")};
    if (PourEcrire(drapeaux) && Casser(Open)) return -1;
    return reel[std::strcmp(nom, "open") == 0 ? 0 : 1](chemin, drapeaux, mode);
}

} // namespace

extern "C" {

int open(const char* chemin, int drapeaux, ...)
{
    mode_t mode = 0;
    if ((drapeaux & (O_CREAT | O_TMPFILE)) != 0) {
        va_list a;
        va_start(a, drapeaux);
        mode = static_cast<mode_t>(va_arg(a, int));
        va_end(a);
    }
    return OuvrirAvec("open", chemin, drapeaux, mode);
}

int open64(const char* chemin, int drapeaux, ...)
{
    mode_t mode = 0;
    if ((drapeaux & (O_CREAT | O_TMPFILE)) != 0) {
        va_list a;
        va_start(a, drapeaux);
        mode = static_cast<mode_t>(va_arg(a, int));
        va_end(a);
    }
    return OuvrirAvec("open64", chemin, drapeaux, mode);
}

ssize_t write(int fd, const void* d, size_t n)
{
    static auto reel = Suivant<ssize_t (*)(int, const void*, size_t)>("write");
    if (!Ordinaire(fd)) return reel(fd, d, n);
    if (Casser(Write)) return -1;
    if (g_morceau > 0 && n > static_cast<size_t>(g_morceau)) n = static_cast<size_t>(g_morceau);
    return reel(fd, d, n);
}

int fsync(int fd)
{
    static auto reel = Suivant<int (*)(int)>("fsync");
    if (Ordinaire(fd) && Casser(Fsync)) return -1;
    return reel(fd);
}

int rename(const char* a, const char* b)
{
    static auto reel = Suivant<int (*)(const char*, const char*)>("rename");
    if (Casser(Rename)) return -1;
    return reel(a, b);
}

int fchown(int fd, uid_t u, gid_t g)
{
    static auto reel = Suivant<int (*)(int, uid_t, gid_t)>("fchown");
    if (Ordinaire(fd) && Casser(Fchown)) return -1;
    return reel(fd, u, g);
}

int fchmod(int fd, mode_t m)
{
    static auto reel = Suivant<int (*)(int, mode_t)>("fchmod");
    if (Ordinaire(fd) && Casser(Fchmod)) return -1;
    return reel(fd, m);
}

int ftruncate(int fd, off_t n)
{
    static auto reel = Suivant<int (*)(int, off_t)>("ftruncate");
    if (Ordinaire(fd) && Casser(Ftruncate)) return -1;
    return reel(fd, n);
}

int ftruncate64(int fd, off_t n)
{
    static auto reel = Suivant<int (*)(int, off_t)>("ftruncate64");
    if (Ordinaire(fd) && Casser(Ftruncate)) return -1;
    return reel(fd, n);
}

} // extern "C"
