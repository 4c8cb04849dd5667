// The .edt file: one value per line, in a fixed order, no keys.  The reader
// checks every count against the lines that are left before it allocates, so
// a hostile count fails at once instead of exhausting memory.
#include "classesedt.h"
#include "erreurs.h"
#include "fichiers.h"
#include "variables.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace horaku
{

namespace
{

// Writes straight into a buffer sized beforehand; it grows only when the
// estimate falls short.
class Ecrivain
{
public:
    explicit Ecrivain(std::size_t estimation) { s_.resize(estimation); }
    void texte(std::string_view t)
    {
        char* const p = place(t.size());
        std::memcpy(p, t.data(), t.size());
        // No text may break its line.
        for (std::size_t i = 0; i < t.size(); ++i)
            if (p[i] == '\r' || p[i] == '\n') p[i] = ' ';
        clore(p + t.size());
    }
    void entier(long long v)
    {
        char* const p = place(24);
        clore(std::to_chars(p, p + 24, v).ptr);
    }
    void drapeau(bool b) { entier(b ? 1 : 0); }
    void temps(TDateTime t)
    {
        char* const p = place(kTailleTexteTemps);
        clore(p + TempsVersTampon(t, p));
    }
    std::string resultat() &&
    {
        s_.resize(n_);
        return std::move(s_);
    }

private:
    // Room for n bytes and the line break.
    char* place(std::size_t n)
    {
        if (s_.size() - n_ < n + 2) s_.resize(std::max(s_.size() * 2, n_ + n + 2));
        return s_.data() + n_;
    }
    void clore(char* fin)
    {
        fin[0] = '\r';
        fin[1] = '\n';
        n_ = static_cast<std::size_t>(fin + 2 - s_.data());
    }
    std::string s_;
    std::size_t n_ = 0;
};

// Out of line, so that reading a line stays small enough to inline.
[[noreturn]] void Manque(std::size_t i)
{
    throw ErreurIndice(static_cast<long long>(i));
}

// Lines are cut one at a time as they are read: only their number is known
// beforehand, which is all the count checks need.
class Lecteur
{
public:
    explicit Lecteur(std::string_view contenu) : lignes_(contenu), total_(CompterLignes(contenu)) {}

    std::string_view ligne()
    {
        if (i_ >= total_) Manque(i_);
        ++i_;
        return lignes_.Suivante();
    }
    void sauter() { ligne(); }
    std::string texte() { return std::string(ligne()); }
    long long entier(long long min, long long max)
    {
        const std::string_view l = ligne();
        std::string_view s = l;
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        // One sign at most: "+-5" is no number.
        if (!s.empty() && s.front() == '+' && (s.size() < 2 || s[1] != '-')) s.remove_prefix(1);
        long long v = 0;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || v < min || v > max)
            throw ErreurEntier(l);
        return v;
    }
    std::int32_t entier32() { return static_cast<std::int32_t>(entier(INT32_MIN, INT32_MAX)); }
    bool drapeau() { return entier32() != 0; }
    TDateTime temps()
    {
        const std::string_view l = ligne();
        TDateTime t = 0;
        if (!temps_.Lire(l, t)) throw ErreurDate(l);
        return t;
    }
    // A count of items, each taking at least `lignesParElement` lines.
    std::size_t compte(std::size_t lignesParElement)
    {
        const std::size_t numero = i_ + 1;
        const std::int32_t n = entier32();
        if (n < 0)
            throw ErreurHoraku("Fichier Horaku incorrect : la ligne " + std::to_string(numero) +
                               " donne un nombre négatif (" + std::to_string(n) + ").");
        exiger(static_cast<std::size_t>(n) * lignesParElement);
        return static_cast<std::size_t>(n);
    }
    void exiger(std::size_t n) const
    {
        if (total_ - i_ < n) throw ErreurIndice(static_cast<long long>(total_));
    }
    std::size_t numero() const { return i_ + 1; }

private:
    CoupeurLignes lignes_;
    std::size_t total_;
    std::size_t i_ = 0;
    LecteurTemps temps_;
};

std::string Style(const RPolice& p)
{
    std::string s = "0000";
    s[0] = p.Gras ? '1' : '0';
    s[1] = p.Italique ? '1' : '0';
    s[2] = p.Souligne ? '1' : '0';
    s[3] = p.Barre ? '1' : '0';
    return s;
}

ErreurHoraku CompteRefuse(std::size_t numero, const std::string& quoi)
{
    return ErreurHoraku("Fichier Horaku incorrect : la ligne " + std::to_string(numero) + " " +
                        quoi + ".");
}

} // namespace

