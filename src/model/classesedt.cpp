#include "classesedt.h"

#include "variables.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace horaku
{

namespace
{

RLibel Libel(const char* libelle, const char* exemple)
{
    RLibel l;
    l.Libelle = libelle;
    l.Exemple = exemple;
    return l;
}

} // namespace

static_assert(sizeof(TextesSequence) == 23 && alignof(TextesSequence) == 1,
              "a sequence's texts sit between its times and its Vide mark");

// In place: o_[0..3] the four lengths, then the bytes one after the other.
// On the heap: o_[0] = kSurLeTas, o_[1..8] a pointer to a block holding four
// 32-bit lengths, then the bytes.

TextesSequence::TextesSequence(std::string_view t0, std::string_view t1, std::string_view t2,
                               std::string_view t3)
{
    Fixer({t0, t1, t2, t3});
}

TextesSequence::TextesSequence(const TextesSequence& autre)
{
    if (!autre.surLeTas()) {
        std::memcpy(o_, autre.o_, kOctets);
        return;
    }
    Fixer({autre[0], autre[1], autre[2], autre[3]});
}

TextesSequence::TextesSequence(TextesSequence&& autre) noexcept
{
    std::memcpy(o_, autre.o_, kOctets);
    std::memset(autre.o_, 0, kOctets);
}

TextesSequence& TextesSequence::operator=(const TextesSequence& autre)
{
    if (this == &autre) return *this;
    if (!autre.surLeTas() && !surLeTas()) {
        std::memcpy(o_, autre.o_, kOctets);
        return *this;
    }
    Fixer({autre[0], autre[1], autre[2], autre[3]});
    return *this;
}

TextesSequence& TextesSequence::operator=(TextesSequence&& autre) noexcept
{
    if (this == &autre) return *this;
    liberer();
    std::memcpy(o_, autre.o_, kOctets);
    std::memset(autre.o_, 0, kOctets);
    return *this;
}

const unsigned char* TextesSequence::bloc() const
{
    const unsigned char* b = nullptr;
    std::memcpy(&b, o_ + 1, sizeof b);
    return b;
}

void TextesSequence::liberer()
{
    if (surLeTas()) std::free(const_cast<unsigned char*>(bloc()));
    std::memset(o_, 0, kOctets);
}

const std::string_view TextesSequence::operator[](std::size_t groupe) const
{
    const unsigned char* octets = nullptr;
    std::size_t debut = 0;
    std::size_t longueur = 0;
    if (surLeTas()) {
        const unsigned char* const b = bloc();
        std::uint32_t l[4];
        std::memcpy(l, b, sizeof l);
        for (std::size_t k = 0; k < groupe; ++k)
            debut += l[k];
        longueur = l[groupe];
        octets = b + sizeof l;
    } else {
        for (std::size_t k = 0; k < groupe; ++k)
            debut += o_[k];
        longueur = o_[groupe];
        octets = o_ + 4;
    }
    return {reinterpret_cast<const char*>(octets) + debut, longueur};
}

void TextesSequence::Fixer(std::size_t groupe, std::string_view texte)
{
    std::array<std::string_view, 4> t = {(*this)[0], (*this)[1], (*this)[2], (*this)[3]};
    t[groupe] = texte;
    Fixer(t);
}

bool TextesSequence::chezSoi(const std::array<std::string_view, 4>& textes) const
{
    const auto dedans = [](const char* p, const void* debut, std::size_t n) {
        const auto x = reinterpret_cast<std::uintptr_t>(p);
        const auto d = reinterpret_cast<std::uintptr_t>(debut);
        return x >= d && x < d + n;
    };
    std::size_t taille = kOctets;
    const void* debut = o_;
    if (surLeTas()) {
        debut = bloc();
        taille = 4 * sizeof(std::uint32_t);
        for (std::size_t k = 0; k < 4; ++k)
            taille += (*this)[k].size();
    }
    for (const std::string_view t : textes)
        if (!t.empty() && dedans(t.data(), debut, taille)) return true;
    return false;
}

void TextesSequence::Fixer(const std::array<std::string_view, 4>& textes)
{
    const std::size_t total =
        textes[0].size() + textes[1].size() + textes[2].size() + textes[3].size();
    if (total <= kEnPlace && !chezSoi(textes)) {
        // Straight into place, byte by byte: a call to memcpy costs more
        // than these few bytes, and a copy through a buffer would read back
        // bytes just written one at a time.
        liberer();
        unsigned char* p = o_ + 4;
        for (std::size_t k = 0; k < 4; ++k) {
            o_[k] = static_cast<unsigned char>(textes[k].size());
            for (const char c : textes[k])
                *p++ = static_cast<unsigned char>(c);
        }
        return;
    }
    // The texts may lie in this very storage: the new one is made in full
    // before the old one is let go.
    unsigned char neuf[kOctets] = {};
    if (total <= kEnPlace) {
        unsigned char* p = neuf + 4;
        for (std::size_t k = 0; k < 4; ++k) {
            neuf[k] = static_cast<unsigned char>(textes[k].size());
            for (const char c : textes[k])
                *p++ = static_cast<unsigned char>(c);
        }
    } else {
        std::uint32_t l[4];
        for (std::size_t k = 0; k < 4; ++k) {
            if (textes[k].size() > UINT32_MAX) throw std::bad_alloc();
            l[k] = static_cast<std::uint32_t>(textes[k].size());
        }
        auto* const b = static_cast<unsigned char*>(std::malloc(sizeof l + total));
        if (!b) throw std::bad_alloc();
        std::memcpy(b, l, sizeof l);
        unsigned char* p = b + sizeof l;
        for (const std::string_view t : textes) {
            if (!t.empty()) std::memcpy(p, t.data(), t.size());
            p += t.size();
        }
        neuf[0] = kSurLeTas;
        std::memcpy(neuf + 1, &b, sizeof b);
    }
    liberer();
    std::memcpy(o_, neuf, kOctets);
}

bool TextesSequence::ToutVide() const
{
    if (!surLeTas()) return (o_[0] | o_[1] | o_[2] | o_[3]) == 0;
    return (*this)[0].empty() && (*this)[1].empty() && (*this)[2].empty() && (*this)[3].empty();
}

bool operator==(const TextesSequence& a, const TextesSequence& b)
{
    for (std::size_t k = 0; k < 4; ++k)
        if (a[k] != b[k]) return false;
    return true;
}

REdt::REdt()
{
    Semaines.push_back(RSemaine{"Sem 1", 0xFFFF00});
    Libelles = {
        Libel("Jours", "Lundi"),    Libel("Classes", "604"),        Libel("Groupes", "G1"),
        Libel("Salles", "Salle 4"), Libel("Divers", "Divers"),      Libel("Titre", "Titre"),
        Libel("Heure", "10:30"),    Libel("Suppl", "Inutilis\xE9"), Libel("Web", "Inutilis\xE9")};
    RPolice& web = Libelles[LibWeb].Police;
    web.Nom = "Times New Roman";
    web.Couleur = 0xFF0000;
    web.Taille = 8;
    Jours.resize(kNbJours);
    for (int i = 0; i < kNbJours; ++i)
        Jours[static_cast<std::size_t>(i)].Nom = kNomsJours[i];
    AjusterSemaines();
}

void REdt::Copier(const REdt& source)
{
    if (this != &source) *this = source;
    if (DureeSeq == 0) DureeSeq = 1;
}

void REdt::AjusterSemaines()
{
    for (RJour& jour : Jours)
        jour.ParSemaine.resize(Semaines.size());
}

void REdt::OrienterHeures(bool tourner)
{
    if (Libelles.size() > LibHeure) Libelles[LibHeure].Police.Orientation = tourner ? 900 : 0;
}

bool REdt::MarquerVides()
{
    bool texte = false;
    for (RJour& jour : Jours) {
        for (RJourSem& js : jour.ParSemaine) {
            js.Vide = true;
            for (const RSequence& s : js.Sequences) {
                if (!s.Textes.ToutVide()) {
                    js.Vide = false;
                    break;
                }
            }
            texte = texte || !js.Vide;
        }
    }
    return texte;
}

void REdt::CalculerPlage()
{
    HeureDebut = EncoderHeure(23, 59, 59, 999);
    HeureFin = 0;
    for (const RJour& jour : Jours) {
        if (jour.Affiche == 0) continue;
        for (const RJourSem& js : jour.ParSemaine) {
            for (const RSequence& s : js.Sequences) {
                if (s.Debut < HeureDebut) HeureDebut = s.Debut;
                if (s.Fin > HeureFin) HeureFin = s.Fin;
            }
        }
    }
    if (AffichHeures) {
        const int h = Minutes(HeureDebut) / 60;
        const TDateTime pleine = EncoderHeure(h, 0);
        if (pleine < HeureDebut) HeureDebut = pleine;
    }
}

} // namespace horaku
