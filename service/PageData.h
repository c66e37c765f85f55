#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the service's web pages show; filled from storage by the request
// handlers and turned into HTML by PageRenderer. Texts are UTF-8 as stored
// (user names are the players' own and must be escaped when rendered).
namespace rowstone::service {

struct RankingRow {
    int64_t userId = 0;
    std::string name;
    int wins = 0;
    int losses = 0;
    int draws = 0;
    int64_t envelopesYuan = 0; // the sum of every red envelope won
};

struct PersonalCentre {
    int64_t userId = 0;
    std::string name;
    int64_t points = 0;
    int wins = 0;
    int games = 0;
    int64_t envelopesYuan = 0;   // won in all
    int64_t unwithdrawnYuan = 0; // not yet asked for
    bool withdrawalPending = false;
};

struct NewsItem {
    std::string date; // YYYY-MM-DD
    std::string title;
    std::string body;
};

} // namespace rowstone::service
