// Service client costs on loopback: one form exchange over a kept connection,
// a model download into the reused block, and the text work around a request.
#include "CHttpClient.h"
#include "FormBody.h"
#include "LoginResult.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

using rowstone::CHttpClient;
using rowstone::RequestResult;

class LoopbackServer {
public:
    LoopbackServer() {
        server_.Post("/app/pento/get_point.php", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("1&pt=120", "text/plain");
        });
        server_.Get(R"(/model/(\d+))", [](const httplib::Request& request, httplib::Response& r) {
            r.set_content(std::string(std::stoul(request.matches[1]), 'm'),
                          "application/octet-stream");
        });
        // Without this the server's split header and body writes wait for delayed ACKs.
        server_.set_tcp_nodelay(true);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~LoopbackServer() {
        server_.stop();
        thread_.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
};

void BM_PostFormRoundTrip(benchmark::State& state) {
    LoopbackServer server;
    CHttpClient client;
    const std::string url = server.Url("/app/pento/get_point.php");
    for (auto _ : state) {
        if (client.PostForm(url, "id=7&ses=abc") != RequestResult::Ok) {
            state.SkipWithError("form request failed");
            break;
        }
        benchmark::DoNotOptimize(client.replyTail().data());
    }
}
BENCHMARK(BM_PostFormRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_DownloadIntoReusedBlock(benchmark::State& state) {
    LoopbackServer server;
    CHttpClient client;
    const std::string url = server.Url("/model/" + std::to_string(state.range(0)));
    for (auto _ : state) {
        if (client.Download(url) != RequestResult::Ok) {
            state.SkipWithError("download failed");
            break;
        }
        benchmark::DoNotOptimize(client.downloadBuffer());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_DownloadIntoReusedBlock)
    ->Arg(64 << 10)
    ->Arg(1 << 20)
    ->Arg(8 << 20)
    ->Unit(benchmark::kMillisecond);

void BM_FormBodyAndLoginReply(benchmark::State& state) {
    const std::string moves(state.range(0) * 4, '7');
    for (auto _ : state) {
        rowstone::FormBody body;
        body.AddNumber("ind", 5).AddNumber("len", state.range(0)).AddText("ses", "k&e=y");
        body.AddText("data", moves);
        benchmark::DoNotOptimize(body.Text().data());
        auto login = rowstone::ParseLoginResult("id=7&ex=ann&pt=120&ses=k&e=y");
        benchmark::DoNotOptimize(login.sessionKey.data());
    }
}
BENCHMARK(BM_FormBodyAndLoginReply)->Arg(225);

} // namespace
