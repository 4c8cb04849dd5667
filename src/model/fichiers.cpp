#include "fichiers.h"

#include "erreurs.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace horaku {

bool FichierExiste(const std::string& chemin)
{
    struct stat st {};
    return ::stat(chemin.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string LireFichier(const std::string& chemin)
{
    const int fd = ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ErreurOuvrir(chemin);
    std::string contenu;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        contenu.resize(static_cast<std::size_t>(st.st_size));
    // Straight into the string; a file that grows meanwhile goes on in chunks.
    std::size_t lu = 0;
    for (;;) {
        if (lu == contenu.size())
            contenu.resize(lu + (1 << 16));
        const ssize_t n = ::read(fd, contenu.data() + lu, contenu.size() - lu);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            throw ErreurOuvrir(chemin);
        }
        if (n == 0)
            break;
        lu += static_cast<std::size_t>(n);
    }
    ::close(fd);
    contenu.resize(lu);
    return contenu;
}

namespace {

std::string Dossier(const std::string& chemin)
{
    const auto p = chemin.rfind('/');
    if (p == std::string::npos)
        return ".";
    if (p == 0)
        return "/";
    return chemin.substr(0, p);
}

bool ToutEcrire(int fd, std::string_view contenu)
{
    while (!contenu.empty()) {
        const ssize_t n = ::write(fd, contenu.data(), contenu.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        contenu.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

void EcrireFichierAtomique(const std::string& chemin, std::string_view contenu)
{
    if (chemin.empty())
        throw ErreurCreer(chemin);
    // Through a symbolic link, the file it names is the one to replace: the
    // link itself stays.
    std::string cible = chemin;
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* reel = ::realpath(chemin.c_str(), nullptr);
        if (reel == nullptr)
            throw ErreurCreer(chemin);
        cible = reel;
        std::free(reel);
    }
    // Keep the rights of the file we replace; a new file gets the usual ones.
    // A file without any write right is not replaced behind its owner's back,
    // even by a user whom the system would let do it.
    mode_t mode = 0;
    if (::stat(cible.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0)
            throw ErreurCreer(chemin);
        mode = st.st_mode & 07777;
    } else {
        const mode_t masque = ::umask(0);
        ::umask(masque);
        mode = 0666 & ~masque;
    }
    std::string temporaire = cible + ".XXXXXX";
    int fd = ::mkstemp(temporaire.data());
    if (fd < 0 && errno == ENAMETOOLONG) {
        temporaire = Dossier(cible) + "/.horaku.XXXXXX";
        fd = ::mkstemp(temporaire.data());
    }
    if (fd < 0)
        throw ErreurCreer(chemin);
    const bool ok = ::fchmod(fd, mode) == 0 && ToutEcrire(fd, contenu) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temporaire.c_str(), cible.c_str()) != 0) {
        ::unlink(temporaire.c_str());
        throw ErreurCreer(chemin);
    }
    const int dfd = ::open(Dossier(cible).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

std::vector<std::string_view> DecouperLignes(std::string_view contenu)
{
    std::vector<std::string_view> lignes;
    const char* const d = contenu.data();
    const std::size_t n = contenu.size();
    std::size_t debut = 0;
    std::size_t i = 0;
    while (i < n) {
        const char c = d[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lignes.emplace_back(d + debut, i - debut);
        ++i;
        if (c == '\r' && i < n && d[i] == '\n')
            ++i;
        debut = i;
    }
    if (debut < n)
        lignes.emplace_back(d + debut, n - debut);
    return lignes;
}

std::size_t CompterLignes(std::string_view contenu)
{
    // LF ends a line, so does a CR that no LF follows.
    const auto* const d = reinterpret_cast<const unsigned char*>(contenu.data());
    const std::size_t n = contenu.size();
    if (n == 0)
        return 0;
    const auto fin = [d](std::size_t i) {
        return static_cast<unsigned>((d[i] == '\n') | ((d[i] == '\r') & (d[i + 1] != '\n')));
    };
    std::size_t fins = 0;
    std::size_t i = 0;
    // Blocks of a fixed length, so that the inner loop needs no remainder
    // and gets vectorised even at -O2.
    constexpr std::size_t kBloc = 256;
    for (; i + kBloc < n; i += kBloc) {
        unsigned bloc = 0;
        for (std::size_t k = 0; k < kBloc; ++k)
            bloc += fin(i + k);
        fins += bloc;
    }
    for (; i + 1 < n; ++i)
        fins += fin(i);
    // The last byte ends the last line, whether it is a line break or not.
    return fins + 1;
}

std::string SansSautDeLigne(std::string_view texte)
{
    std::string s(texte);
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

} // namespace horaku
