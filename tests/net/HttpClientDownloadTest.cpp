#include "CHttpClient.h"
#include "LoopbackSockets.h"
#include "ScriptedServer.h"
#include "StaticFileServer.h"
#include "TestSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace rowstone {
namespace {

using test::LoopbackSocket;
using test::ScriptedServer;
using test::ShortTimeouts;
using test::StaticFileServer;

// Bytes that differ from offset to offset, NULs included, so that stale or
// shifted bytes are seen.
std::string Pattern(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + seed * 17 + (i >> 8)) & 0xFF);
    }
    return bytes;
}

std::string Body(const CHttpClient& client) {
    return std::string(reinterpret_cast<const char*>(client.downloadBuffer()),
                       client.downloadSize());
}

class DownloadFromFileServer : public testing::Test {
protected:
    static void SetUpTestSuite() { files_ = new StaticFileServer(); }
    static void TearDownTestSuite() {
        delete files_;
        files_ = nullptr;
    }
    static StaticFileServer* files_;
};

StaticFileServer* DownloadFromFileServer::files_ = nullptr;

TEST_F(DownloadFromFileServer, StartsWithoutABlock) {
    CHttpClient client;
    EXPECT_EQ(client.downloadBuffer(), nullptr);
    EXPECT_EQ(client.downloadCapacity(), 0u);
    EXPECT_EQ(client.downloadSize(), 0u);
}

