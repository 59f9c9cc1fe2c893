#include "zeravu/environment.h"

#include "platform/folders.h"

namespace zeravu {

TEnvironment TEnvironment::FromProcess(int argc, char** argv) {
  TEnvironment env;
  for (int i = 1; i < argc; ++i) env.Args.emplace_back(argv[i]);
  env.ExecutableFolder = platform::ExecutableFolder();
  env.DocumentsFolder = platform::DocumentsFolder();
  env.TempFolder = platform::TempFolder();
  return env;
}

}  // namespace zeravu
