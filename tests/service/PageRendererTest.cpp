#include "PageRenderer.h"

#include "AccountLimits.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace rowstone::service {
namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The text of the first <form ...>...</form> of a page, empty when it has none.
std::string FormOf(const std::string& html) {
    const size_t begin = html.find("<form");
    const size_t end = html.find("</form>", begin);
    if (begin == std::string::npos || end == std::string::npos) {
        return {};
    }
    return html.substr(begin, end - begin);
}

// The value of the first attr="..." in text.
std::string Attribute(const std::string& text, const std::string& attr) {
    const std::string key = attr + "=\"";
    const size_t begin = text.find(key);
    if (begin == std::string::npos) {
        return {};
    }
    const size_t valueBegin = begin + key.size();
    return text.substr(valueBegin, text.find('"', valueBegin) - valueBegin);
}

// Every name="..." in a form: the fields the browser will post.
std::set<std::string> FieldNames(const std::string& form) {
    std::set<std::string> names;
    const std::string key = " name=\"";
    for (size_t at = form.find(key); at != std::string::npos; at = form.find(key, at + 1)) {
        const size_t begin = at + key.size();
        names.insert(form.substr(begin, form.find('"', begin) - begin));
    }
    return names;
}

TEST(PageRendererEscape, EscapesMetacharactersAndRepairsBytes) {
    struct Case {
        std::string text;
        std::string escaped;
    };
    const std::vector<Case> cases = {
        {"plain name", "plain name"},
        {"<b>&\"'", "&lt;b&gt;&amp;&quot;&#39;"},
        {"&amp;", "&amp;amp;"},
        {"棋手\"一号\"", "棋手&quot;一号&quot;"},
        {"a\tb\nc\r", "a\tb\nc\r"},
        {std::string("a\0b", 3), "a\xEF\xBF\xBD"
                                 "b"},
        {"\x1B[31m", "\xEF\xBF\xBD[31m"},
        {"\xFF<", "\xEF\xBF\xBD&lt;"},
        {"\xC0\xBC", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong "<"
        {"\xE4\xB8", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // truncated 中
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // surrogate
        {"\xF0\x9F\x8E\xB2", "\xF0\x9F\x8E\xB2"},                 // a four-byte character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageRenderer::HtmlEscape(c.text), c.escaped) << c.text;
    }
}

// A name or message that would break out of element content or an attribute.
const std::string kHostile = "<script>alert(\"x\")</script>' onmouseover='y' &x";

TEST(PageRendererEscape, UserTextsNeverAppearRawOnAnyPage) {
    struct Case {
        const char* page;
        std::function<std::string(const std::string&)> render;
    };
    const std::vector<Case> cases = {
        {"news title",
         [](const std::string& t) {
             return PageRenderer::News({{"2024-01-01", t, "b"}});
         }},
        {"news body",
         [](const std::string& t) {
             return PageRenderer::News({{"2024-01-01", "t", t}});
         }},
        {"news date",
         [](const std::string& t) {
             return PageRenderer::News({{t, "t", "b"}});
         }},
        {"ranking name",
         [](const std::string& t) {
             return PageRenderer::Ranking({{1, "first", 9, 0, 0, 0}, {2, t, 3, 1, 0, 5}}, 800, 600);
         }},
        {"compact ranking name",
         [](const std::string& t) {
             return PageRenderer::Ranking({{2, t, 3, 1, 0, 5}}, 200, 600);
         }},
        {"personal centre name",
         [](const std::string& t) {
             PersonalCentre centre;
             centre.userId = 4;
             centre.name = t;
             return PageRenderer::PersonalCentre(centre);
         }},
        {"register message, refused",
         [](const std::string& t) { return PageRenderer::Register(t, false); }},
        {"register message, success",
         [](const std::string& t) { return PageRenderer::Register(t, true); }},
        {"recharge name", [](const std::string& t) { return PageRenderer::Recharge(4, t, ""); }},
        {"recharge message",
         [](const std::string& t) { return PageRenderer::Recharge(4, "n", t); }},
        {"error text", [](const std::string& t) { return PageRenderer::ErrorPage(400, t); }},
    };
    const std::string escaped = PageRenderer::HtmlEscape(kHostile);
    for (const Case& c : cases) {
        const std::string html = c.render(kHostile);
        EXPECT_EQ(html.find(kHostile), std::string::npos) << c.page;
        EXPECT_EQ(html.find("<script"), std::string::npos) << c.page;
        EXPECT_EQ(html.find("onmouseover='"), std::string::npos) << c.page;
        EXPECT_EQ(html.find("alert(\"x\")"), std::string::npos) << c.page;
        EXPECT_NE(html.find(escaped), std::string::npos) << c.page << " does not show the text";
    }
}

TEST(PageRendererDocument, EveryPageIsCompleteAndLoadsNothingFromTheNetwork) {
    PersonalCentre centre;
    centre.userId = 7;
    centre.name = "棋手";
    const std::vector<std::pair<const char*, std::string>> pages = {
        {"news", PageRenderer::News({{"2024-05-01", "新版本", "十三种玩法"}})},
        {"empty news", PageRenderer::News({})},
        {"ranking", PageRenderer::Ranking({{1, "a", 3, 2, 1, 10}}, 600, 400)},
        {"empty ranking", PageRenderer::Ranking({}, 600, 400)},
        {"personal centre", PageRenderer::PersonalCentre(centre)},
        {"unknown account", PageRenderer::UnknownAccount()},
        {"product", PageRenderer::Product()},
        {"company", PageRenderer::Company()},
        {"cooperation", PageRenderer::Cooperation()},
        {"register", PageRenderer::Register("", false)},
        {"recharge", PageRenderer::Recharge(7, "棋手", "")},
        {"error", PageRenderer::ErrorPage(404, "")},
    };
    for (const auto& [name, html] : pages) {
        EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u) << name;
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << name;
        EXPECT_NE(html.find("<title>"), std::string::npos) << name;
        EXPECT_EQ(Count(html, "<style>"), 1u) << name;
        EXPECT_NE(html.find("</html>"), std::string::npos) << name;
        for (const char* remote :
             {"http:", "https:", "//", "src=", "<link", "@import", "url(", "<script"}) {
            EXPECT_EQ(html.find(remote), std::string::npos) << name << " holds " << remote;
        }
    }
}

TEST(PageRendererDocument, ProductNamesEveryGameTypeAndTheLayerChoice) {
    const std::string html = PageRenderer::Product();
    for (const char* type : {"三子棋", "五子棋", "十子棋", "十五子棋"}) {
        EXPECT_NE(html.find(type), std::string::npos) << type;
    }
    EXPECT_NE(html.find("十三种"), std::string::npos);
    EXPECT_NE(html.find("挑战几层网络"), std::string::npos);
}

TEST(PageRendererRanking, LayoutClampsTheViewSize) {
    struct Case {
        int width;
        int height;
        int expectedWidth;
        int expectedHeight;
    };
    const std::vector<Case> cases = {
        {600, 400, 600, 400},          {0, 0, 100, 100},       {-5, 99999, 100, 4000},
        {INT_MAX, INT_MIN, 4000, 100}, {100, 4000, 100, 4000}, {99, 4001, 100, 4000},
    };
    for (const Case& c : cases) {
        const RankingLayout layout = PageRenderer::LayoutRanking(c.width, c.height);
        EXPECT_EQ(layout.width, c.expectedWidth) << c.width << "x" << c.height;
        EXPECT_EQ(layout.height, c.expectedHeight) << c.width << "x" << c.height;

        const std::string html = PageRenderer::Ranking({}, c.width, c.height);
        const std::string frame = "width:" + std::to_string(c.expectedWidth) +
                                  "px;height:" + std::to_string(c.expectedHeight) + "px";
        EXPECT_NE(html.find(frame), std::string::npos) << c.width << "x" << c.height;
    }
}

TEST(PageRendererRanking, RowsThatFitFillTheViewWithoutOverflowing) {
    const int chrome = PageRenderer::kRankingBarHeight + PageRenderer::kRankingPaddingHeight +
                       PageRenderer::kRankingRowHeight + PageRenderer::kRankingFooterHeight;
    for (const int height : {100, 150, 400, 401, 777, 4000}) {
        const RankingLayout layout = PageRenderer::LayoutRanking(600, height);
        EXPECT_GE(layout.rowsFit, 0) << height;
        EXPECT_LE(chrome + layout.rowsFit * PageRenderer::kRankingRowHeight, height) << height;
        EXPECT_GT(chrome + (layout.rowsFit + 1) * PageRenderer::kRankingRowHeight, height)
            << height << ": one more row would still fit";
    }
}

TEST(PageRendererRanking, ShowsAsManyPlayersAsFitAndSaysHowMany) {
    std::vector<RankingRow> rows;
    for (int i = 0; i < 50; ++i) {
        rows.push_back({i + 1, "player" + std::to_string(i), 100 - i, 0, 0, 0});
    }
    struct Case {
        int height;
        size_t shown;
    };
    const int fitAt400 = PageRenderer::LayoutRanking(600, 400).rowsFit;
    ASSERT_GT(fitAt400, 0);
    ASSERT_LT(fitAt400, 50);
    const std::vector<Case> cases = {{400, static_cast<size_t>(fitAt400)}, {4000, 50u}, {100, 0u}};
    for (const Case& c : cases) {
        const std::string html = PageRenderer::Ranking(rows, 600, c.height);
        EXPECT_EQ(Count(html, "<tr class=\"row\">"), c.shown) << c.height;
        EXPECT_NE(html.find("共 50 名玩家，显示前 " + std::to_string(c.shown) + " 名"),
                  std::string::npos)
            << c.height;
    }
}

TEST(PageRendererRanking, OrdersByWinsAndSharesRanksOnTies) {
    const std::vector<RankingRow> rows = {
        {1, "alpha", 2, 0, 0, 0}, {2, "bravo", 9, 1, 0, 20}, {3, "charlie", 5, 0, 0, 0},
        {4, "delta", 9, 3, 0, 0}, {5, "echo", 0, 4, 0, 0},
    };
    const std::string html = PageRenderer::Ranking(rows, 800, 600);
    const std::vector<std::pair<std::string, int>> expected = {
        {"bravo", 1}, {"delta", 1}, {"charlie", 3}, {"alpha", 4}, {"echo", 5}};
    size_t last = 0;
    for (const auto& [name, rank] : expected) {
        const std::string cells = "<td class=\"rank\">" + std::to_string(rank) +
                                  "</td><td class=\"name\">" + name + "</td>";
        const size_t at = html.find(cells);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, last) << name << " is out of order";
        last = at;
    }
}