std::string EcrireEdt(const REdt& e)
{
    // Sized once: a large timetable would otherwise be copied at every growth.
    std::size_t taille = 4096;
    for (const auto& liste : e.ListesDonnees)
        for (const std::string& t : liste)
            taille += t.size() + 2;
    for (const RJour& jour : e.Jours)
        for (const RJourSem& js : jour.ParSemaine)
            for (const RSequence& s : js.Sequences)
                taille += 2 * (kTailleTexteTemps + 2) + s.Textes[0].size() + s.Textes[1].size() +
                          s.Textes[2].size() + s.Textes[3].size() + 8 + 13;
    Ecrivain w(taille);
    w.texte(kTexteVersion);
    w.texte(kTexteEntete);
    w.texte(e.Titre);
    w.texte(e.MotDePasse);
    w.entier(e.Reserve1);
    w.entier(static_cast<long long>(e.Semaines.size()));
    for (const RSemaine& s : e.Semaines) {
        w.texte(s.Nom);
        w.entier(s.Couleur);
    }
    w.entier(static_cast<long long>(e.Libelles.size()));
    for (const RLibel& l : e.Libelles) {
        w.texte(l.Libelle);
        w.texte(l.Exemple);
        w.texte(l.Police.Nom);
        w.entier(l.Police.Taille);
        w.entier(l.Police.Couleur);
        w.texte(Style(l.Police));
        w.entier(l.Police.Jeu);
    }
    w.entier(e.DureeSeq);
    w.entier(e.Marge);
    w.entier(e.Retrait);
    w.entier(0);
    w.drapeau(e.AffichNom);
    w.drapeau(e.AffichContour);
    w.drapeau(e.Reserve2);
    w.drapeau(e.AffichJours);
    w.drapeau(e.AffichHeures);
    w.temps(e.HeureAffichJours);
    for (int i = 0; i < 7; ++i)
        w.entier(0);
    for (const auto& liste : e.ListesDonnees) {
        w.entier(static_cast<long long>(liste.size()));
        for (const std::string& t : liste)
            w.texte(t);
    }
    w.entier(static_cast<long long>(e.Jours.size()));
    for (const RJour& jour : e.Jours) {
        w.entier(jour.Affiche);
        for (std::size_t k = 0; k < e.Semaines.size(); ++k) {
            if (k >= jour.ParSemaine.size()) {
                w.entier(0); // keeps the file readable should the invariant break
                continue;
            }
            const auto& seqs = jour.ParSemaine[k].Sequences;
            w.entier(static_cast<long long>(seqs.size()));
            for (const RSequence& s : seqs) {
                w.temps(s.Debut);
                w.temps(s.Fin);
                for (const std::string_view t : s.Textes)
                    w.texte(t);
            }
        }
    }
    w.entier(e.Mesures.HeureLarg);
    return std::move(w).resultat();
}

