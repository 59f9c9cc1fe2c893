// Runs a fuzz target over files and folders of inputs, as libFuzzer would run its corpus, so the
// seeds and every past finding stay checked in builds without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (!entry.is_regular_file()) continue;
        RunFile(entry.path());
        ++runs;
      }
    } else {
      RunFile(path);
      ++runs;
    }
  }
  std::printf("%d inputs ran\n", runs);
  // An empty corpus proves nothing: a missing folder must not pass quietly.
  return runs > 0 ? 0 : 1;
}
