#include "CurlHandles.h"

#include <cstring>
#include <string>
#include <strings.h>

namespace rowstone::curl {

namespace {

struct Global {
    CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
    Global() = default;
    Global(const Global&) = delete;
    Global& operator=(const Global&) = delete;
    ~Global() {
        if (code == CURLE_OK) {
            curl_global_cleanup();
        }
    }
};

std::string_view HeaderName(const char* header) {
    const char* colon = std::strchr(header, ':');
    return colon ? std::string_view(header, static_cast<std::size_t>(colon - header))
                 : std::string_view(header);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

bool GlobalReady() {
    static const Global global;
    return global.code == CURLE_OK;
}

bool HeaderList::AddIfNew(const char* header) {
    const std::string_view name = HeaderName(header);
    for (const curl_slist* item = list_; item; item = item->next) {
        if (SameName(HeaderName(item->data), name)) {
            return true;
        }
    }
    return Add(header);
}

bool HeaderList::Add(const char* header) {
    curl_slist* longer = curl_slist_append(list_, header);
    if (!longer) {
        return false;
    }
    list_ = longer;
    return true;
}

UrlHandle ParseWebAddress(std::string_view url) {
    if (url.find('\0') != std::string_view::npos) {
        return nullptr;
    }
    UrlHandle parsed(curl_url());
    if (!parsed) {
        return nullptr;
    }
    const std::string text(url);
    if (curl_url_set(parsed.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
        return nullptr;
    }
    char* rawScheme = nullptr;
    if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &rawScheme, 0) != CURLUE_OK) {
        return nullptr;
    }
    const OwnedText scheme(rawScheme);
    if (strcasecmp(scheme.get(), "http") != 0 && strcasecmp(scheme.get(), "https") != 0) {
        return nullptr;
    }
    return parsed;
}

} // namespace rowstone::curl
