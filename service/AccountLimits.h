#pragma once

#include <cstddef>
#include <cstdint>

namespace rowstone::service {

// The account rules that the service enforces on its requests and that its
// registration and recharge forms state to the player: one place for both.
inline constexpr std::size_t kMaxNameLength = 32; // characters
inline constexpr std::size_t kMinPasswordLength = 6;
inline constexpr std::size_t kMaxPasswordLength = 64;
// The largest top-up of the demo recharge page, in points.
inline constexpr std::int64_t kMaxTopUpPoints = 10000;

} // namespace rowstone::service
