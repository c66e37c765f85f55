#include "CHttpClient.h"
#include "FormBody.h"
#include "LoopbackSockets.h"
#include "ScriptedServer.h"
#include "TestSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace rowstone {
namespace {

using test::LoopbackSocket;
using test::ScriptedServer;
using test::ShortTimeouts;

struct ReplyCase {
    const char* name;
    std::string reply;
    RequestResult result;
    std::string tail;
};

class ReplyGrammar : public testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyGrammar, ResultAndTailFollowTheFirstCharacterAndTheFirstAmpersand) {
    const ReplyCase& c = GetParam();
    ScriptedServer server;
    server.Reply(c.reply);
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.PostForm(server.Url("/app/pento/denglu.php"), "name=a&psw=b"), c.result);
    EXPECT_EQ(client.replyTail(), c.tail);
}

const std::string kLongValue(5000, 'v');
const std::string kHtmlPage = "<html><head><title>502 Bad Gateway</title></head>"
                              "<body><a href=\"/x?a=1&b=2\">retry</a></body></html>";

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyGrammar,
    testing::Values(ReplyCase{"LoneOne", "1", RequestResult::Ok, ""},
                    ReplyCase{"OneWithValue", "1&id=5", RequestResult::Ok, "id=5"},
                    ReplyCase{"FailureSplitsAtFirstAmpersandOnly", "0&r=ses&x=1",
                              RequestResult::Failed, "r=ses&x=1"},
                    ReplyCase{"EmptyBody", "", RequestResult::Failed, ""},
                    ReplyCase{"HtmlErrorPage", kHtmlPage, RequestResult::Failed,
                              "b=2\">retry</a></body></html>"},
                    ReplyCase{"LeadingBlankIsNotSuccess", " 1&id=5", RequestResult::Failed, "id=5"},
                    ReplyCase{"LongerThanOneChunk", "1&k=" + kLongValue, RequestResult::Ok,
                              "k=" + kLongValue},
                    ReplyCase{"ChineseText", "0&msg=网络故障，请确保网络畅通",
                              RequestResult::Failed, "msg=网络故障，请确保网络畅通"},
                    ReplyCase{"NulDropsTheRestOfItsChunk", std::string("1&a=xy\0zz", 9),
                              RequestResult::Ok, "a=xy"},
                    ReplyCase{"NulInFirstChunkKeepsTheSecondChunk",
                              std::string("1&a=b\0", 6) + std::string(4090, 'z') + "tail",
                              RequestResult::Ok, "a=btail"},
                    ReplyCase{"MalformedUtf8BecomesReplacementCharacter",
                              "1&n=a\xFF"
                              "b",
                              RequestResult::Ok,
                              "n=a\xEF\xBF\xBD"
                              "b"}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST(HttpClientPost, ServerStatusIsNotExamined) {
    ScriptedServer server;
    server.Handle([](const httplib::Request&, httplib::Response& response) {
        response.status = 500;
        response.set_content("1&id=9", "text/plain");
    });
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.PostForm(server.Url("/app/pento/get_point.php"), "id=1"), RequestResult::Ok);
    EXPECT_EQ(client.replyTail(), "id=9");
}

TEST(HttpClientPost, SendsThePostWithItsHeadersAndTheExactBodyBytes) {
    ScriptedServer server;
    CHttpClient client(ShortTimeouts());
    const std::string body = "id=7&probs=%E4%BD%A0%E5%A5%BD%20a%2Bb";

    ASSERT_EQ(client.PostForm(server.Url("/app/pento/fankui.php"), body), RequestResult::Ok);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const test::ReceivedRequest& request = requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/app/pento/fankui.php");
    EXPECT_EQ(request.body, body);
    auto header = [&](const std::string& name) {
        EXPECT_EQ(request.headers.count(name), 1u) << name;
        const auto found = request.headers.find(name);
        return found == request.headers.end() ? std::string() : found->second;
    };
    EXPECT_EQ(header("User-Agent"),
              "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)");
    EXPECT_EQ(header("Accept"), "*,*/*");
    EXPECT_EQ(header("Accept-Language"), "zh-cn");
    EXPECT_EQ(header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(header("Accept-Encoding"), "deflate");
    EXPECT_EQ(header("Content-Length"), std::to_string(body.size()));
    EXPECT_EQ(request.headers.count("Expect"), 0u);
}

TEST(HttpClientPost, EncodedValuesReachAFormDecoderUnchanged) {
    ScriptedServer server;
    CHttpClient client(ShortTimeouts());
    const std::string sessionKey = "Zk&e=y+%2B/";
    const std::string feedback = "1+1 2 100% 好";
    const FormBody body =
        FormBody().AddNumber("id", 7).AddText("ses", sessionKey).AddText("probs", feedback);

    ASSERT_EQ(client.PostForm(server.Url("/app/pento/fankui.php"), body.Text()), RequestResult::Ok);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const httplib::Params& fields = requests[0].params;
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields.find("id")->second, "7");
    EXPECT_EQ(fields.find("ses")->second, sessionKey);
    EXPECT_EQ(fields.find("probs")->second, feedback);
}

