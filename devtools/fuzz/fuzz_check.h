#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property stops the run with the input that broke it, as a crash does, so libFuzzer
// saves the input and the corpus replay fails.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)
