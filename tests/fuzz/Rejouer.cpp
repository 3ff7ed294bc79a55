// Replays a fuzzer's inputs without libFuzzer, so that every build checks the rules on the seed
// corpus: each argument is a file or a folder of files, each file one input.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> fichiers;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path chemin(argv[i]);
        if (std::filesystem::is_directory(chemin)) {
            for (const auto& entree : std::filesystem::directory_iterator(chemin)) {
                fichiers.push_back(entree.path());
            }
        } else {
            fichiers.push_back(chemin);
        }
    }
    if (fichiers.empty()) {
        std::fprintf(stderr, "usage: %s <input file or folder>...\n", argv[0]);
        return 2;
    }
    for (const auto& fichier : fichiers) {
        std::ifstream flux(fichier, std::ios::binary);
        if (!flux) {
            std::fprintf(stderr, "cannot read %s\n", fichier.string().c_str());
            return 2;
        }
        const std::string octets{std::istreambuf_iterator<char>(flux), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const unsigned char*>(octets.data()),
                               octets.size());
    }
    std::printf("%zu inputs replayed\n", fichiers.size());
    return 0;
}
