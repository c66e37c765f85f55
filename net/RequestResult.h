#pragma once

namespace rowstone {

// Outcome of one exchange of CHttpClient.
enum class RequestResult : int {
    // PostForm: a reply was read and begins with "1". Download: the body arrived whole.
    Ok = 0,
    // Not an HTTP or HTTPS address, a reply that does not begin with "1", a refused
    // download, or any transport failure other than a time-out.
    Failed = 1,
    // The exchange ran out of time (connecting, waiting or reading).
    TimedOut = 2,
};

} // namespace rowstone
