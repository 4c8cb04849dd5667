#include "fichiers.h"

#include "erreurs.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace horaku
{

bool FichierExiste(const std::string& chemin)
{
    struct stat st {
    };
    return ::stat(chemin.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ExistePasFichier(const std::string& chemin)
{
    struct stat st {
    };
    return ::stat(chemin.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool MemeFichier(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

void RefuserSortieSurEntree(const std::string& entree, const std::string& sortie)
{
    if (MemeFichier(entree, sortie)) throw ErreurCreer(sortie, kCauseSortieEntree);
}

namespace
{

// Closes on every way out.
class Descripteur
{
public:
    explicit Descripteur(int fd) : fd_(fd) {}
    ~Descripteur()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descripteur(const Descripteur&) = delete;
    Descripteur& operator=(const Descripteur&) = delete;
    int get() const { return fd_; }
    // The close of a written file may be the first to report its failure.
    int fermer()
    {
        const int r = ::close(fd_);
        fd_ = -1;
        return r == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Reads up to `n` bytes at `d`; answers the count read, or -1 with errno.
ssize_t LireTout(int fd, char* d, std::size_t n)
{
    std::size_t lu = 0;
    while (lu < n) {
        const ssize_t r = ::read(fd, d + lu, n - lu);
        if (r < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (r == 0) break;
        lu += static_cast<std::size_t>(r);
    }
    return static_cast<ssize_t>(lu);
}

} // namespace

namespace
{

// Huge pages are asked for from this size on: each spares some five hundred
// page faults.
constexpr std::size_t kPageGeante = std::size_t{2} << 20;

char* Allouer(std::size_t n)
{
    if (n >= 2 * kPageGeante) {
        const std::size_t arrondi = (n + kPageGeante - 1) & ~(kPageGeante - 1);
        if (void* p = std::aligned_alloc(kPageGeante, arrondi)) {
#ifdef MADV_HUGEPAGE
            ::madvise(p, arrondi, MADV_HUGEPAGE); // a mere wish: refused, nothing changes
#endif
            return static_cast<char*>(p);
        }
    }
    auto* p = static_cast<char*>(std::malloc(std::max<std::size_t>(n, 1)));
    if (!p) throw std::bad_alloc();
    return p;
}

} // namespace

ContenuFichier::ContenuFichier(std::size_t n) : octets_(Allouer(n)), taille_(n) {}

ContenuFichier LireContenuFichier(const std::string& chemin)
{
    const Descripteur fd(::open(chemin.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw ErreurOuvrir(chemin);
    struct stat st {
    };
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) throw ErreurOuvrir(chemin);
    const bool ordinaire = S_ISREG(st.st_mode) && st.st_size > 0;
    if (ordinaire && static_cast<std::uint64_t>(st.st_size) > kTailleMaxFichier)
        throw ErreurTropGrand(chemin);
    // Straight into a buffer of the file's size, not zeroed first: no
    // growth, no second copy.
    ContenuFichier contenu(ordinaire ? static_cast<std::size_t>(st.st_size) : 0);
    const ssize_t lu = LireTout(fd.get(), contenu.octets_.get(), contenu.taille_);
    if (lu < 0) throw ErreurOuvrir(chemin);
    if (static_cast<std::size_t>(lu) < contenu.taille_) {
        contenu.taille_ = static_cast<std::size_t>(lu); // shrunk meanwhile
        return contenu;
    }
    // A file that grows meanwhile, or one without a size (a pipe), goes on in
    // pieces, within the same bound.
    std::string suite;
    char morceau[8192];
    for (;;) {
        const ssize_t n = LireTout(fd.get(), morceau, sizeof morceau);
        if (n < 0) throw ErreurOuvrir(chemin);
        if (n == 0) break;
        if (contenu.taille_ + suite.size() + static_cast<std::size_t>(n) > kTailleMaxFichier)
            throw ErreurTropGrand(chemin);
        suite.append(morceau, static_cast<std::size_t>(n));
    }
    if (suite.empty()) return contenu;
    ContenuFichier tout(contenu.taille_ + suite.size());
    std::memcpy(tout.octets_.get(), contenu.octets_.get(), contenu.taille_);
    std::memcpy(tout.octets_.get() + contenu.taille_, suite.data(), suite.size());
    return tout;
}

std::string LireFichier(const std::string& chemin)
{
    return std::string(LireContenuFichier(chemin).Vue());
}

std::string DebutFichier(const std::string& chemin, std::size_t octets)
{
    const Descripteur fd(::open(chemin.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw ErreurOuvrir(chemin);
    std::string debut(octets, '\0');
    const ssize_t lu = LireTout(fd.get(), debut.data(), debut.size());
    if (lu < 0) throw ErreurOuvrir(chemin);
    debut.resize(static_cast<std::size_t>(lu));
    return debut;
}

namespace
{

std::string Dossier(const std::string& chemin)
{
    const auto p = chemin.rfind('/');
    if (p == std::string::npos) return ".";
    if (p == 0) return "/";
    return chemin.substr(0, p);
}

// Answers 0, or the errno of the failure.
int ToutEcrire(int fd, std::string_view contenu)
{
    while (!contenu.empty()) {
        const ssize_t n = ::write(fd, contenu.data(), contenu.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        contenu.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// The first failed write stops the producer: a full disk is not fed the rest
// of a long calendar.
struct ArretEcriture {
    int erreur;
};

// Gathers the producer's small pieces into blocks of a fixed size.
class Flux
{
public:
    explicit Flux(int fd) : fd_(fd) { tampon_.reserve(kTampon); }
    void ecrire(std::string_view s)
    {
        if (tampon_.size() + s.size() > kTampon) {
            vider();
            if (s.size() >= kTampon) return envoyer(s);
        }
        tampon_.append(s);
    }
    void vider()
    {
        envoyer(tampon_);
        tampon_.clear();
    }
    std::uint64_t taille() const { return taille_; }

private:
    static constexpr std::size_t kTampon = 1 << 16;
    void envoyer(std::string_view s)
    {
        if (const int e = ToutEcrire(fd_, s)) throw ArretEcriture{e};
        taille_ += s.size();
    }
    int fd_;
    std::string tampon_;
    std::uint64_t taille_ = 0;
};

using Producteur = std::function<void(const EcrireMorceau&)>;

// The producer's content from the file's current offset: 0 and its length,
// or the errno of the failed write.  Other exceptions of the producer go on.
int Produire(int fd, const Producteur& produire, std::uint64_t& taille)
{
    Flux flux(fd);
    try {
        produire([&flux](std::string_view s) { flux.ecrire(s); });
        flux.vider();
    } catch (const ArretEcriture& a) {
        return a.erreur;
    }
    taille = flux.taille();
    return 0;
}

// From the first byte: the content, its exact length, on the disk.
int Reecrire(int fd, std::string_view contenu)
{
    if (::lseek(fd, 0, SEEK_SET) != 0) return errno;
    if (const int e = ToutEcrire(fd, contenu)) return e;
    if (::ftruncate(fd, static_cast<off_t>(contenu.size())) != 0) return errno;
    if (::fsync(fd) != 0) return errno;
    return 0;
}

// With the effective user's rights, as open() would judge them.
bool Permis(const std::string& chemin, int droits)
{
    return ::faccessat(AT_FDCWD, chemin.c_str(), droits, AT_EACCESS) == 0;
}

// Access lists, capabilities, labels, user attributes: a rename would drop
// them all.  An attribute that cannot be listed counts as present.
bool AttributsEtendus(const std::string& chemin)
{
    const ssize_t n = ::listxattr(chemin.c_str(), nullptr, 0);
    if (n < 0) return errno != ENOTSUP;
    return n > 0;
}

bool AttributsEtendusFd(int fd)
{
    const ssize_t n = ::flistxattr(fd, nullptr, 0);
    if (n < 0) return errno != ENOTSUP;
    return n > 0;
}

// A fresh file beside `cible`, opened for writing; -1 with errno on failure.
int OuvrirTemporaire(const std::string& cible, mode_t mode, std::string& nom)
{
    static const char kLettres[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static unsigned long long graine = 0;
    graine += static_cast<unsigned long long>(::getpid()) * 7919u +
              static_cast<unsigned long long>(std::time(nullptr)) + 0x9E3779B97F4A7C15ull;
    bool court = false;
    for (int essai = 0; essai < 100; ++essai) {
        unsigned long long x = graine ^ (static_cast<unsigned long long>(essai) << 32);
        std::string suffixe = ".";
        for (int i = 0; i < 6; ++i) {
            x = x * 6364136223846793005ull + 1442695040888963407ull;
            suffixe += kLettres[(x >> 33) % (sizeof kLettres - 1)];
        }
        // A name already as long as the system allows leaves no room for a
        // suffix: a short hidden name in the same folder serves then.
        nom = court ? Dossier(cible) + "/.horaku" + suffixe : cible + suffixe;
        const int fd = ::open(nom.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno == ENAMETOOLONG && !court) {
            court = true;
            continue;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

void SynchroniserDossier(const std::string& cible)
{
    const int dfd = ::open(Dossier(cible).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// Writes a temporary file and renames it over `cible`.  `ancien` is the
// file replaced, or null for a new file.  Answers false, having left
// nothing behind, when the temporary file cannot be given what the old file
// had (owner, group, no extended attribute): the caller writes in place.
bool Remplacer(const std::string& chemin, const std::string& cible, const struct stat* ancien,
               const Producteur& produire)
{
    std::string temporaire;
    // A new file gets its rights from the system as any new file does; a
    // replacement starts private and takes the old rights once filled.
    Descripteur fd(OuvrirTemporaire(cible, ancien != nullptr ? 0600 : 0666, temporaire));
    if (fd.get() < 0) throw ErreurCreer(chemin, errno);
    const auto abandonner = [&](int erreur) {
        ::unlink(temporaire.c_str());
        if (erreur != 0) throw ErreurCreer(chemin, erreur);
        return false;
    };
    if (ancien != nullptr) {
        struct stat st {
        };
        if (::fstat(fd.get(), &st) != 0) return abandonner(errno);
        // A folder with a default access list gives one to the new file.
        if (AttributsEtendusFd(fd.get())) return abandonner(0);
        // The group first: a change of owner or group clears the setuid
        // and setgid bits, which the mode then sets again for the same owner.
        if ((st.st_uid != ancien->st_uid || st.st_gid != ancien->st_gid) &&
            ::fchown(fd.get(), ancien->st_uid, ancien->st_gid) != 0)
            return abandonner(0);
        if (::fchmod(fd.get(), ancien->st_mode & 07777) != 0) return abandonner(0);
    }
    int erreur = 0;
    try {
        std::uint64_t taille = 0;
        erreur = Produire(fd.get(), produire, taille);
    } catch (...) {
        ::unlink(temporaire.c_str());
        throw;
    }
    if (erreur == 0 && ::fsync(fd.get()) != 0) erreur = errno;
    const int fermeture = fd.fermer();
    if (erreur == 0) erreur = fermeture;
    if (erreur == 0 && ::rename(temporaire.c_str(), cible.c_str()) != 0) erreur = errno;
    if (erreur != 0) return abandonner(erreur);
    SynchroniserDossier(cible);
    return true;
}

// Overwrites the file where it is: same inode, so owner, group, mode, access
// lists and links stay.  The old content is kept in memory and written back
// if any step fails.
void EcrireSurPlace(const std::string& chemin, const std::string& cible, const Producteur& produire)
{
    Descripteur fd(::open(cible.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) throw ErreurCreer(chemin, errno);
    struct stat st {
    };
    if (::fstat(fd.get(), &st) != 0) throw ErreurCreer(chemin, errno);
    if (!S_ISREG(st.st_mode)) throw ErreurCreer(chemin, kCausePasFichier);
    std::string ancien(static_cast<std::size_t>(st.st_size), '\0');
    const ssize_t lu = LireTout(fd.get(), ancien.data(), ancien.size());
    if (lu < 0) throw ErreurCreer(chemin, errno);
    ancien.resize(static_cast<std::size_t>(lu));
    int erreur = 0;
    std::exception_ptr panne;
    if (::lseek(fd.get(), 0, SEEK_SET) != 0) erreur = errno;
    if (erreur == 0) {
        try {
            std::uint64_t taille = 0;
            erreur = Produire(fd.get(), produire, taille);
            if (erreur == 0 && ::ftruncate(fd.get(), static_cast<off_t>(taille)) != 0)
                erreur = errno;
            if (erreur == 0 && ::fsync(fd.get()) != 0) erreur = errno;
        } catch (...) {
            panne = std::current_exception();
        }
    }
    if (erreur != 0 || panne) {
        // The user must know when the old content could not be put back.
        if (Reecrire(fd.get(), ancien) != 0)
            throw ErreurCreer(chemin,
                              (panne ? std::string("Cause inconnue.") : CauseSysteme(erreur)) +
                                  " " + kCauseNonRetabli);
        if (panne) std::rethrow_exception(panne);
        throw ErreurCreer(chemin, erreur);
    }
    fd.fermer(); // the data reached the disk with fsync
}

} // namespace

void EcrireFichierAtomique(const std::string& chemin, std::string_view contenu)
{
    EcrireFichierAtomique(chemin, [contenu](const EcrireMorceau& ecrire) { ecrire(contenu); });
}

void EcrireFichierAtomique(const std::string& chemin, const Producteur& produire)
{
    if (chemin.empty()) throw ErreurCreer(chemin, kCauseNomVide);
    // Through a symbolic link, the file it names is the one to replace: the
    // link itself stays.
    std::string cible = chemin;
    struct stat st {
    };
    if (::lstat(chemin.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* reel = ::realpath(chemin.c_str(), nullptr);
        // A link to nothing: its folder exists, the file it names does not.
        if (reel == nullptr)
            throw ErreurCreer(chemin, errno == ENOENT ? kCauseLienCasse : CauseSysteme(errno));
        cible = reel;
        std::free(reel);
    }
    if (::stat(cible.c_str(), &st) != 0) {
        if (errno != ENOENT) throw ErreurCreer(chemin, errno);
        Remplacer(chemin, cible, nullptr, produire);
        return;
    }
    if (S_ISDIR(st.st_mode)) throw ErreurCreer(chemin, kCauseDossier);
    if (!S_ISREG(st.st_mode)) throw ErreurCreer(chemin, kCausePasFichier);
    // A file without any write right is not replaced behind its owner's
    // back, even by a user whom the system would let do it; nor is a file
    // that this user may not write, whatever the folder allows.
    if ((st.st_mode & 0222) == 0) throw ErreurCreer(chemin, kCauseLectureSeule);
    if (!Permis(cible, W_OK)) throw ErreurCreer(chemin, errno);
    const bool remplacable = st.st_uid == ::geteuid() && st.st_nlink == 1 &&
                             !AttributsEtendus(cible) && Permis(Dossier(cible), W_OK | X_OK);
    if (remplacable && Remplacer(chemin, cible, &st, produire)) return;
    EcrireSurPlace(chemin, cible, produire);
}

std::string_view PremiereLigne(std::string_view contenu)
{
    const auto fin = contenu.find_first_of("\r\n");
    return fin == std::string_view::npos ? contenu : contenu.substr(0, fin);
}

std::vector<std::string_view> DecouperLignes(std::string_view contenu)
{
    std::vector<std::string_view> lignes;
    CoupeurLignes coupeur(contenu);
    while (!coupeur.Fini())
        lignes.push_back(coupeur.Suivante());
    return lignes;
}

std::size_t CompterLignes(std::string_view contenu)
{
    const char* const d = contenu.data();
    const std::size_t n = contenu.size();
    if (n == 0) return 0;
    std::size_t fins = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time, each byte of the counter adding its matches
    // for up to 255 rounds: a very large file is counted several times
    // faster than byte by byte.
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 < n) {
        __m128i compte = zero;
        for (int tour = 0; tour < 255 && i + 16 < n; ++tour, i += 16)
            compte = _mm_sub_epi8(compte, FinsDeLigne16(d + i));
        const __m128i somme = _mm_sad_epu8(compte, zero);
        fins += static_cast<std::size_t>(_mm_cvtsi128_si32(somme)) +
                static_cast<std::size_t>(_mm_extract_epi16(somme, 4));
    }
#endif
    for (; i + 1 < n; ++i)
        fins += FinDeLigne(d, i, n) ? 1 : 0;
    // The last byte ends the last line, whether it is a line break or not.
    return fins + 1;
}

std::string SansSautDeLigne(std::string_view texte)
{
    std::string s(texte);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

} // namespace horaku