TEST(PageRendererRanking, NarrowViewsDropTheSecondaryColumns) {
    const std::vector<RankingRow> rows = {{1, "a", 3, 2, 1, 10}};
    const std::string wide = PageRenderer::Ranking(rows, 600, 400);
    const std::string narrow = PageRenderer::Ranking(rows, 200, 400);
    EXPECT_NE(wide.find("<th>负</th>"), std::string::npos);
    EXPECT_EQ(narrow.find("<th>负</th>"), std::string::npos);
    EXPECT_EQ(Count(narrow, "</th>"), Count(narrow, "</td>"));
    EXPECT_EQ(Count(wide, "</th>"), Count(wide, "</td>"));
}

TEST(PageRendererPersonalCentre, ShowsThePublicFiguresOnly) {
    PersonalCentre centre;
    centre.userId = 31;
    centre.name = "棋手甲";
    centre.points = 73421;
    centre.wins = 617;
    centre.games = 1289;
    centre.envelopesYuan = 4455;
    centre.unwithdrawnYuan = 339;
    centre.withdrawalPending = false;
    const std::string html = PageRenderer::PersonalCentre(centre);
    for (const char* figure : {"棋手甲", "73421", "617", "1289", "4455 元", "339 元"}) {
        EXPECT_NE(html.find(figure), std::string::npos) << figure;
    }
    EXPECT_EQ(html.find("提现正在处理中"), std::string::npos);
    // The address carries only the id: nothing to act on the account, no session.
    for (const char* secret : {"<form", "<input", "psw", "ses", "zfb", "password"}) {
        EXPECT_EQ(html.find(secret), std::string::npos) << secret;
    }

    centre.withdrawalPending = true;
    EXPECT_NE(PageRenderer::PersonalCentre(centre).find("提现正在处理中"), std::string::npos);
}

