#pragma once

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#include "devtools/crash/tests/child_process.h"

namespace crash::testing {

// The rounds of one kill loop and the random moments of its kills. Short by default, so that
// all loops together stay well under a minute; ZARIZE_LONG_RELIABILITY=1 runs many more rounds.
// The seed is printed, and ZARIZE_RELIABILITY_SEED replays a run.
class TKillLoop {
 public:
  TKillLoop(const std::string& name, int shortRounds, int longRounds) {
    const char* seed = std::getenv("ZARIZE_RELIABILITY_SEED");
    FSeed = seed ? static_cast<unsigned>(std::stoul(seed)) : std::random_device{}();
    const char* longForm = std::getenv("ZARIZE_LONG_RELIABILITY");
    FRounds = longForm && std::string(longForm) == "1" ? longRounds : shortRounds;
    FRandom.seed(FSeed);
    std::cout << name << ": " << FRounds << " rounds, ZARIZE_RELIABILITY_SEED=" << FSeed << '\n';
  }

  int Rounds() const { return FRounds; }
  unsigned Seed() const { return FSeed; }

  // Lets the child run for a random time up to `longest`, then kills it.
  void KillWithin(TChild& child, std::chrono::microseconds longest) {
    std::uniform_int_distribution<long> pick(0, longest.count());
    std::this_thread::sleep_for(std::chrono::microseconds(pick(FRandom)));
    child.Kill();
    child.Wait();
  }

 private:
  unsigned FSeed = 0;
  int FRounds = 0;
  std::mt19937 FRandom;
};

}  // namespace crash::testing
