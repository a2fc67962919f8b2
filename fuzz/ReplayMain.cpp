// Runs a fuzz target over every file of the folders (or files) named on the command line,
// so the saved corpus is replayed by every test run, with or without libFuzzer. Nothing to
// replay is a failure: a corpus that went missing would otherwise pass unnoticed.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static bool runFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return true;
}

int main(int argc, char **argv)
{
    int count = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(arg, error)) {
            for (const auto &entry : std::filesystem::recursive_directory_iterator(arg)) {
                if (!entry.is_regular_file())
                    continue;
                ok = runFile(entry.path()) && ok;
                ++count;
            }
        } else if (std::filesystem::exists(arg, error)) {
            ok = runFile(arg) && ok;
            ++count;
        } else {
            std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
            ok = false;
        }
    }
    std::printf("replayed %d inputs\n", count);
    if (count == 0) {
        std::fprintf(stderr, "nothing to replay\n");
        return 1;
    }
    return ok ? 0 : 1;
}
