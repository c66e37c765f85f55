#include "CHttpClient.h"

#include "CurlHandles.h"
#include "ReplyAssembler.h"
#include "Utf8Text.h"

#include <algorithm>
#include <cstring>

namespace rowstone {

namespace {

constexpr const char* kUserAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)";

// Sent with every form request unless a header of the same name is present.
constexpr const char* kFormHeaders[] = {
    "Accept: *,*/*",
    "Accept-Language: zh-cn",
    "Content-Type:application/x-www-form-urlencoded",
    "Accept-Encoding: deflate",
};
// Keeps libcurl from waiting for "100 Continue" before sending a longer body.
constexpr const char* kNoExpectHeader = "Expect:";

constexpr long kMaxRedirects = 5;

RequestResult ResultOfTransfer(CURLcode code) {
    switch (code) {
    case CURLE_OK:
        return RequestResult::Ok;
    case CURLE_OPERATION_TIMEDOUT:
        return RequestResult::TimedOut;
    default:
        return RequestResult::Failed;
    }
}

bool IsSuccessStatus(long status) {
    return status >= 200 && status <= 299;
}

std::size_t WriteReply(char* data, std::size_t size, std::size_t count, void* user) {
    const std::size_t bytes = size * count;
    return static_cast<ReplyAssembler*>(user)->Append(data, bytes) ? bytes : 0;
}

// Receives a download straight into the client's block.
struct DownloadSink {
    CURL* handle;
    DownloadBlock* block;
    std::size_t written = 0;
    bool started = false;

    // Checked before the first byte: the answer must be a success, and a
    // declared length must be within the limit; the block is sized to it.
    bool Start() {
        long status = 0;
        if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
            !IsSuccessStatus(status)) {
            return false;
        }
        curl_off_t length = -1;
        if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK) {
            length = -1;
        }
        if (length > static_cast<curl_off_t>(CHttpClient::kMaxDownloadBytes)) {
            return false;
        }
        return length <= 0 || block->Reserve(static_cast<std::size_t>(length));
    }

    bool Write(const char* data, std::size_t bytes) {
        if (bytes > CHttpClient::kMaxDownloadBytes - written) {
            return false;
        }
        const std::size_t needed = written + bytes;
        if (needed > block->capacity()) {
            // Only a body of unknown length gets here; grow in steps that
            // double, so a long body is not copied over and over.
            const std::size_t doubled = std::size_t{block->capacity()} * 2;
            const std::size_t target =
                std::max(needed, std::min<std::size_t>(doubled, CHttpClient::kMaxDownloadBytes));
            if (!block->Reserve(target, written)) {
                return false;
            }
        }
        std::memcpy(block->data() + written, data, bytes);
        written = needed;
        return true;
    }
};

std::size_t WriteDownload(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<DownloadSink*>(user);
    const std::size_t bytes = size * count;
    if (!sink->started) {
        sink->started = true;
        if (!sink->Start()) {
            return 0;
        }
    }
    return sink->Write(data, bytes) ? bytes : 0;
}

} // namespace

struct CHttpClient::Handle {
    curl::EasyHandle easy;

    // Clears every option of the previous exchange on leaving; the connection
    // cache survives.
    struct ResetOnExit {
        CURL* easy;
        ~ResetOnExit() { curl_easy_reset(easy); }
    };

    void SetCommonOptions(curl::Options& options, const HttpClientSettings& settings,
                          CURLU* url) const {
        options.Set(CURLOPT_CURLU, url);
        options.Set(CURLOPT_PROTOCOLS_STR, "http,https");
        options.Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        options.Set(CURLOPT_USERAGENT, kUserAgent);
        options.Set(CURLOPT_NOSIGNAL, 1L);
        options.Set(CURLOPT_SSL_VERIFYPEER, 1L);
        options.Set(CURLOPT_SSL_VERIFYHOST, 2L);
        if (!settings.certificateAuthorityFile.empty()) {
            options.Set(CURLOPT_CAINFO, settings.certificateAuthorityFile.c_str());
        }
        options.Set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.connectTimeout.count()));
    }
};