namespace
{

bool Lire(REdt& e, std::string_view contenu)
{
    Lecteur r(contenu);
    if (r.ligne() != kTexteVersion) return false;
    r.sauter();
    e.Titre = r.texte();
    e.MotDePasse = r.texte();
    e.Reserve1 = r.entier32();

    const std::size_t ligneN = r.numero();
    const std::size_t n = r.compte(2);
    if (n == 0) throw CompteRefuse(ligneN, "n'annonce aucun type de semaine");
    e.Semaines.resize(n);
    for (RSemaine& s : e.Semaines) {
        s.Nom = r.texte();
        s.Couleur = r.entier32();
    }

    const std::size_t ligneS = r.numero();
    const std::size_t nbLibelles = r.compte(7);
    if (nbLibelles != kNbLibelles)
        throw CompteRefuse(ligneS, "annonce " + std::to_string(nbLibelles) +
                                       " polices au lieu de " + std::to_string(kNbLibelles));
    e.Libelles.resize(nbLibelles);
    for (RLibel& l : e.Libelles) {
        l.Libelle = r.texte();
        l.Exemple = r.texte();
        RPolice p;
        p.Nom = r.texte();
        p.Taille = r.entier32();
        p.Couleur = r.entier32();
        const std::string_view style = r.ligne();
        p.Gras = style.size() > 0 && style[0] == '1';
        p.Italique = style.size() > 1 && style[1] == '1';
        p.Souligne = style.size() > 2 && style[2] == '1';
        p.Barre = style.size() > 3 && style[3] == '1';
        p.Jeu = static_cast<std::uint8_t>(r.entier32());
        l.Police = p;
    }

    // Written unsigned: accept the whole unsigned range so that any value the
    // writer writes reads back.
    e.DureeSeq = static_cast<std::uint32_t>(r.entier(INT32_MIN, UINT32_MAX));
    if (e.DureeSeq == 0) e.DureeSeq = 1;
    e.Marge = r.entier32();
    e.Retrait = r.entier32();
    r.sauter();
    e.AffichNom = r.drapeau();
    e.AffichContour = r.drapeau();
    e.Reserve2 = r.drapeau();
    e.AffichJours = r.drapeau();
    e.AffichHeures = r.drapeau();
    e.HeureAffichJours = HeureDuJour(r.temps());
    for (int i = 0; i < 7; ++i)
        r.sauter();

    for (auto& liste : e.ListesDonnees) {
        liste.resize(r.compte(1));
        for (std::string& t : liste)
            t = r.texte();
    }

    const std::size_t ligneD = r.numero();
    const std::size_t nbJours = r.compte(1);
    if (nbJours != kNbJours)
        throw CompteRefuse(ligneD, "annonce " + std::to_string(nbJours) + " jours au lieu de " +
                                       std::to_string(kNbJours));
    e.Jours.resize(nbJours);
    for (RJour& jour : e.Jours) {
        jour.Affiche = r.entier32();
        r.exiger(n);
        jour.ParSemaine.resize(n);
        for (RJourSem& js : jour.ParSemaine) {
            js.Sequences.resize(r.compte(6));
            for (RSequence& s : js.Sequences) {
                s.Debut = r.temps();
                s.Fin = r.temps();
                // In this order: a braced list is evaluated left to right.
                s.Textes.Fixer({r.ligne(), r.ligne(), r.ligne(), r.ligne()});
            }
        }
    }
    e.Mesures.HeureLarg = r.entier32();

    RPolice& web = e.Libelles[LibWeb].Police;
    web.Nom = "Times New Roman";
    web.Couleur = 0xFF0000;
    web.Taille = 8;
    if (e.HeuresVerticales) e.OrienterHeures(true);
    e.EdtModifie = false;
    return true;
}

} // namespace

bool LireEdt(REdt& e, std::string_view contenu)
{
    try {
        return Lire(e, contenu);
    } catch (...) {
        // The caller may keep what was read before the faulty line: every day
        // must still hold one entry per week type.
        e.AjusterSemaines();
        throw;
    }
}

bool REdt::Charger()
{
    // A missing file reads as an empty list of lines; a folder, a pipe or a
    // device is there but cannot be opened as a file, and is never opened
    // (a pipe would block, /dev/zero would never end).
    if (ExistePasFichier(Fichier)) throw ErreurOuvrir(Fichier);
    if (!FichierExiste(Fichier)) throw ErreurIndice(0);
    // The version line is judged on the file's first bytes: a foreign file,
    // however large, is refused without being read.  An empty file goes on
    // to the reader, which names the missing line.
    const std::size_t version = std::strlen(kTexteVersion);
    const std::string debut = DebutFichier(Fichier, version + 1);
    if (!debut.empty() && PremiereLigne(debut) != kTexteVersion) return false;
    const ContenuFichier contenu = LireContenuFichier(Fichier);
    return LireEdt(*this, contenu.Vue());
}

bool REdt::Enregistrer()
{
    if (Fichier.empty()) throw ErreurCreer(Fichier, kCauseNomVide);
    EcrireFichierAtomique(Fichier, EcrireEdt(*this));
    EdtModifie = false;
    return true;
}

} // namespace horaku
