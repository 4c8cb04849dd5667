// Whole-file reads and safe writes.  A write replaces the file as a whole and
// never leaves the old one damaged: when the folder and the file allow it, the
// new content goes to a temporary file that is then renamed over the target;
// when a rename would change what the file is (its owner, group, links,
// access lists) the file is overwritten in place, its old content kept aside
// and written back should anything fail.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace horaku
{

bool FichierExiste(const std::string& chemin);
// A name that names something, but not a regular file (a folder, a pipe, a
// device): nothing a timetable can be read from.
bool ExistePasFichier(const std::string& chemin);
// True when both names lead to one existing file: same device and inode,
// symbolic links followed, so a link or a second hard link counts too.
bool MemeFichier(const std::string& a, const std::string& b);
// A command that reads `entree` and writes another kind of file must not
// write over what it reads: throws ErreurCreer(sortie, kCauseSortieEntree)
// when both names lead to one file.
void RefuserSortieSurEntree(const std::string& entree, const std::string& sortie);

// A whole file's bytes.
class ContenuFichier
{
public:
    std::string_view Vue() const { return {octets_.get(), taille_}; }

private:
    friend ContenuFichier LireContenuFichier(const std::string& chemin);
    explicit ContenuFichier(std::size_t n);
    struct Liberer {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Liberer> octets_;
    std::size_t taille_ = 0;
};

// The whole file, holding no more than its size in memory, read into memory
// that is not zeroed first (a large file's in huge pages where the system
// gives them on request).  Throws ErreurOuvrir when it cannot be opened or
// read, ErreurTropGrand past kTailleMaxFichier.
ContenuFichier LireContenuFichier(const std::string& chemin);
// The same as a string.
std::string LireFichier(const std::string& chemin);
// The first `octets` bytes (fewer when the file is shorter).  Throws
// ErreurOuvrir.
std::string DebutFichier(const std::string& chemin, std::size_t octets);
// Throws ErreurCreer with the cause on its second line; on failure the target
// keeps its old content and no temporary file is left.  A file that the user
// may not write, or that has no write right at all, is refused even when its
// folder would let it be replaced.  A replaced file keeps its mode, owner,
// group, access lists, extended attributes and hard links; a new file gets
// the usual rights (0666 less the umask, or the folder's default list).
void EcrireFichierAtomique(const std::string& chemin, std::string_view contenu);
// The same save for a content made while it is written, never held whole in
// memory: `produire` hands it piece by piece to the function it is given.
// An exception thrown by `produire` abandons the save as a failed write
// would (old content kept, no temporary file left) and then goes on.
using EcrireMorceau = std::function<void(std::string_view)>;
void EcrireFichierAtomique(const std::string& chemin,
                           const std::function<void(const EcrireMorceau&)>& produire);
// Lines ended by CR LF, LF or a lone CR; a final line break opens no new line.
std::vector<std::string_view> DecouperLignes(std::string_view contenu);
// The number of lines DecouperLignes would give, without building them.
std::size_t CompterLignes(std::string_view contenu);
// Where lines end: an LF, or a CR that no LF follows.  FinDeLigne looks at
// d[k] with n bytes from d on; FinsDeLigne16 marks (0xFF) those of the 16
// bytes at d, and reads d[16] too.
inline bool FinDeLigne(const char* d, std::size_t k, std::size_t n)
{
    return d[k] == '\n' || (d[k] == '\r' && (k + 1 >= n || d[k + 1] != '\n'));
}
#if defined(__SSE2__)
inline __m128i FinsDeLigne16(const char* d)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    const __m128i suivant = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 1));
    const __m128i lf = _mm_set1_epi8('\n');
    return _mm_or_si128(
        _mm_cmpeq_epi8(v, lf),
        _mm_andnot_si128(_mm_cmpeq_epi8(suivant, lf), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))));
}
#endif

// Cuts a content into lines one after another, as DecouperLignes does.  It
// looks at 64 bytes at a time: one mask of a block's line ends (an LF, or a
// CR that no LF follows) serves every line in it, and going from one line to
// the next only clears a bit, where a search per line would wait at each
// line's end for the one before.  Inline: the file reader takes its lines
// from it.
class CoupeurLignes
{
public:
    explicit CoupeurLignes(std::string_view contenu) : c_(contenu) { charger(); }
    bool Fini() const { return pos_ >= c_.size(); }
    // The next line, without its line break; only while !Fini().
    std::string_view Suivante()
    {
        const char* const d = c_.data();
        while (masque_ == 0) {
            bloc_ += 64;
            if (bloc_ >= c_.size()) {
                const std::string_view reste = c_.substr(pos_);
                pos_ = c_.size();
                return reste;
            }
            charger();
        }
        const std::size_t e = bloc_ + static_cast<std::size_t>(__builtin_ctzll(masque_));
        masque_ &= masque_ - 1;
        const std::size_t fin = d[e] == '\n' && e > pos_ && d[e - 1] == '\r' ? e - 1 : e;
        const std::string_view ligne(d + pos_, fin - pos_);
        pos_ = e + 1;
        return ligne;
    }

private:
    void charger()
    {
        const char* const d = c_.data() + bloc_;
        const std::size_t n = c_.size() - bloc_;
        masque_ = 0;
#if defined(__SSE2__)
        if (n > 64) {
            for (int k = 0; k < 4; ++k)
                masque_ |= static_cast<std::uint64_t>(
                               static_cast<unsigned>(_mm_movemask_epi8(FinsDeLigne16(d + 16 * k))))
                           << (16 * k);
            return;
        }
#endif
        for (std::size_t k = 0; k < 64 && k < n; ++k)
            masque_ |= static_cast<std::uint64_t>(FinDeLigne(d, k, n)) << k;
    }

    std::string_view c_;
    std::size_t pos_ = 0;
    std::size_t bloc_ = 0;
    std::uint64_t masque_ = 0;
};
// The first line, without its line break.
std::string_view PremiereLigne(std::string_view contenu);
// A text that must stay on its line: CR and LF become blanks.
std::string SansSautDeLigne(std::string_view texte);

} // namespace horaku