TEST(HttpClientPost, SendsRawUtf8AndLongBodiesUnchanged) {
    ScriptedServer server;
    CHttpClient client(ShortTimeouts());
    const std::string body = "probs=" + std::string(3000, 'x') + "五子棋";

    ASSERT_EQ(client.PostForm(server.Url("/app/pento/fankui.php"), body), RequestResult::Ok);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, body);
}

TEST(HttpClientPost, ReusesItsConnectionForTheNextRequest) {
    ScriptedServer server;
    CHttpClient client(ShortTimeouts());

    ASSERT_EQ(client.PostForm(server.Url("/app/pento/get_point.php"), "id=1"), RequestResult::Ok);
    ASSERT_EQ(client.PostForm(server.Url("/app/pento/sub_point.php"), "id=1"), RequestResult::Ok);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].remotePort, requests[1].remotePort);
}

TEST(HttpClientPost, RefusedConnectionFailsAndEmptiesTheEarlierTail) {
    ScriptedServer server;
    server.Reply("0&r=ses");
    LoopbackSocket refusing(LoopbackSocket::Mode::Refusing);
    CHttpClient client(ShortTimeouts());
    ASSERT_EQ(client.PostForm(server.Url("/app/pento/sub_point.php"), "id=1"),
              RequestResult::Failed);
    ASSERT_EQ(client.replyTail(), "r=ses");

    EXPECT_EQ(client.PostForm(refusing.Url("http", "/app/pento/sub_point.php"), "id=1"),
              RequestResult::Failed);
    EXPECT_EQ(client.replyTail(), "");
}

TEST(HttpClientPost, SilentServerTimesOutAndEmptiesTheEarlierTail) {
    ScriptedServer server;
    server.Reply("1&id=5");
    LoopbackSocket silent(LoopbackSocket::Mode::Silent);
    CHttpClient client(ShortTimeouts());
    ASSERT_EQ(client.PostForm(server.Url("/app/pento/get_point.php"), "id=1"), RequestResult::Ok);
    ASSERT_EQ(client.replyTail(), "id=5");

    EXPECT_EQ(client.PostForm(silent.Url("http", "/app/pento/get_point.php"), "id=1"),
              RequestResult::TimedOut);
    EXPECT_EQ(client.replyTail(), "");
}

TEST(HttpClientPost, ReplyBeyondTheLimitFails) {
    ScriptedServer server;
    server.Reply("1&k=" + std::string(CHttpClient::kMaxReplyBytes, 'x'));
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.PostForm(server.Url("/app/pento/news.php"), ""), RequestResult::Failed);
    EXPECT_EQ(client.replyTail(), "");
}

class NonWebAddress : public testing::TestWithParam<std::string> {};

TEST_P(NonWebAddress, FailsWithoutConnecting) {
    LoopbackSocket listener(LoopbackSocket::Mode::Silent);
    const std::string url = GetParam() + std::to_string(listener.port()) + "/app/pento/x";
    CHttpClient client(ShortTimeouts());

    EXPECT_EQ(client.PostForm(url, "id=1"), RequestResult::Failed);
    EXPECT_EQ(client.Download(url), RequestResult::Failed);
    EXPECT_FALSE(listener.HasPendingConnection());
}

INSTANTIATE_TEST_SUITE_P(Schemes, NonWebAddress,
                         testing::Values("ftp://127.0.0.1:", "gopher://127.0.0.1:",
                                         "telnet://127.0.0.1:", "127.0.0.1:", "",
                                         "http ://127.0.0.1:"));

TEST(HttpClientPost, EmptyAddressFails) {
    CHttpClient client(ShortTimeouts());
    EXPECT_EQ(client.PostForm("", "id=1"), RequestResult::Failed);
}

} // namespace
} // namespace rowstone
