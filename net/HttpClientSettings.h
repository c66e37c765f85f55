#pragma once

#include <chrono>
#include <string>

namespace rowstone {

// Every time limit of the service client lives here. Form requests are short
// exchanges and get a deadline for the whole exchange; downloads may be large
// on a slow line, so they are only cut off when the transfer has (nearly) stalled.
inline constexpr std::chrono::milliseconds kDefaultConnectTimeout{10'000};
inline constexpr std::chrono::milliseconds kDefaultFormExchangeTimeout{30'000};
// A download slower than this many bytes per second ...
inline constexpr long kDefaultDownloadLowSpeedBytesPerSecond = 256;
// ... for this long is taken for a dead line.
inline constexpr std::chrono::seconds kDefaultDownloadLowSpeedTime{30};

struct HttpClientSettings {
    std::chrono::milliseconds connectTimeout = kDefaultConnectTimeout;
    std::chrono::milliseconds formExchangeTimeout = kDefaultFormExchangeTimeout;
    long downloadLowSpeedBytesPerSecond = kDefaultDownloadLowSpeedBytesPerSecond;
    std::chrono::seconds downloadLowSpeedTime = kDefaultDownloadLowSpeedTime;
    // File of trusted certificate authorities (PEM) for HTTPS; empty means the
    // system's store. Peer and host name are verified either way.
    std::string certificateAuthorityFile;
};

} // namespace rowstone
