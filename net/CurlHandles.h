#pragma once

#include <curl/curl.h>

#include <memory>
#include <string_view>

namespace rowstone::curl {

// True once libcurl's process-wide state is set up; done on first use.
bool GlobalReady();

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

struct TextDeleter {
    void operator()(char* text) const { curl_free(text); }
};
using OwnedText = std::unique_ptr<char, TextDeleter>;

// A list of request headers.
class HeaderList {
public:
    HeaderList() = default;
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;
    ~HeaderList() { curl_slist_free_all(list_); }

    // Adds "Name: value" unless a header of that name (any letter case) is
    // present already. False when the memory cannot be had.
    bool AddIfNew(const char* header);
    bool Add(const char* header);

    curl_slist* get() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

// Sets options on an easy handle and remembers the first failure.
class Options {
public:
    explicit Options(CURL* handle) : handle_(handle) {}

    template <typename Value> void Set(CURLoption option, Value value) {
        if (code_ == CURLE_OK) {
            code_ = curl_easy_setopt(handle_, option, value);
        }
    }

    bool ok() const { return code_ == CURLE_OK; }

private:
    CURL* handle_;
    CURLcode code_ = CURLE_OK;
};

// Parses url as an absolute address; null unless its scheme is http or https.
UrlHandle ParseWebAddress(std::string_view url);

} // namespace rowstone::curl
