#pragma once

#include <string_view>

// Every address of the game service, below its base address. A "%d" is
// replaced by a decimal number when the address is formed (ServiceAddress).
namespace rowstone::service_paths {

inline constexpr std::string_view kPrefix = "/app/pento/";

// Form requests (PostForm); the fields of each body in the order sent.
// name, psw
inline constexpr std::string_view kLogin = "/app/pento/denglu.php";
// id, ses
inline constexpr std::string_view kPointQuery = "/app/pento/get_point.php";
// id, ses; success value: the game id
inline constexpr std::string_view kGamePayment = "/app/pento/sub_point.php";
// uid, gid, state, ses; success value: the red-envelope amount, when present
inline constexpr std::string_view kChallengeReport = "/app/pento/challenge_update.php";
// ind, len, tpf, w, ses, data
inline constexpr std::string_view kBoardUpload = "/app/pento/send_board_n.php";
// id, zfb, ses
inline constexpr std::string_view kWithdrawal = "/app/pento/app_tixian.php";
// id, ema, ses, pri, l3 ... l15
inline constexpr std::string_view kDataPurchase = "/app/pento/app_buydata.php";
// id, probs
inline constexpr std::string_view kFeedback = "/app/pento/fankui.php";

// Downloads (Download): the model for a connect length from 3 to 15.
inline constexpr std::string_view kModel = "/app/pento/model/model_%d.mod";
inline constexpr int kFirstModelConnectLength = 3;
inline constexpr int kLastModelConnectLength = 15;

// Pages shown inside the program.
inline constexpr std::string_view kPersonalCentre = "/app/pento/personal_center.php?id=%d";
inline constexpr std::string_view kNews = "/app/pento/news.php";
inline constexpr std::string_view kRanking = "/app/pento/paiming.php?w=%d&h=%d";
inline constexpr std::string_view kProduct = "/app/pento/chanping.php";
inline constexpr std::string_view kCompany = "/app/pento/company.php";
inline constexpr std::string_view kCooperation = "/app/pento/hezuo.php";

// Pages opened in the system's browser.
inline constexpr std::string_view kRegister = "/app/pento/register.php";
inline constexpr std::string_view kRecharge = "/app/pento/chongzhi.php?idus=%d&idage=%d";

} // namespace rowstone::service_paths
