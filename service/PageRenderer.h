#pragma once

#include "PageData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rowstone::service {

// How the ranking table fills an embedded view of a given size: the size the
// page is laid out for (clamped to sane limits) and how many table rows fit
// below the title bar, the column heads and the footer line without a scroll bar.
struct RankingLayout {
    int width = 0;
    int height = 0;
    int rowsFit = 0;
    bool compact = false; // narrow views show fewer columns
};

// Builds the service's web pages: complete UTF-8 HTML documents with one
// shared inline style sheet and nothing loaded from the network. Every text
// that came from a user or a request is passed through HtmlEscape.
class PageRenderer {
public:
    static constexpr int kMinViewSize = 100;
    static constexpr int kMaxViewSize = 4000;
    static constexpr int kRankingBarHeight = 32;     // the title bar of every page
    static constexpr int kRankingPaddingHeight = 12; // above and below the table
    static constexpr int kRankingRowHeight = 26;     // column heads and each player
    static constexpr int kRankingFooterHeight = 22;
    static constexpr int kRankingCompactWidth = 360;

    // Escapes &, <, >, " and ' so that the text is safe both as element
    // content and inside a quoted attribute. Bytes that are not valid UTF-8 and
    // control characters other than tab, line feed and carriage return become
    // U+FFFD, so the document stays valid UTF-8 whatever was stored.
    static std::string HtmlEscape(std::string_view text);

    static RankingLayout LayoutRanking(int width, int height);

    static std::string News(const std::vector<NewsItem>& items);
    // Players by wins, most first (rows with equal wins keep their order and
    // share a rank), as many as fit into a view of width × height pixels.
    static std::string Ranking(const std::vector<RankingRow>& rows, int width, int height);
    static std::string PersonalCentre(const rowstone::service::PersonalCentre& centre);
    static std::string UnknownAccount();
    static std::string Product();
    static std::string Company();
    static std::string Cooperation();
    // The registration form; a non-empty message (the outcome of the last
    // try) is shown above it, marked as success or refusal.
    static std::string Register(const std::string& message, bool success);
    // The demo top-up form for one account; a non-empty message is shown above it.
    static std::string Recharge(int64_t userId, const std::string& name,
                                const std::string& message);
    static std::string ErrorPage(int status, const std::string& text);

private:
    static std::string Document(std::string_view title, std::string_view extraStyle,
                                std::string_view content);
};

} // namespace rowstone::service
