#pragma once

#include "PageData.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Everything the service keeps, behind one interface, so that the request
// handlers never see the database. Every operation that changes more than
// one record does so in one transaction: it happens whole or not at all.
namespace rowstone::service {

struct Account {
    int64_t id = 0;
    std::string name;
    std::string passwordHash;
};

enum class CreateAccountResult { Created, NameTaken, Failed };
enum class PaymentResult { Paid, NotEnoughPoints, Failed };
enum class ReportResult { Reported, UnknownChallenge, AlreadyReported, Failed };
enum class WithdrawalResult { Requested, NoEnvelope, AlreadyPending, Failed };
enum class OrderResult { Placed, NotEnoughPoints, Failed };

// Rows 3 to 15 of a data order.
inline constexpr int kFirstRowLength = 3;
inline constexpr int kLastRowLength = 15;
using OrderQuantities = std::array<int64_t, kLastRowLength - kFirstRowLength + 1>;

struct BoardUpload {
    int64_t userId = 0;
    int connectLength = 0;
    int width = 0;
    int firstSide = 0;
    std::vector<int> cells; // the move indices, y * width + x, in playing order
    bool verifiedWin = false;
};

// How a win is rewarded: every `everyWins`-th win of an account earns a red
// envelope of `yuan` yuan; 0 yuan turns rewards off.
struct RewardRule {
    int64_t yuan = 1;
    int64_t everyWins = 1;
};

struct ServiceRules {
    int64_t startingPoints = 100;
    int64_t gamePrice = 20;
    RewardRule reward;
};

class Storage {
public:
    virtual ~Storage() = default;

    virtual ServiceRules Rules() = 0;

    virtual CreateAccountResult CreateAccount(const std::string& name,
                                              const std::string& passwordHash,
                                              int64_t startingPoints, int64_t& id) = 0;
    virtual std::optional<Account> FindAccount(const std::string& name) = 0;
    virtual std::optional<Account> FindAccount(int64_t id) = 0;

    // The session key of the latest login; a new one replaces the old.
    virtual bool StartSession(int64_t userId, const std::string& sessionKey) = 0;
    virtual bool SessionMatches(int64_t userId, const std::string& sessionKey) = 0;
    // The account whose current session key this is.
    virtual std::optional<int64_t> AccountOfSession(const std::string& sessionKey) = 0;

    // The balance: the sum of the account's ledger rows; nullopt when the
    // account does not exist or storage failed.
    virtual std::optional<int64_t> Balance(int64_t userId) = 0;

    // Takes the price of one game and opens a challenge, together.
    virtual PaymentResult PayForGame(int64_t userId, int64_t price, int64_t& gameId) = 0;
    // Closes an open challenge of this account with its state; a win may earn
    // an envelope by the rule (rewardYuan set, else nullopt).
    virtual ReportResult ReportChallenge(int64_t userId, int64_t gameId, int state,
                                         const RewardRule& rule,
                                         std::optional<int64_t>& rewardYuan) = 0;
    virtual bool StoreUpload(const BoardUpload& upload) = 0;
    // Asks to pay out every unwithdrawn envelope to an Alipay account.
    virtual WithdrawalResult RequestWithdrawal(int64_t userId, const std::string& account,
                                               int64_t& amountYuan) = 0;
    // Takes `total` points for an order of data files, together.
    virtual OrderResult PlaceOrder(int64_t userId, const std::string& email, int64_t total,
                                   const OrderQuantities& quantities) = 0;
    virtual bool StoreFeedback(int64_t userId, const std::string& text) = 0;
    // The demo top-up of the recharge page.
    virtual bool AddPoints(int64_t userId, int64_t points, const std::string& reason) = 0;

    virtual std::vector<RankingRow> Ranking(int limit) = 0;
    virtual std::optional<PersonalCentre> PersonalCentreOf(int64_t userId) = 0;

    // For tests and the command line: counts of stored records by kind
    // ("uploads", "feedback", "orders", "withdrawals", "challenges").
    virtual int64_t CountRecords(const std::string& kind) = 0;
};

} // namespace rowstone::service
