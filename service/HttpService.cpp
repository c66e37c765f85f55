#include "HttpService.h"

#include "AccountLimits.h"
#include "FormFields.h"
#include "NewsFeed.h"
#include "PageRenderer.h"
#include "ServiceReply.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace rowstone::service {

namespace {

using Clock = std::chrono::steady_clock;
using FormHandler = ServiceReply (FormRequests::*)(const FormFields&);

// Each worker thread serves one request at a time; the log line is written
// after the reply, on the same thread that stamped the start.
thread_local Clock::time_point requestStart;

void Send(httplib::Response& response, const ServiceReply& reply) {
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType.c_str());
}

void SendError(httplib::Response& response, int status, const std::string& text) {
    Send(response, ServiceReply::Html(PageRenderer::ErrorPage(status, text), status));
}

void LogRequest(const httplib::Request& request, const httplib::Response& response) {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - requestStart);
    // The path only: queries carry nothing secret, but bodies (passwords,
    // session keys) are never logged.
    std::fprintf(stderr, "%s %s %d %.1fms\n", request.method.c_str(), request.path.c_str(),
                 response.status, static_cast<double>(elapsed.count()) / 1000.0);
    std::fflush(stderr);
}

std::optional<int64_t> QueryInteger(const httplib::Request& request, const char* key, int64_t low,
                                    int64_t high) {
    if (!request.has_param(key)) {
        return std::nullopt;
    }
    int64_t value = 0;
    if (!ParseDecimal(request.get_param_value(key), low, high, value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

HttpService::HttpService(Storage& storage, FormRequests& requests, const ModelLibrary& models)
    : storage_(storage), requests_(requests), models_(models),
      server_(std::make_unique<httplib::Server>()) {
    server_->set_tcp_nodelay(true);
    server_->set_payload_max_length(kMaxBodyBytes);
    server_->set_read_timeout(10, 0);
    server_->set_write_timeout(10, 0);
    server_->set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestStart = Clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server_->set_logger(LogRequest);
    server_->set_error_handler([](const httplib::Request&, httplib::Response& response) {
        const int status = response.status;
        const char* text = status == 404 ? "页面不存在" : status == 413 ? "请求过大" : "请求无效";
        SendError(response, status, text);
    });
    RegisterFormRequests();
    RegisterDownloads();
    RegisterPages();
    RegisterAccountForms();
}

HttpService::~HttpService() = default;

int HttpService::Bind(const std::string& host, int port) {
    if (port == 0) {
        return server_->bind_to_any_port(host.c_str());
    }
    return server_->bind_to_port(host.c_str(), port) ? port : -1;
}

bool HttpService::Run() {
    return server_->listen_after_bind();
}

void HttpService::Stop() {
    server_->stop();
}

void HttpService::RegisterFormRequests() {
    const std::pair<const char*, FormHandler> routes[] = {
        {"/app/pento/denglu.php", &FormRequests::Login},
        {"/app/pento/get_point.php", &FormRequests::PointQuery},
        {"/app/pento/sub_point.php", &FormRequests::Payment},
        {"/app/pento/challenge_update.php", &FormRequests::ChallengeReport},
        {"/app/pento/send_board_n.php", &FormRequests::BoardUpload},
        {"/app/pento/app_tixian.php", &FormRequests::Withdrawal},
        {"/app/pento/app_buydata.php", &FormRequests::DataPurchase},
        {"/app/pento/fankui.php", &FormRequests::Feedback},
    };
    for (const auto& [path, handler] : routes) {
        server_->Post(path, [this, handler = handler](const httplib::Request& request,
                                                      httplib::Response& response) {
            FormFields fields;
            if (!fields.Decode(request.body)) {
                Send(response, ServiceReply::Refusal(codes::kBadRequest));
                return;
            }
            Send(response, (requests_.*handler)(fields));
        });
    }
}

void HttpService::RegisterDownloads() {
    server_->Get(R"(/app/pento/model/model_(\d{1,2})\.mod)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     int64_t connect = 0;
                     std::optional<std::vector<uint8_t>> bytes;
                     if (ParseDecimal(request.matches[1].str(), ModelLibrary::kFirstConnectLength,
                                      ModelLibrary::kLastConnectLength, connect)) {
                         bytes = models_.Read(static_cast<int>(connect));
                     }
                     if (!bytes) {
                         SendError(response, 404, "没有这种游戏类型的模型");
                         return;
                     }
                     response.set_content(reinterpret_cast<const char*>(bytes->data()),
                                          bytes->size(), "application/octet-stream");
                 });
}

void HttpService::RegisterPages() {
    auto page = [](std::string html) {
        return [html = std::move(html)](const httplib::Request&, httplib::Response& response) {
            Send(response, ServiceReply::Html(html));
        };
    };
    server_->Get("/app/pento/news.php", page(PageRenderer::News(DefaultNews())));
    server_->Get("/app/pento/chanping.php", page(PageRenderer::Product()));
    server_->Get("/app/pento/company.php", page(PageRenderer::Company()));
    server_->Get("/app/pento/hezuo.php", page(PageRenderer::Cooperation()));
    server_->Get("/app/pento/paiming.php", [this](const httplib::Request& request,
                                                  httplib::Response& response) {
        const auto width = QueryInteger(request, "w", INT32_MIN, INT32_MAX);
        const auto height = QueryInteger(request, "h", INT32_MIN, INT32_MAX);
        if (!width || !height) {
            SendError(response, 400, "请求无效");
            return;
        }
        Send(response, ServiceReply::Html(PageRenderer::Ranking(storage_.Ranking(kMaxRankingRows),
                                                                static_cast<int>(*width),
                                                                static_cast<int>(*height))));
    });
    server_->Get("/app/pento/personal_center.php", [this](const httplib::Request& request,
                                                          httplib::Response& response) {
        const auto id = QueryInteger(request, "id", 0, INT32_MAX);
        if (!id) {
            SendError(response, 400, "请求无效");
            return;
        }
        const std::optional<PersonalCentre> centre = storage_.PersonalCentreOf(*id);
        Send(response, ServiceReply::Html(centre ? PageRenderer::PersonalCentre(*centre)
                                                 : PageRenderer::UnknownAccount()));
    });
}

void HttpService::RegisterAccountForms() {
    server_->Get("/app/pento/register.php",
                 [](const httplib::Request&, httplib::Response& response) {
                     Send(response, ServiceReply::Html(PageRenderer::Register("", false)));
                 });
    server_->Post("/app/pento/register.php", [this](const httplib::Request& request,
                                                    httplib::Response& response) {
        FormFields fields;
        const bool decoded = fields.Decode(request.body);
        const auto name = fields.Text("name");
        const auto password = fields.Text("psw");
        const auto again = fields.Text("psw2");
        std::string message;
        int64_t id = 0;
        bool created = false;
        if (!decoded || !name || !password || !again) {
            message = "请填写用户名和密码";
        } else if (*password != *again) {
            message = "两次输入的密码不一致";
        } else if (requests_.Register(*name, *password, id, message)) {
            created = true;
            message = "注册成功，您的用户编号是 " + std::to_string(id) + "，请在游戏中登录";
        }
        Send(response, ServiceReply::Html(PageRenderer::Register(message, created)));
    });
    server_->Get("/app/pento/chongzhi.php", [this](const httplib::Request& request,
                                                   httplib::Response& response) {
        const auto id = QueryInteger(request, "idus", 1, INT32_MAX);
        const std::optional<Account> account = id ? storage_.FindAccount(*id) : std::nullopt;
        if (!account) {
            Send(response, ServiceReply::Html(PageRenderer::UnknownAccount()));
            return;
        }
        Send(response, ServiceReply::Html(PageRenderer::Recharge(account->id, account->name, "")));
    });
    server_->Post("/app/pento/chongzhi.php", [this](const httplib::Request& request,
                                                    httplib::Response& response) {
        FormFields fields;
        const bool decoded = fields.Decode(request.body);
        const auto id = fields.Integer("idus", 1, INT32_MAX);
        const auto password = fields.Text("psw");
        const auto amount = fields.Integer("amount", 1, kMaxTopUpPoints);
        const std::optional<Account> account =
            decoded && id ? storage_.FindAccount(*id) : std::nullopt;
        if (!account) {
            Send(response, ServiceReply::Html(PageRenderer::UnknownAccount()));
            return;
        }
        std::string message;
        if (!password || !amount) {
            message = "请填写密码和1到10000之间的积分数";
        } else if (!requests_.CheckPassword(*account, *password)) {
            message = "密码错误";
        } else if (storage_.AddPoints(account->id, *amount, "demo top-up")) {
            message = "充值成功：" + std::to_string(*amount) + " 积分（演示）";
        } else {
            message = "服务器出错，请稍后再试";
        }
        Send(response,
             ServiceReply::Html(PageRenderer::Recharge(account->id, account->name, message)));
    });
}

} // namespace rowstone::service
