#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace ui {

// A change notification a model raises and its views listen to. Views connect when they are
// made and disconnect when they go; models never know who listens.
class TSignal {
 public:
  using TSlot = std::function<void()>;

  std::size_t Connect(TSlot slot) {
    FSlots.emplace_back(++FLastId, std::move(slot));
    return FLastId;
  }
  void Disconnect(std::size_t id) {
    std::erase_if(FSlots, [id](const auto& s) { return s.first == id; });
  }
  void Emit() const {
    // A slot may connect or disconnect while we call; work on a copy.
    auto slots = FSlots;
    for (const auto& s : slots) s.second();
  }

 private:
  std::vector<std::pair<std::size_t, TSlot>> FSlots;
  std::size_t FLastId = 0;
};

}  // namespace ui
