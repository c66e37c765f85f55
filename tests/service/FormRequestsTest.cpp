#include "ServiceTestSupport.h"

#include <atomic>
#include <thread>
#include <vector>

namespace rowstone::service::test {
namespace {

using Requests = ServiceFixture;

std::string Session(int64_t id, const std::string& key) {
    return "id=" + std::to_string(id) + "&ses=" + key;
}

TEST_F(Requests, LoginAnswersTheFourValuesInOrder) {
    const int64_t id = AddAccount("ann", "secret1", 120);
    const ServiceReply reply = requests_.Login(Fields("name=ann&psw=secret1"));
    const std::string prefix = "1&id=" + std::to_string(id) + "&name=ann&point=120&ses=";
    ASSERT_EQ(reply.body.rfind(prefix, 0), 0u) << reply.body;
    const std::string key = reply.body.substr(prefix.size());
    EXPECT_EQ(key.size(), 32u);
    EXPECT_EQ(key.find_first_of("&=+"), std::string::npos);

    EXPECT_EQ(requests_.Login(Fields("name=bob&psw=secret1")).body, "0&r=non");
    EXPECT_EQ(requests_.Login(Fields("name=ann&psw=wrong")).body, "0&r=psw");
    EXPECT_EQ(requests_.Login(Fields("name=ann")).body, "0&r=arg");
}

TEST_F(Requests, ASecondLoginRetiresTheFirstSession) {
    const int64_t id = AddAccount("ann", "secret1", 100);
    const std::string first = Login("ann", "secret1");
    EXPECT_EQ(requests_.PointQuery(Fields(Session(id, first))).body, "1&point=100");
    const std::string second = Login("ann", "secret1");
    EXPECT_NE(first, second);
    EXPECT_EQ(requests_.PointQuery(Fields(Session(id, first))).body, "0&r=ses");
    EXPECT_EQ(requests_.Payment(Fields(Session(id, first))).body, "0&r=ses");
    EXPECT_EQ(requests_.PointQuery(Fields(Session(id, second))).body, "1&point=100");
    EXPECT_EQ(requests_.PointQuery(Fields(Session(id, ""))).body, "0&r=ses");
}

TEST_F(Requests, PaymentTakesTwentyPointsAndOpensAChallenge) {
    const int64_t id = AddAccount("ann", "secret1", 45);
    const std::string key = Login("ann", "secret1");
    EXPECT_EQ(requests_.Payment(Fields(Session(id, key))).body, "1&gid=1");
    EXPECT_EQ(requests_.Payment(Fields(Session(id, key))).body, "1&gid=2");
    EXPECT_EQ(requests_.Payment(Fields(Session(id, key))).body, "0&r=jf");
    EXPECT_EQ(storage_.Balance(id), 5);
    EXPECT_EQ(storage_.CountRecords("challenges"), 2);
}

TEST_F(Requests, ConcurrentPaymentsNeverOverdraw) {
    const int64_t id = AddAccount("ann", "secret1", 210);
    const std::string key = Login("ann", "secret1");
    std::atomic<int> paid{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5; ++i) {
                if (requests_.Payment(Fields(Session(id, key))).body.rfind("1&gid=", 0) == 0) {
                    ++paid;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(paid.load(), 10);
    EXPECT_EQ(storage_.Balance(id), 10);
    EXPECT_EQ(storage_.CountRecords("challenges"), 10);
}

TEST_F(Requests, AChallengeIsReportedOnceAndOnlyByItsPlayer) {
    const int64_t ann = AddAccount("ann", "secret1", 100);
    const int64_t bob = AddAccount("bob", "secret2", 100);
    const std::string annKey = Login("ann", "secret1");
    const std::string bobKey = Login("bob", "secret2");
    ASSERT_EQ(requests_.Payment(Fields(Session(ann, annKey))).body, "1&gid=1");
    const std::string report = "uid=" + std::to_string(ann) + "&gid=1&state=1&ses=" + annKey;
    EXPECT_EQ(requests_.ChallengeReport(Fields(report)).body, "1&hb=1"); // a win earns 1 yuan
    EXPECT_EQ(requests_.ChallengeReport(Fields(report)).body, "0&r=dup");
    EXPECT_EQ(
        requests_
            .ChallengeReport(Fields("uid=" + std::to_string(bob) + "&gid=1&state=1&ses=" + bobKey))
            .body,
        "0&r=gid");

    ASSERT_EQ(requests_.Payment(Fields(Session(ann, annKey))).body, "1&gid=2");
    EXPECT_EQ(
        requests_
            .ChallengeReport(Fields("uid=" + std::to_string(ann) + "&gid=2&state=-3&ses=" + annKey))
            .body,
        "1");
    ASSERT_EQ(requests_.Payment(Fields(Session(ann, annKey))).body, "1&gid=3");
    for (const char* state : {"2", "-4", "x", ""}) {
        EXPECT_EQ(requests_
                      .ChallengeReport(Fields("uid=" + std::to_string(ann) +
                                              "&gid=3&state=" + state + "&ses=" + annKey))
                      .body,
                  "0&r=arg")
            << state;
    }
    EXPECT_EQ(
        requests_
            .ChallengeReport(Fields("uid=" + std::to_string(ann) + "&gid=3&state=0&ses=" + bobKey))
            .body,
        "0&r=ses");
}

TEST_F(Requests, WithdrawalsNeedAnEnvelopeAndWaitForTheOneBefore) {
    const int64_t id = AddAccount("ann", "secret1", 100);
    const std::string key = Login("ann", "secret1");
    const std::string withdraw = Session(id, key) + "&zfb=ann%40example.com";
    EXPECT_EQ(requests_.Withdrawal(Fields(withdraw)).body, "0&r=hb");
    ASSERT_EQ(requests_.Payment(Fields(Session(id, key))).body, "1&gid=1");
    ASSERT_EQ(
        requests_.ChallengeReport(Fields("uid=" + std::to_string(id) + "&gid=1&state=1&ses=" + key))
            .body,
        "1&hb=1");
    EXPECT_EQ(requests_.Withdrawal(Fields(withdraw)).body, "1&amount=1");
    EXPECT_EQ(requests_.Withdrawal(Fields(withdraw)).body, "0&r=tx");
    EXPECT_EQ(requests_.Withdrawal(Fields(Session(id, key) + "&zfb=")).body, "0&r=arg");
}

TEST_F(Requests, DataOrdersAddUpAndArePaidInPoints) {
    const int64_t id = AddAccount("ann", "secret1", 40);
    const std::string key = Login("ann", "secret1");
    auto order = [&](int total, int l3, int l15) {
        std::string body = Session(id, key) + "&ema=a%40b.c&pri=" + std::to_string(total);
        for (int row = 3; row <= 15; ++row) {
            body += "&l" + std::to_string(row) + "=" +
                    std::to_string(row == 3    ? l3
                                   : row == 15 ? l15
                                               : 0);
        }
        return requests_.DataPurchase(Fields(body)).body;
    };
    EXPECT_EQ(order(31, 1, 30), "1");
    EXPECT_EQ(storage_.Balance(id), 9);
    EXPECT_EQ(order(10, 5, 5), "0&r=jf");
    EXPECT_EQ(order(3, 1, 1), "0&r=arg"); // the total does not match the rows
    EXPECT_EQ(storage_.Balance(id), 9);
    EXPECT_EQ(storage_.CountRecords("orders"), 1);
    EXPECT_EQ(requests_.DataPurchase(Fields(Session(id, key) + "&ema=a%40b.c&pri=1&l3=1")).body,
              "0&r=arg");
}

TEST_F(Requests, FeedbackIsStoredAsWrittenWhateverItHolds) {
    AddAccount("ann", "secret1", 0);
    const std::string text = "'); DROP TABLE feedback; -- <script>alert(1)</script>";
    std::string encoded;
    for (unsigned char c : text) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%%%02X", c);
        encoded += buffer;
    }
    EXPECT_EQ(requests_.Feedback(Fields("id=1&probs=" + encoded)).body, "1");
    EXPECT_EQ(requests_.Feedback(Fields("id=0&probs=before+login")).body, "1");
    EXPECT_EQ(requests_.Feedback(Fields("id=1&probs=")).body, "0&r=arg");
    EXPECT_EQ(requests_.Feedback(Fields("id=abc&probs=x")).body, "0&r=arg");
    EXPECT_EQ(storage_.CountRecords("feedback"), 2);
}

TEST_F(Requests, AccountNamesFollowTheRules) {
    int64_t id = 0;
    std::string reason;
    const struct {
        const char* name;
        bool accepted;
    } cases[] = {{"ann", true},  {"王小明", true}, {"a b", true},
                 {"", false},    {"a&b", false},   {"a=b", false},
                 {"a+b", false}, {" ann", false},  {"0123456789012345678901234567890123", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(requests_.Register(c.name, "secret1", id, reason, 0), c.accepted) << c.name;
    }
    EXPECT_FALSE(requests_.Register("ann", "secret1", id, reason, 0)); // taken
    EXPECT_FALSE(requests_.Register("carl", "short", id, reason, 0));
}

struct UploadCase {
    const char* name;
    std::string fields;
    const char* reply;
    friend void PrintTo(const UploadCase& c, std::ostream* out) { *out << c.name; }
};

class Uploads : public ServiceFixture, public testing::WithParamInterface<UploadCase> {};

TEST_P(Uploads, AreCheckedBeforeTheyAreStored) {
    AddAccount("ann", "secret1", 100);
    const std::string key = Login("ann", "secret1");
    const ServiceReply reply = requests_.BoardUpload(Fields(GetParam().fields + "&ses=" + key));
    EXPECT_EQ(reply.body, GetParam().reply);
    EXPECT_EQ(storage_.CountRecords("uploads"), std::string(GetParam().reply) == "1" ? 1 : 0);
}

// A win of the player in five on the 15-wide five-in-a-row grid: row 7
// from column 3, the computer answering on row 9.
const std::string kWin = "ind=5&len=9&tpf=-1&w=15&data=108+138+109+139+110+140+111+141+112+";

INSTANTIATE_TEST_SUITE_P(
    Table, Uploads,
    testing::Values(
        UploadCase{"AWin", kWin, "1"},
        UploadCase{"CountBelowLen", "ind=5&len=10&tpf=-1&w=15&data=108+138+", "0&r=arg"},
        UploadCase{"CountAboveLen", "ind=5&len=1&tpf=-1&w=15&data=108+138+", "0&r=arg"},
        UploadCase{"CellOffTheGrid", "ind=5&len=2&tpf=-1&w=15&data=108+225+", "0&r=arg"},
        UploadCase{"CellTwice", "ind=5&len=2&tpf=-1&w=15&data=108+108+", "0&r=arg"},
        UploadCase{"NotANumber", "ind=5&len=2&tpf=-1&w=15&data=108+1x+", "0&r=arg"},
        UploadCase{"WrongWidth", "ind=5&len=1&tpf=-1&w=14&data=108+", "0&r=arg"},
        UploadCase{"GameTypeTooLong", "ind=16&len=1&tpf=-1&w=15&data=1+", "0&r=arg"},
        UploadCase{"GameTypeTooShort", "ind=2&len=1&tpf=-1&w=15&data=1+", "0&r=arg"},
        UploadCase{"NoFirstSide", "ind=5&len=1&tpf=0&w=15&data=1+", "0&r=arg"}),
    [](const testing::TestParamInfo<UploadCase>& info) { return std::string(info.param.name); });

TEST_F(Requests, UploadsRecordWhetherTheReplayIsAWin) {
    AddAccount("ann", "secret1", 100);
    const std::string key = Login("ann", "secret1");
    ASSERT_EQ(requests_.BoardUpload(Fields(kWin + "&ses=" + key)).body, "1");
    ASSERT_EQ(requests_.BoardUpload(Fields("ind=5&len=2&tpf=-1&w=15&data=1+2+&ses=" + key)).body,
              "1");
    EXPECT_EQ(requests_.BoardUpload(Fields("ind=5&len=2&tpf=-1&w=15&data=1+2+&ses=stale")).body,
              "0&r=ses");
    SqliteDatabase db;
    std::string error;
    ASSERT_TRUE(db.Open((folder_ / "rowstone.db").string(), error));
    SqliteStatement verified(db, "SELECT verified_win FROM uploads ORDER BY id");
    ASSERT_TRUE(verified.NextRow());
    EXPECT_EQ(verified.Integer(0), 1);
    ASSERT_TRUE(verified.NextRow());
    EXPECT_EQ(verified.Integer(0), 0);
}

} // namespace
} // namespace rowstone::service::test
