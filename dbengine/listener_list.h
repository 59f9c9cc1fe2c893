#pragma once

#include <algorithm>
#include <vector>

namespace dbengine {

class TDataSetListener;

// The listeners of a dataset or data source. A listener may remove itself or another while
// being told; only those still listening are told.
class ListenerList {
 public:
  void Add(TDataSetListener* listener) {
    if (!Contains(listener)) FListeners.push_back(listener);
  }
  void Remove(TDataSetListener* listener) {
    FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), listener), FListeners.end());
  }

  template <typename Method, typename... Args>
  void Notify(Method method, Args... args) const {
    const std::vector<TDataSetListener*> listeners = FListeners;
    for (TDataSetListener* listener : listeners)
      if (Contains(listener)) (listener->*method)(args...);
  }

 private:
  bool Contains(TDataSetListener* listener) const {
    return std::find(FListeners.begin(), FListeners.end(), listener) != FListeners.end();
  }

  std::vector<TDataSetListener*> FListeners;
};

}  // namespace dbengine