TEST(PageRendererPersonalCentre, UnknownAccountShowsNoFigures) {
    const std::string html = PageRenderer::UnknownAccount();
    EXPECT_NE(html.find("没有找到这个账号"), std::string::npos);
    EXPECT_EQ(html.find("<dl"), std::string::npos);
}

TEST(PageRendererForms, PostToTheirPathsWithTheExpectedFields) {
    struct Case {
        const char* page;
        std::string html;
        std::string action;
        std::set<std::string> fields;
    };
    const std::vector<Case> cases = {
        {"register",
         PageRenderer::Register("", false),
         "/app/pento/register.php",
         {"name", "psw", "psw2"}},
        {"register after a try",
         PageRenderer::Register("用户名已被使用", false),
         "/app/pento/register.php",
         {"name", "psw", "psw2"}},
        {"recharge",
         PageRenderer::Recharge(12, "棋手", ""),
         "/app/pento/chongzhi.php",
         {"idus", "psw", "amount"}},
    };
    for (const Case& c : cases) {
        const std::string form = FormOf(c.html);
        ASSERT_FALSE(form.empty()) << c.page;
        EXPECT_EQ(Attribute(form, "method"), "post") << c.page;
        EXPECT_EQ(Attribute(form, "action"), c.action) << c.page;
        EXPECT_EQ(FieldNames(form), c.fields) << c.page;
        EXPECT_EQ(Count(c.html, "<form"), 1u) << c.page;
    }
}

