#pragma once

#include <array>
#include <span>
#include <string_view>

namespace rowstone {

// What the player is told after a failed request: a message box text and its
// caption (UTF-8). The box has an OK button and the information icon.
struct FailureMessage {
    std::string_view text;
    std::string_view caption;
    bool operator==(const FailureMessage&) const = default;
};

// A failure code that a request recognises, with its message.
struct FailureCode {
    std::string_view code;
    FailureMessage message;
};

inline constexpr std::string_view kNoticeCaption = "温馨提示";
inline constexpr std::string_view kSessionRefusedCaption = "请退出该客户端并重新登录";

// Told for a failure without a code, or with a code the request does not know.
inline constexpr FailureMessage kNetworkFailure{"网络故障，请确保网络畅通", kNoticeCaption};

// Login (denglu.php).
inline constexpr std::array<FailureCode, 2> kLoginFailures{{
    {"non", {"用户不存在", kNoticeCaption}},
    {"psw", {"用户名或密码错误", kNoticeCaption}},
}};

// Paying for a game (sub_point.php).
inline constexpr std::array<FailureCode, 2> kGamePaymentFailures{{
    {"ses",
     {"非法操作，请勿在不同设备同时登录，也勿在不同软件同时多端登录", kSessionRefusedCaption}},
    {"cha", {"数据库出错，无法记录游戏状态", kNoticeCaption}},
}};

// Withdrawal (app_tixian.php).
inline constexpr std::array<FailureCode, 4> kWithdrawalFailures{{
    {"ses",
     {"非法提取，请勿在不同设备同时登录，也勿在不同软件同时多端登录", kSessionRefusedCaption}},
    {"hb", {"抱歉，没有可提现红包", kNoticeCaption}},
    {"tx", {"您的提现申请已提交，请勿重复提交", kNoticeCaption}},
    {"app", {"服务器出错，请稍后再试", kNoticeCaption}},
}};

// Data purchase (app_buydata.php).
inline constexpr std::array<FailureCode, 3> kDataPurchaseFailures{{
    {"ses",
     {"非法购买，请勿在不同设备同时登录，也勿在不同软件同时多端登录", kSessionRefusedCaption}},
    {"jf", {"积分不足，请充值", kNoticeCaption}},
    {"app", {"服务器出错，请稍后再试", kNoticeCaption}},
}};

// The message for a failed request (Failed or TimedOut alike) whose reply
// tail is `tail`: the message of the first of `codes` equal, whole and with
// exact case, to the tail's reply value; kNetworkFailure when the tail has no
// reply value or no code matches.
FailureMessage ReadFailure(std::span<const FailureCode> codes, std::string_view tail);

} // namespace rowstone
