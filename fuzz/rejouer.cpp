// Replays a fuzzing corpus through the fuzzing entry point, without the
// fuzzer: the test suite runs it on fuzz/corpus as a regression test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> fichiers;
    for (int i = 1; i < argc; ++i) {
        const fs::path p = argv[i];
        if (fs::is_directory(p)) {
            for (const auto& entree : fs::directory_iterator(p))
                if (entree.is_regular_file()) fichiers.push_back(entree.path());
        } else {
            fichiers.push_back(p);
        }
    }
    if (fichiers.empty()) {
        std::fprintf(stderr, "usage : rejouer DOSSIER|FICHIER... (aucun fichier trouvé)\n");
        return 2;
    }
    for (const fs::path& f : fichiers) {
        std::ifstream flux(f, std::ios::binary);
        if (!flux) {
            std::fprintf(stderr, "illisible : %s\n", f.c_str());
            return 1;
        }
        const std::string contenu((std::istreambuf_iterator<char>(flux)),
                                  std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(contenu.data()),
                               contenu.size());
    }
    std::printf("%zu fichiers rejoués\n", fichiers.size());
    return 0;
}
