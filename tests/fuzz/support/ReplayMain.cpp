// Runs a fuzz target's entry point over saved inputs (files, or every file
// of a folder), so that the seed corpus and every input that once crashed a
// target are replayed by the ordinary test suite with any compiler. A
// crash, a broken property or an escaping exception fails the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The files an argument names, in a stable order; throws when it names nothing.
std::vector<fs::path> inputsOf(const fs::path& argument) {
    if (fs::is_regular_file(argument)) return {argument};
    if (!fs::is_directory(argument)) throw std::runtime_error(argument.string() + " is neither a file nor a folder");
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(argument))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read " + file.string());
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "Replaying %s\n", file.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::size_t count = 0;
        for (int i = 1; i < argc; ++i) {
            for (const fs::path& file : inputsOf(argv[i])) {
                replay(file);
                ++count;
            }
        }
        if (count == 0) throw std::runtime_error("no inputs to replay");
        std::printf("Replayed %zu inputs\n", count);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
