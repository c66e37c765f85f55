#include "PageRenderer.h"

#include "AccountLimits.h"

#include <algorithm>
#include <string>

namespace rowstone::service {

namespace {

// One style sheet for every page. The font names are local faces only; the
// pages load nothing from the network (the policy in each page's head says so
// to the browser as well).
constexpr std::string_view kStyleSheet = R"css(
*{box-sizing:border-box}
html,body{margin:0;padding:0}
body{font-family:"Noto Sans CJK SC","Source Han Sans SC","Microsoft YaHei","PingFang SC",sans-serif;
font-size:14px;line-height:1.6;color:#2b2118;background:#f6efe2}
.frame{min-height:100vh;display:flex;flex-direction:column}
.bar{flex:none;height:32px;line-height:32px;padding:0 12px;background:#6b4a2b;color:#fff8ec;
display:flex;gap:12px;white-space:nowrap;overflow:hidden}
.brand{font-weight:bold;letter-spacing:1px}
.bar h1{margin:0;font-size:15px;font-weight:normal;overflow:hidden;text-overflow:ellipsis}
.content{flex:auto;padding:12px 16px}
h2{font-size:16px;margin:12px 0 6px;color:#6b4a2b}
p{margin:6px 0}
ul{margin:6px 0;padding-left:22px}
.date{color:#8a7560;font-size:12px}
.item{background:#fffaf1;border:1px solid #e3d3b8;border-radius:4px;padding:8px 12px;margin:0 0 10px}
.item h2{margin:0 0 4px}
.body{white-space:pre-line}
.note{padding:8px 12px;border-radius:4px;margin:0 0 12px;background:#fff3d6;border:1px solid #e8c77a}
.note.ok{background:#e6f4e0;border-color:#8cc27a}
.note.bad{background:#fbe4e1;border-color:#e0968c}
.demo{font-weight:bold;color:#a3361f}
table{border-collapse:collapse;width:100%;table-layout:fixed;background:#fffaf1}
th,td{height:26px;line-height:26px;padding:0 6px;white-space:nowrap;overflow:hidden;
text-overflow:ellipsis;text-align:right}
th{background:#e9dcc4;font-weight:bold}
tbody tr:nth-child(even){background:#f3e8d5}
.name{text-align:left}
.rank{width:3.5em;text-align:center}
dl.figures{display:grid;grid-template-columns:max-content auto;gap:4px 16px;margin:8px 0}
dl.figures dt{color:#6b4a2b}
dl.figures dd{margin:0;font-weight:bold}
form{max-width:360px}
label{display:block;margin:8px 0 2px}
input{width:100%;padding:5px 8px;font:inherit;border:1px solid #c9b48f;border-radius:3px}
button{margin-top:12px;padding:6px 18px;font:inherit;color:#fff8ec;background:#6b4a2b;border:0;
border-radius:3px}
.rules{color:#6f5c48;font-size:12px}
.status{font-size:40px;font-weight:bold;color:#a3361f;margin:8px 0}
)css";

std::string Number(int64_t value) {
    return std::to_string(value);
}

// Standard competition ranks: equal wins share a rank, the next rank skips.
std::vector<int> CompetitionRanks(const std::vector<RankingRow>& sorted) {
    std::vector<int> ranks(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        ranks[i] = (i > 0 && sorted[i].wins == sorted[i - 1].wins) ? ranks[i - 1]
                                                                   : static_cast<int>(i) + 1;
    }
    return ranks;
}

std::string WinRate(const RankingRow& row) {
    const int64_t games = int64_t{row.wins} + row.losses + row.draws;
    if (games <= 0 || row.wins < 0) {
        return "-";
    }
    return Number((int64_t{row.wins} * 100 + games / 2) / games) + "%";
}

std::string MessageNote(const std::string& message, std::string_view kind) {
    if (message.empty()) {
        return {};
    }
    std::string note = "<p class=\"note";
    if (!kind.empty()) {
        note += ' ';
        note += kind;
    }
    note += "\" role=\"status\">" + PageRenderer::HtmlEscape(message) + "</p>\n";
    return note;
}

std::string Figure(std::string_view label, const std::string& value) {
    std::string html = "<dt>";
    html += label;
    html += "</dt><dd>" + value + "</dd>\n";
    return html;
}

std::string_view StatusText(int status) {
    switch (status) {
    case 400:
        return "请求有误";
    case 403:
        return "没有访问权限";
    case 404:
        return "页面不存在";
    case 405:
        return "不支持此请求方法";
    case 413:
        return "请求内容过大";
    case 500:
        return "服务内部错误";
    case 503:
        return "服务暂时不可用";
    default:
        return "请求未能完成";
    }
}

// Length of the valid UTF-8 sequence at text[at], or 0 when it is not one
// (truncated, overlong, a surrogate or beyond U+10FFFF).
size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

} // namespace

std::string PageRenderer::HtmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 8);
    size_t at = 0;
    while (at < text.size()) {
        const size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            escaped += kReplacement;
            ++at;
            continue;
        }
        if (length > 1) {
            escaped.append(text, at, length);
            at += length;
            continue;
        }
        const char c = text[at++];
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        case '\t':
        case '\n':
        case '\r':
            escaped += c;
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                escaped += kReplacement;
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

std::string PageRenderer::Document(std::string_view title, std::string_view extraStyle,
                                   std::string_view content) {
    std::string html;
    html.reserve(kStyleSheet.size() + extraStyle.size() + content.size() + 1024);
    html += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'unsafe-inline'; form-action 'self'; base-uri 'none'\">\n";
    html += "<title>";
    html += title;
    html += " - Rowstone 连珠</title>\n<style>";
    html += kStyleSheet;
    html += extraStyle;
    html += "</style>\n</head>\n<body>\n<div class=\"frame\">\n<header class=\"bar\">"
            "<span class=\"brand\">Rowstone 连珠</span><h1>";
    html += title;
    html += "</h1></header>\n<main class=\"content\">\n";
    html += content;
    html += "</main>\n</div>\n</body>\n</html>\n";
    return html;
}

RankingLayout PageRenderer::LayoutRanking(int width, int height) {
    RankingLayout layout;
    layout.width = std::clamp(width, kMinViewSize, kMaxViewSize);
    layout.height = std::clamp(height, kMinViewSize, kMaxViewSize);
    const int chrome =
        kRankingBarHeight + kRankingPaddingHeight + kRankingRowHeight + kRankingFooterHeight;
    layout.rowsFit = std::max(0, (layout.height - chrome) / kRankingRowHeight);
    layout.compact = layout.width < kRankingCompactWidth;
    return layout;
}

std::string PageRenderer::News(const std::vector<NewsItem>& items) {
    std::string content;
    if (items.empty()) {
        content += "<p>暂无新闻，请稍后再来看看。</p>\n";
    }
    for (const NewsItem& item : items) {
        content += "<article class=\"item\">\n<h2>" + HtmlEscape(item.title) + "</h2>\n";
        content += "<p class=\"date\">" + HtmlEscape(item.date) + "</p>\n";
        content += "<p class=\"body\">" + HtmlEscape(item.body) + "</p>\n</article>\n";
    }
    return Document("新闻活动", {}, content);
}

std::string PageRenderer::Ranking(const std::vector<RankingRow>& rows, int width, int height) {
    const RankingLayout layout = LayoutRanking(width, height);

    std::vector<RankingRow> sorted = rows;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const RankingRow& a, const RankingRow& b) { return a.wins > b.wins; });
    const std::vector<int> ranks = CompetitionRanks(sorted);
    const size_t shown = std::min(sorted.size(), static_cast<size_t>(layout.rowsFit));

    // The frame takes exactly the view's size, so that the document never
    // needs a scroll bar; rows that do not fit are left out and counted below.
    std::string style = ".frame{min-height:0;overflow:hidden;width:" + Number(layout.width) +
                        "px;height:" + Number(layout.height) + "px}\n";
    style += ".content{padding:6px 8px;overflow:hidden}\n.foot{height:22px;line-height:22px;"
             "margin:0;font-size:12px;color:#6f5c48;white-space:nowrap;overflow:hidden}\n";

    std::string content = "<table>\n<thead><tr><th class=\"rank\">名次</th>"
                          "<th class=\"name\">玩家</th><th>胜</th>";
    if (!layout.compact) {
        content += "<th>负</th><th>和</th><th>胜率</th>";
    }
    content += "<th>红包(元)</th></tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < shown; ++i) {
        const RankingRow& row = sorted[i];
        content += "<tr class=\"row\"><td class=\"rank\">" + Number(ranks[i]) +
                   "</td><td class=\"name\">" + HtmlEscape(row.name) + "</td><td>" +
                   Number(row.wins) + "</td>";
        if (!layout.compact) {
            content += "<td>" + Number(row.losses) + "</td><td>" + Number(row.draws) + "</td><td>" +
                       WinRate(row) + "</td>";
        }
        content += "<td>" + Number(row.envelopesYuan) + "</td></tr>\n";
    }
    content += "</tbody>\n</table>\n<p class=\"foot\">";
    if (sorted.empty()) {
        content += "暂无挑战记录，快来成为第一名！";
    } else {
        content += "共 " + Number(static_cast<int64_t>(sorted.size())) + " 名玩家，显示前 " +
                   Number(static_cast<int64_t>(shown)) + " 名（本窗口可容纳 " +
                   Number(layout.rowsFit) + " 行）";
    }
    content += "</p>\n";
    return Document("挑战排名", style, content);
}

std::string PageRenderer::PersonalCentre(const rowstone::service::PersonalCentre& centre) {
    std::string content = "<h2>" + HtmlEscape(centre.name) + "</h2>\n<dl class=\"figures\">\n";
    content += Figure("用户编号", Number(centre.userId));
    content += Figure("积分", Number(centre.points));
    content += Figure("胜局", Number(centre.wins));
    content += Figure("对局", Number(centre.games));
    content += Figure("累计红包", Number(centre.envelopesYuan) + " 元");
    content += Figure("未提现红包", Number(centre.unwithdrawnYuan) + " 元");
    content += "</dl>\n";
    if (centre.withdrawalPending) {
        content += "<p class=\"note\">您有一笔红包提现正在处理中，完成前不能再次申请。</p>\n";
    }
    content += "<p class=\"rules\">积分可用于开始挑战（每局 20 积分）；赢得的红包可通过左侧"
               "“红包提现”按钮申请提现。</p>\n";
    return Document("个人中心", {}, content);
}

std::string PageRenderer::UnknownAccount() {
    return Document("个人中心", {},
                    "<p class=\"note bad\">没有找到这个账号，请确认已经登录。</p>\n");
}

std::string PageRenderer::Product() {
    static const char* const kRowNames[] = {"三", "四",   "五",   "六",   "七",   "八",  "九",
                                            "十", "十一", "十二", "十三", "十四", "十五"};
    std::string types;
    for (const char* name : kRowNames) {
        if (!types.empty()) {
            types += "、";
        }
        types += name;
        types += "子棋";
    }
    std::string content =
        "<h2>Rowstone 连珠</h2>\n"
        "<p>Rowstone 是一款连珠类棋盘游戏：在网格的交叉点上自由落子，先把自己的棋子连成一行者获胜。"
        "您执黑先行，对手是由下载的棋型模型驱动的电脑。</p>\n"
        "<h2>十三种玩法</h2>\n"
        "<p>从三子连成一行到十五子连成一行，共十三种游戏类型：" +
        types +
        "。每种类型都有专门的模型和棋盘大小。</p>\n"
        "<h2>挑战几层网络</h2>\n"
        "<p>"
        "电脑的棋型模型分为多层，层数越高，电脑看得越远、越难对付。开局前您可以在“挑战几层网络”中"
        "选择对手使用的层数，从入门到高手，循序渐进。</p>\n"
        "<h2>挑战与奖励</h2>\n"
        "<ul>\n<li>每局挑战消耗 20 积分，每步限时 200 秒。</li>\n"
        "<li>战胜电脑有机会获得红包奖励，可在个人中心申请提现。</li>\n"
        "<li>电脑会从每一盘输掉的棋中学习新的棋型，下一局更难被同一招击败。</li>\n</ul>\n";
    return Document("产品简介", {}, content);
}

std::string PageRenderer::Company() {
    return Document(
        "公司简介", {},
        "<h2>关于我们</h2>\n"
        "<p>Rowstone 由一支热爱棋类游戏的小型独立团队开发和维护。我们相信好的棋类游戏应当规则简单、"
        "变化无穷，并且让每一位玩家都能找到适合自己的对手。</p>\n"
        "<h2>我们在做什么</h2>\n"
        "<ul>\n<li>研究连珠类游戏的棋型与走法，不断改进电脑对手。</li>\n"
        "<li>为不同水平的玩家提供从三子到十五子的多种玩法。</li>\n"
        "<li>维护本地游戏服务，让游戏在一台电脑上即可完整运行。</li>\n</ul>\n"
        "<p>感谢每一位玩家的支持与反馈。</p>\n");
}

std::string PageRenderer::Cooperation() {
    return Document("联系合作", {},
                    "<h2>合作方向</h2>\n"
                    "<ul>\n<li>棋类赛事与线上活动的联合举办。</li>\n"
                    "<li>棋型数据与模型的研究合作。</li>\n"
                    "<li>学校、棋社的教学与推广。</li>\n</ul>\n"
                    "<h2>联系方式</h2>\n"
                    "<p>请发送邮件至 <b>cooperation@rowstone.example</b>，注明合作方向与联系方式，"
                    "我们会在五个工作日内回复。</p>\n"
                    "<p>游戏中遇到问题，也可以在本页左侧的“问题反馈”中直接告诉我们。</p>\n");
}

std::string PageRenderer::Register(const std::string& message, bool success) {
    std::string content = MessageNote(message, success ? "ok" : "bad");
    content +=
        "<form method=\"post\" action=\"/app/pento/register.php\" accept-charset=\"utf-8\">\n"
        "<label for=\"name\">用户名</label>\n"
        "<input id=\"name\" name=\"name\" type=\"text\" required minlength=\"1\" maxlength=\"" +
        Number(kMaxNameLength) +
        "\" pattern=\"[^&amp;=+]+\" autocomplete=\"username\">\n"
        "<label for=\"psw\">密码</label>\n"
        "<input id=\"psw\" name=\"psw\" type=\"password\" required minlength=\"" +
        Number(kMinPasswordLength) + "\" maxlength=\"" + Number(kMaxPasswordLength) +
        "\" autocomplete=\"new-password\">\n"
        "<label for=\"psw2\">再次输入密码</label>\n"
        "<input id=\"psw2\" name=\"psw2\" type=\"password\" required minlength=\"" +
        Number(kMinPasswordLength) + "\" maxlength=\"" + Number(kMaxPasswordLength) +
        "\" autocomplete=\"new-password\">\n"
        "<button type=\"submit\">注册</button>\n</form>\n"
        "<p class=\"rules\">用户名 1 到 " +
        Number(kMaxNameLength) + " 个字符，不能包含 “&amp;”、“=”、“+”；密码 " +
        Number(kMinPasswordLength) + " 到 " + Number(kMaxPasswordLength) +
        " 个字符。注册后请回到游戏中登录。</p>\n";
    return Document("注册账号", {}, content);
}

std::string PageRenderer::Recharge(int64_t userId, const std::string& name,
                                   const std::string& message) {
    std::string content = "<p class=\"note demo\">演示服务：这是一个演示充值页面，不会产生任何"
                          "真实付款，也不会收取任何费用，积分直接记入账号。</p>\n";
    content += MessageNote(message, {});
    content +=
        "<p>充值账号：<b>" + HtmlEscape(name) + "</b>（用户编号 " + Number(userId) + "）</p>\n";
    content +=
        "<form method=\"post\" action=\"/app/pento/chongzhi.php\" accept-charset=\"utf-8\">\n"
        "<input type=\"hidden\" name=\"idus\" value=\"" +
        Number(userId) +
        "\">\n"
        "<label for=\"psw\">账号密码</label>\n"
        "<input id=\"psw\" name=\"psw\" type=\"password\" required "
        "autocomplete=\"current-password\">\n"
        "<label for=\"amount\">充值积分（1 到 " +
        Number(kMaxTopUpPoints) +
        "）</label>\n"
        "<input id=\"amount\" name=\"amount\" type=\"number\" required min=\"1\" max=\"" +
        Number(kMaxTopUpPoints) +
        "\" step=\"1\" value=\"100\">\n"
        "<button type=\"submit\">确认充值（演示）</button>\n</form>\n"
        "<p class=\"rules\">充值完成后请关闭浏览器，回到游戏中点击提示框的“确定”按钮。</p>\n";
    return Document("积分充值（演示）", {}, content);
}

std::string PageRenderer::ErrorPage(int status, const std::string& text) {
    const std::string title = "错误 " + Number(status);
    std::string content = "<p class=\"status\">" + Number(status) + "</p>\n<p>";
    content += StatusText(status);
    content += "</p>\n";
    if (!text.empty()) {
        content += "<p class=\"note bad\">" + HtmlEscape(text) + "</p>\n";
    }
    return Document(title, {}, content);
}

} // namespace rowstone::service
