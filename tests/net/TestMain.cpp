#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Every test talks to 127.0.0.1 only; a proxy set in the environment
    // must not be asked to reach it.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
        unsetenv(name);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
