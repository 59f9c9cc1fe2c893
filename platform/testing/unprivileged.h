#pragma once

#include <functional>

namespace platform::testing {

// The user id a test part runs as when the tests run as root ("nobody").
constexpr unsigned kUnprivilegedId = 65534;

// Root passes every permission check, so a test of a refused file access would prove nothing.
// Under root this runs `body` in a forked child with user and group kUnprivilegedId; a failed
// assertion or an escaped exception there fails the calling test. Otherwise it runs `body` here.
void RunAsUnprivileged(const std::function<void()>& body);

}  // namespace platform::testing