TEST_F(DownloadFromFileServer, SmallerFileAfterLargerReusesTheBlockAndReportsItsOwnSize) {
    const std::string large = Pattern(90'000, 1);
    const std::string small = Pattern(40'000, 2);
    files_->WriteFile("app/pento/model/model_6.mod", large);
    files_->WriteFile("app/pento/model/model_5.mod", small);
    CHttpClient client(ShortTimeouts());

    ASSERT_EQ(client.Download(files_->Url("/app/pento/model/model_6.mod")), RequestResult::Ok);
    EXPECT_EQ(client.downloadCapacity(), large.size());
    EXPECT_EQ(Body(client), large);
    const std::uint8_t* block = client.downloadBuffer();

    ASSERT_EQ(client.Download(files_->Url("/app/pento/model/model_5.mod")), RequestResult::Ok);
    EXPECT_EQ(client.downloadBuffer(), block);
    EXPECT_EQ(client.downloadCapacity(), large.size());
    EXPECT_EQ(client.downloadSize(), small.size());
    EXPECT_EQ(Body(client), small);
    // What lies beyond the new body is the earlier file's tail.
    EXPECT_EQ(std::memcmp(client.downloadBuffer() + small.size(), large.data() + small.size(),
                          large.size() - small.size()),
              0);
}

TEST_F(DownloadFromFileServer, LargerFileAfterSmallerGrowsTheBlockToItsSize) {
    const std::string small = Pattern(1'000, 3);
    const std::string large = Pattern(300'000, 4);
    files_->WriteFile("small.mod", small);
    files_->WriteFile("large.mod", large);
    CHttpClient client(ShortTimeouts());

    ASSERT_EQ(client.Download(files_->Url("/small.mod")), RequestResult::Ok);
    EXPECT_EQ(client.downloadCapacity(), small.size());
    ASSERT_EQ(client.Download(files_->Url("/large.mod")), RequestResult::Ok);
    EXPECT_EQ(client.downloadCapacity(), large.size());
    EXPECT_EQ(Body(client), large);
}

TEST_F(DownloadFromFileServer, EmptyFileIsOkWithSizeZero) {
    files_->WriteFile("empty.mod", "");
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.Download(files_->Url("/empty.mod")), RequestResult::Ok);
    EXPECT_EQ(client.downloadSize(), 0u);
}

TEST_F(DownloadFromFileServer, MissingFileFailsAndLeavesTheBlockAlone) {
    const std::string model = Pattern(5'000, 5);
    files_->WriteFile("model_7.mod", model);
    CHttpClient client(ShortTimeouts());
    ASSERT_EQ(client.Download(files_->Url("/model_7.mod")), RequestResult::Ok);

    EXPECT_EQ(client.Download(files_->Url("/model_99.mod")), RequestResult::Failed);
    EXPECT_EQ(client.downloadSize(), 0u);
    EXPECT_EQ(client.downloadCapacity(), model.size());
    EXPECT_EQ(std::memcmp(client.downloadBuffer(), model.data(), model.size()), 0);
}

TEST(Download, BodyOfUnknownLengthArrivesWhole) {
    const std::string body = Pattern(200'000, 6);
    ScriptedServer server;
    server.Handle([&body](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider(
            "application/octet-stream", [&body](std::size_t offset, httplib::DataSink& sink) {
                const std::size_t piece = std::min<std::size_t>(7'777, body.size() - offset);
                sink.write(body.data() + offset, piece);
                if (offset + piece == body.size()) {
                    sink.done();
                }
                return true;
            });
    });
    CHttpClient client(ShortTimeouts());

    ASSERT_EQ(client.Download(server.Url("/app/pento/model/model_5.mod")), RequestResult::Ok);
    EXPECT_EQ(Body(client), body);
    EXPECT_GE(client.downloadCapacity(), body.size());
    EXPECT_LE(client.downloadCapacity(), CHttpClient::kMaxDownloadBytes);
}

TEST(Download, FollowsARedirect) {
    ScriptedServer server;
    server.Handle([](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/old.mod") {
            response.set_redirect("/new.mod");
        } else {
            response.set_content("mod-bytes", "application/octet-stream");
        }
    });
    CHttpClient client(ShortTimeouts());

    ASSERT_EQ(client.Download(server.Url("/old.mod")), RequestResult::Ok);
    EXPECT_EQ(Body(client), "mod-bytes");
}

TEST(Download, SendsAPlainGet) {
    ScriptedServer server;
    CHttpClient client(ShortTimeouts());

    ASSERT_EQ(client.Download(server.Url("/app/pento/model/model_5.mod")), RequestResult::Ok);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/app/pento/model/model_5.mod");
    EXPECT_TRUE(requests[0].body.empty());
}

TEST(Download, ServerErrorFailsEvenWithABody) {
    ScriptedServer server;
    server.Handle([](const httplib::Request&, httplib::Response& response) {
        response.status = 503;
        response.set_content("<html>busy</html>", "text/html");
    });
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.Download(server.Url("/app/pento/model/model_5.mod")), RequestResult::Failed);
    EXPECT_EQ(client.downloadSize(), 0u);
    EXPECT_EQ(client.downloadCapacity(), 0u);
}

TEST(Download, DeclaredLengthBeyondTheLimitIsRefusedBeforeAnyBlockIsMade) {
    ScriptedServer server;
    server.Handle([](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(std::size_t{CHttpClient::kMaxDownloadBytes} + 1,
                                      "application/octet-stream",
                                      [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                          static const std::string piece(4096, 'x');
                                          return sink.write(piece.data(), piece.size());
                                      });
    });
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.Download(server.Url("/huge.mod")), RequestResult::Failed);
    EXPECT_EQ(client.downloadCapacity(), 0u);
}

TEST(Download, DeadLineTimesOut) {
    LoopbackSocket silent(LoopbackSocket::Mode::Silent);
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.Download(silent.Url("http", "/app/pento/model/model_5.mod")),
              RequestResult::TimedOut);
    EXPECT_EQ(client.downloadSize(), 0u);
}

TEST(Download, RefusedConnectionFails) {
    LoopbackSocket refusing(LoopbackSocket::Mode::Refusing);
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.Download(refusing.Url("http", "/app/pento/model/model_5.mod")),
              RequestResult::Failed);
}

TEST(Download, NonWebAddressLeavesTheBlockUntouched) {
    ScriptedServer server;
    server.Reply("model");
    CHttpClient client(ShortTimeouts());
    ASSERT_EQ(client.Download(server.Url("/m.mod")), RequestResult::Ok);

    EXPECT_EQ(client.Download("ftp://127.0.0.1/m.mod"), RequestResult::Failed);
    EXPECT_EQ(client.downloadCapacity(), 5u);
    EXPECT_EQ(std::memcmp(client.downloadBuffer(), "model", 5), 0);
}

} // namespace
} // namespace rowstone