CHttpClient::CHttpClient() : CHttpClient(HttpClientSettings{}) {}

CHttpClient::CHttpClient(const HttpClientSettings& settings)
    : settings_(settings), handle_(std::make_unique<Handle>()) {
    if (curl::GlobalReady()) {
        handle_->easy.reset(curl_easy_init());
    }
}

CHttpClient::~CHttpClient() = default;

RequestResult CHttpClient::PostForm(std::string_view url, std::string_view body) {
    replyTail_.clear();
    const curl::UrlHandle address = curl::ParseWebAddress(url);
    CURL* easy = handle_->easy.get();
    if (!address || !easy) {
        return RequestResult::Failed;
    }
    const Handle::ResetOnExit reset{easy};

    curl::HeaderList headers;
    bool headersReady = true;
    for (const char* header : kFormHeaders) {
        headersReady = headersReady && headers.AddIfNew(header);
    }
    headersReady = headersReady && headers.AddIfNew(kNoExpectHeader);
    if (!headersReady) {
        return RequestResult::Failed;
    }

    ReplyAssembler reply(kReplyChunkBytes, kMaxReplyBytes);
    curl::Options options(easy);
    handle_->SetCommonOptions(options, settings_, address.get());
    options.Set(CURLOPT_POST, 1L);
    options.Set(CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
    options.Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    options.Set(CURLOPT_HTTPHEADER, headers.get());
    options.Set(CURLOPT_TIMEOUT_MS, static_cast<long>(settings_.formExchangeTimeout.count()));
    options.Set(CURLOPT_WRITEFUNCTION, &WriteReply);
    options.Set(CURLOPT_WRITEDATA, static_cast<void*>(&reply));
    if (!options.ok()) {
        return RequestResult::Failed;
    }

    const RequestResult transfer = ResultOfTransfer(curl_easy_perform(easy));
    if (transfer != RequestResult::Ok) {
        return transfer;
    }
    const std::string text = utf8::MakeValid(reply.Text());
    const std::size_t amp = text.find('&');
    if (amp != std::string::npos) {
        replyTail_ = text.substr(amp + 1);
    }
    return !text.empty() && text.front() == '1' ? RequestResult::Ok : RequestResult::Failed;
}

RequestResult CHttpClient::Download(std::string_view url) {
    downloadSize_ = 0;
    const curl::UrlHandle address = curl::ParseWebAddress(url);
    CURL* easy = handle_->easy.get();
    if (!address || !easy) {
        return RequestResult::Failed;
    }
    const Handle::ResetOnExit reset{easy};

    DownloadSink sink{easy, &downloadBlock_};
    curl::Options options(easy);
    handle_->SetCommonOptions(options, settings_, address.get());
    options.Set(CURLOPT_HTTPGET, 1L);
    options.Set(CURLOPT_FOLLOWLOCATION, 1L);
    options.Set(CURLOPT_MAXREDIRS, kMaxRedirects);
    options.Set(CURLOPT_LOW_SPEED_LIMIT, settings_.downloadLowSpeedBytesPerSecond);
    options.Set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(settings_.downloadLowSpeedTime.count()));
    options.Set(CURLOPT_WRITEFUNCTION, &WriteDownload);
    options.Set(CURLOPT_WRITEDATA, static_cast<void*>(&sink));
    if (!options.ok()) {
        return RequestResult::Failed;
    }

    const RequestResult transfer = ResultOfTransfer(curl_easy_perform(easy));
    if (transfer != RequestResult::Ok) {
        return transfer;
    }
    long status = 0;
    if (curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
        !IsSuccessStatus(status)) {
        return RequestResult::Failed;
    }
    downloadSize_ = static_cast<std::uint32_t>(sink.written);
    return RequestResult::Ok;
}

} // namespace rowstone
