#pragma once

#include "DownloadBlock.h"
#include "HttpClientSettings.h"
#include "RequestResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace rowstone {

// The program's one road to the game service: posts form bodies and reads the
// textual reply, and downloads files into a memory block that the client keeps
// and reuses. All calls are synchronous. A client is used by one thread at a
// time; it keeps one connection cache for its whole life, so consecutive
// requests to the same host reuse their connection.
//
// Addresses and bodies are UTF-8; only "http" and "https" addresses are
// accepted (anything else is Failed without any traffic). The system's proxy
// settings (http_proxy, https_proxy, no_proxy) apply.
class CHttpClient {
public:
    // Replies are short texts; a longer one is not from the service and is Failed.
    static constexpr std::size_t kMaxReplyBytes = std::size_t{1} << 20;
    // The largest body Download accepts.
    static constexpr std::uint32_t kMaxDownloadBytes = std::uint32_t{64} << 20;
    // The reply is read in chunks of this size; a NUL byte drops the rest of its chunk.
    static constexpr std::size_t kReplyChunkBytes = 4096;

    CHttpClient();
    explicit CHttpClient(const HttpClientSettings& settings);
    virtual ~CHttpClient();

    CHttpClient(const CHttpClient&) = delete;
    CHttpClient& operator=(const CHttpClient&) = delete;

    // Posts body (already formed, see FormBody) as
    // application/x-www-form-urlencoded and reads the whole reply. Ok when the
    // reply's first character is "1". replyTail() then holds the text after the
    // reply's first "&", for Ok and Failed alike; it is empty after a transport
    // failure or a time-out. The HTTP status is not examined.
    RequestResult PostForm(std::string_view url, std::string_view body);

    // Fetches url (redirects followed) into the download block. Ok only for a
    // 2xx answer whose whole body arrived; then downloadSize() bytes at the start
    // of downloadBuffer() hold it. The block is reused and only grows, so
    // downloadCapacity() may exceed downloadSize(). After anything but Ok,
    // downloadSize() is 0; a block that was grown stays grown.
    RequestResult Download(std::string_view url);

    // Text after the first "&" of the last PostForm's reply (UTF-8).
    const std::string& replyTail() const { return replyTail_; }
    // Start of the download block, or null while no block was ever needed.
    const std::uint8_t* downloadBuffer() const { return downloadBlock_.data(); }
    // Size in bytes of the download block.
    std::uint32_t downloadCapacity() const { return downloadBlock_.capacity(); }
    // Size in bytes of the body fetched by the last Download.
    std::uint32_t downloadSize() const { return downloadSize_; }

    const HttpClientSettings& settings() const { return settings_; }

private:
    struct Handle;

    HttpClientSettings settings_;
    std::unique_ptr<Handle> handle_;
    std::string replyTail_;
    DownloadBlock downloadBlock_;
    std::uint32_t downloadSize_ = 0;
};

} // namespace rowstone
