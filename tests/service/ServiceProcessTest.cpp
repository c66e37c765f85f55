#include "ServiceProcess.h"

#include "CHttpClient.h"
#include "FormBody.h"
#include "LoginResult.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace rowstone::service::test {
namespace {

namespace fs = std::filesystem;

class ServiceOverHttp : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("rowstone-service-http-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        service_ = std::make_unique<ServiceProcess>(folder_.string());
        ASSERT_TRUE(service_->Running());
        base_ = service_->BaseUrl() + "/app/pento/";
    }
    void TearDown() override {
        service_.reset();
        fs::remove_all(folder_);
    }

    static std::string Quote(const std::string& text) {
        std::string quoted = "'";
        for (char c : text) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    }

    // Adds an account through the command line, while the service runs.
    std::string AddUser(const std::string& name, const std::string& password, int points) {
        return Shell(Quote(ROWSTONE_SERVICE_EXE) + " user add " + Quote(name) + " " +
                     Quote(password) + " --points " + std::to_string(points) + " --data " +
                     Quote(folder_.string()));
    }

    std::string Curl(const std::string& arguments) {
        return Shell("curl -s --max-time 10 " + arguments);
    }

    // Logs in through the program's own client; an empty result on refusal.
    LoginResult LogIn(CHttpClient& client, const std::string& name, const std::string& password) {
        FormBody login;
        login.AddText("name", name).AddText("psw", password);
        if (client.PostForm(base_ + "denglu.php", login.Text()) != RequestResult::Ok)
            return {};
        return ParseLoginResult(client.replyTail());
    }

    static FormBody Payment(const LoginResult& account) {
        FormBody pay;
        pay.AddNumber("id", account.userId).AddText("ses", account.sessionKey);
        return pay;
    }

    static FormBody WinReport(const LoginResult& account, int gameId) {
        FormBody report;
        report.AddNumber("uid", account.userId)
            .AddNumber("gid", gameId)
            .AddNumber("state", 1)
            .AddText("ses", account.sessionKey);
        return report;
    }

    fs::path folder_;
    std::unique_ptr<ServiceProcess> service_;
    std::string base_;
};

TEST_F(ServiceOverHttp, AChallengeThroughTheProgramsOwnClient) {
    ASSERT_EQ(AddUser("ann", "secret1", 100), "1\n");
    CHttpClient client;
    const LoginResult account = LogIn(client, "ann", "secret1");
    EXPECT_EQ(account.userId, 1);
    EXPECT_EQ(account.loginExtra, "ann");
    EXPECT_EQ(account.points, 100);
    ASSERT_EQ(account.sessionKey.size(), 32u);

    ASSERT_EQ(client.PostForm(base_ + "sub_point.php", Payment(account).Text()), RequestResult::Ok);
    EXPECT_EQ(client.replyTail(), "gid=1");

    const std::string report = WinReport(account, 1).Text();
    ASSERT_EQ(client.PostForm(base_ + "challenge_update.php", report), RequestResult::Ok);
    EXPECT_EQ(client.replyTail(), "hb=1");
    EXPECT_EQ(client.PostForm(base_ + "challenge_update.php", report), RequestResult::Failed);

    ASSERT_EQ(client.Download(base_ + "model/model_5.mod"), RequestResult::Ok);
    std::ifstream file(std::string(ROWSTONE_MODELS_DIR) + "/model_5.mod", std::ios::binary);
    const std::vector<uint8_t> expected((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(std::vector<uint8_t>(client.downloadBuffer(),
                                   client.downloadBuffer() + client.downloadSize()),
              expected);
    EXPECT_EQ(client.Download(base_ + "model/model_16.mod"), RequestResult::Failed);

    // The log names every request and never a password or a session key.
    EXPECT_EQ(service_->Stop(), 0);
    const std::string log = service_->Log();
    EXPECT_NE(log.find("POST /app/pento/denglu.php 200"), std::string::npos) << log;
    EXPECT_NE(log.find("GET /app/pento/model/model_16.mod 404"), std::string::npos) << log;
    EXPECT_EQ(log.find("secret1"), std::string::npos);
    EXPECT_EQ(log.find(account.sessionKey), std::string::npos);
}

TEST_F(ServiceOverHttp, RefusesBadRequestsCleanly) {
    ASSERT_EQ(AddUser("ann", "secret1", 100), "1\n");
    const std::string status = "-o /dev/null -w '%{http_code}' ";
    EXPECT_EQ(Curl(status + base_ + "nothing.php"), "404");
    EXPECT_EQ(Curl(status + base_ + "model/model_2.mod"), "404");
    EXPECT_EQ(Curl(status + "'" + base_ + "paiming.php?w=abc&h=1'"), "400");
    EXPECT_EQ(Curl(status + "'" + base_ + "personal_center.php?id=-1'"), "400");
    EXPECT_EQ(
        Shell(
            "head -c 2000000 /dev/zero | curl -s -o /dev/null -w '%{http_code}' --data-binary @- " +
            base_ + "fankui.php"),
        "413");
    EXPECT_EQ(Curl("-d 'id=1&ses=%zz' " + base_ + "get_point.php"), "0&r=arg");
    EXPECT_EQ(Curl("-d 'id=99999999999&ses=x' " + base_ + "get_point.php"), "0&r=arg");
    EXPECT_EQ(Curl("-d '' " + base_ + "sub_point.php"), "0&r=arg");
    EXPECT_EQ(Curl("-d 'name=ann&psw=secret1' " + base_ + "denglu.php").substr(0, 5), "1&id=");
}

TEST_F(ServiceOverHttp, UserTextsAreStoredAsDataAndShownEscaped) {
    const std::string name = "x');DROP TABLE accounts;--<b>\"";
    ASSERT_EQ(AddUser(name, "secret1", 100), "1\n");
    CHttpClient client;
    const LoginResult account = LogIn(client, name, "secret1");
    ASSERT_EQ(account.userId, 1);
    ASSERT_EQ(client.PostForm(base_ + "sub_point.php", Payment(account).Text()), RequestResult::Ok);
    ASSERT_EQ(client.PostForm(base_ + "challenge_update.php", WinReport(account, 1).Text()),
              RequestResult::Ok);

    for (const std::string page : {"personal_center.php?id=1", "paiming.php?w=600&h=400"}) {
        const std::string html = Curl("'" + base_ + page + "'");
        EXPECT_EQ(html.find("<b>\""), std::string::npos) << page;
        EXPECT_NE(html.find("&lt;b&gt;"), std::string::npos) << page << html;
    }
}

TEST_F(ServiceOverHttp, RegistrationPageCreatesAnAccount) {
    const std::string page =
        Curl("-d 'name=carl&psw=secret9&psw2=secret9' " + base_ + "register.php");
    EXPECT_NE(page.find("<html"), std::string::npos);
    EXPECT_EQ(Curl("-d 'name=carl&psw=secret9' " + base_ + "denglu.php").substr(0, 5), "1&id=");
    Curl("-d 'name=carl&psw=other99&psw2=other99' " + base_ + "register.php");
    EXPECT_EQ(Curl("-d 'name=carl&psw=other99' " + base_ + "denglu.php"), "0&r=psw");
}

} // namespace
} // namespace rowstone::service::test
