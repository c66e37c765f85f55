#pragma once

#include "SqliteDatabase.h"
#include "Storage.h"

#include <mutex>
#include <string>

namespace rowstone::service {

// Storage in one SQLite database file in WAL mode, with a versioned schema.
// One connection serves every thread of the service, one operation at a
// time; writes run in immediate transactions, so another process (the
// shell's "user add") waits rather than interleaves.
class SqliteStorage : public Storage {
public:
    static constexpr int kSchemaVersion = 1;

    // Opens or creates the database at path; false with a reason otherwise.
    bool Open(const std::string& path, std::string& error);

    ServiceRules Rules() override;
    CreateAccountResult CreateAccount(const std::string& name, const std::string& passwordHash,
                                      int64_t startingPoints, int64_t& id) override;
    std::optional<Account> FindAccount(const std::string& name) override;
    std::optional<Account> FindAccount(int64_t id) override;
    bool StartSession(int64_t userId, const std::string& sessionKey) override;
    bool SessionMatches(int64_t userId, const std::string& sessionKey) override;
    std::optional<int64_t> AccountOfSession(const std::string& sessionKey) override;
    std::optional<int64_t> Balance(int64_t userId) override;
    PaymentResult PayForGame(int64_t userId, int64_t price, int64_t& gameId) override;
    ReportResult ReportChallenge(int64_t userId, int64_t gameId, int state, const RewardRule& rule,
                                 std::optional<int64_t>& rewardYuan) override;
    bool StoreUpload(const BoardUpload& upload) override;
    WithdrawalResult RequestWithdrawal(int64_t userId, const std::string& account,
                                       int64_t& amountYuan) override;
    OrderResult PlaceOrder(int64_t userId, const std::string& email, int64_t total,
                           const OrderQuantities& quantities) override;
    bool StoreFeedback(int64_t userId, const std::string& text) override;
    bool AddPoints(int64_t userId, int64_t points, const std::string& reason) override;
    std::vector<RankingRow> Ranking(int limit) override;
    std::optional<PersonalCentre> PersonalCentreOf(int64_t userId) override;
    int64_t CountRecords(const std::string& kind) override;

private:
    bool Migrate(std::string& error);
    std::optional<Account> FindAccountWhere(const char* condition, SqliteStatement& bind);
    std::optional<int64_t> BalanceLocked(int64_t userId);
    bool AddLedgerRow(int64_t userId, int64_t delta, const std::string& reason);
    int64_t Setting(const char* key, int64_t fallback);

    std::mutex mutex_;
    SqliteDatabase db_;
};

} // namespace rowstone::service
