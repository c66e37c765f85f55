#pragma once

#include "HttpClientSettings.h"

#include <chrono>

namespace rowstone::test {

// Time limits short enough that a test of a silent server takes about a second.
inline HttpClientSettings ShortTimeouts() {
    HttpClientSettings settings;
    settings.connectTimeout = std::chrono::milliseconds(1000);
    settings.formExchangeTimeout = std::chrono::milliseconds(1000);
    settings.downloadLowSpeedBytesPerSecond = 1;
    settings.downloadLowSpeedTime = std::chrono::seconds(1);
    return settings;
}

} // namespace rowstone::test