TEST(PageRendererForms, RechargeCarriesTheAccountAndSaysItIsADemo) {
    const std::string form = FormOf(PageRenderer::Recharge(4242, "棋手", ""));
    const size_t hidden = form.find("type=\"hidden\" name=\"idus\"");
    ASSERT_NE(hidden, std::string::npos);
    EXPECT_EQ(Attribute(form.substr(hidden), "value"), "4242");
    EXPECT_NE(form.find("name=\"psw\" type=\"password\""), std::string::npos);
    EXPECT_EQ(Attribute(form.substr(form.find("name=\"amount\"")), "max"),
              std::to_string(kMaxTopUpPoints));

    const std::string html = PageRenderer::Recharge(4242, "棋手", "");
    EXPECT_NE(html.find("演示"), std::string::npos);
    EXPECT_NE(html.find("不会产生任何真实付款"), std::string::npos);
}

TEST(PageRendererForms, RegisterStatesTheRulesAndMarksTheOutcome) {
    const std::string fresh = PageRenderer::Register("", false);
    EXPECT_EQ(fresh.find("class=\"note"), std::string::npos) << "no outcome before a try";
    EXPECT_NE(fresh.find("maxlength=\"32\""), std::string::npos);
    EXPECT_NE(fresh.find("minlength=\"6\""), std::string::npos);
    EXPECT_NE(fresh.find("maxlength=\"64\""), std::string::npos);
    EXPECT_NE(fresh.find("“&amp;”、“=”、“+”"), std::string::npos);

    EXPECT_NE(PageRenderer::Register("注册成功", true).find("class=\"note ok\""),
              std::string::npos);
    EXPECT_NE(PageRenderer::Register("密码太短", false).find("class=\"note bad\""),
              std::string::npos);
}

TEST(PageRendererError, ShowsTheStatusAndItsMeaning) {
    struct Case {
        int status;
        const char* meaning;
    };
    const std::vector<Case> cases = {
        {400, "请求有误"}, {404, "页面不存在"}, {413, "请求内容过大"}, {418, "请求未能完成"}};
    for (const Case& c : cases) {
        const std::string html = PageRenderer::ErrorPage(c.status, "");
        EXPECT_NE(html.find("<title>错误 " + std::to_string(c.status)), std::string::npos)
            << c.status;
        EXPECT_NE(html.find(c.meaning), std::string::npos) << c.status;
    }
}

} // namespace
} // namespace rowstone::service
