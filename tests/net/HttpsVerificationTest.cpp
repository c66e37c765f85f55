#include "CHttpClient.h"
#include "ScriptedServer.h"
#include "TestSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace rowstone {
namespace {

using test::ScriptedServer;

// A certificate authority of our own and two server certificates it signed:
// one for 127.0.0.1 and one for another name. Made with the openssl tool in a
// temporary folder once for the suite.
class HttpsVerification : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rowstone-tls-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        std::ofstream(folder_ / "loopback.ext") << "subjectAltName=IP:127.0.0.1\n";
        std::ofstream(folder_ / "elsewhere.ext") << "subjectAltName=DNS:elsewhere.invalid\n";
        const std::string script =
            "set -e; cd '" + folder_.string() +
            "'; key='-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes';"
            " openssl req -x509 $key -keyout ca.key -out ca.pem -days 2 -subj '/CN=Rowstone Test "
            "CA';"
            " for name in loopback elsewhere; do"
            "  openssl req $key -keyout $name.key -out $name.csr -subj /CN=$name;"
            "  openssl x509 -req -in $name.csr -CA ca.pem -CAkey ca.key -CAcreateserial"
            "   -days 2 -extfile $name.ext -out $name.pem;"
            " done >/dev/null 2>&1";
        ready_ = std::system(script.c_str()) == 0;
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void SetUp() override {
        if (!ready_) {
            GTEST_SKIP() << "the openssl tool could not make test certificates";
        }
    }

    static std::unique_ptr<ScriptedServer> ServerFor(const std::string& name) {
        auto server = std::make_unique<ScriptedServer>((folder_ / (name + ".pem")).string(),
                                                       (folder_ / (name + ".key")).string());
        server->Reply("1&id=5");
        return server;
    }

    static HttpClientSettings TrustingOurAuthority() {
        HttpClientSettings settings = test::ShortTimeouts();
        settings.certificateAuthorityFile = (folder_ / "ca.pem").string();
        return settings;
    }

    static std::filesystem::path folder_;
    static bool ready_;
};

std::filesystem::path HttpsVerification::folder_;
bool HttpsVerification::ready_ = false;

TEST_F(HttpsVerification, TrustedCertificateForTheHostIsAccepted) {
    const auto server = ServerFor("loopback");
    CHttpClient client(TrustingOurAuthority());

    EXPECT_EQ(client.PostForm(server->Url("/app/pento/get_point.php"), "id=1"), RequestResult::Ok);
    EXPECT_EQ(client.replyTail(), "id=5");
    EXPECT_EQ(client.Download(server->Url("/app/pento/model/model_5.mod")), RequestResult::Ok);
}

TEST_F(HttpsVerification, CertificateForAnotherNameIsRefused) {
    const auto server = ServerFor("elsewhere");
    CHttpClient client(TrustingOurAuthority());

    EXPECT_EQ(client.PostForm(server->Url("/app/pento/get_point.php"), "id=1"),
              RequestResult::Failed);
    EXPECT_EQ(client.replyTail(), "");
    EXPECT_EQ(client.Download(server->Url("/app/pento/model/model_5.mod")), RequestResult::Failed);
    EXPECT_TRUE(server->Requests().empty());
}

TEST_F(HttpsVerification, CertificateFromAnUnknownAuthorityIsRefused) {
    const auto server = ServerFor("loopback");
    CHttpClient client(test::ShortTimeouts());

    EXPECT_EQ(client.PostForm(server->Url("/app/pento/get_point.php"), "id=1"),
              RequestResult::Failed);
    EXPECT_TRUE(server->Requests().empty());
}

} // namespace
} // namespace rowstone
